// Garments as text on the clipboard: what Copy writes, Paste reads back whole, and what Paste
// accepts from other programs.
#include "data/GarmentText.h"

#include <gtest/gtest.h>

namespace {

CData Garment(LONG bAt, const char* name, const char* qty, const char* size, const char* note,
              LONG month, LONG day, LONG year) {
    CData d;
    d.m_bAtCleaners = bAt;
    d.m_strItemName = CString::FromUtf8(name);
    d.m_strQty = CString::FromUtf8(qty);
    d.m_strSize = CString::FromUtf8(size);
    d.m_strNote = CString::FromUtf8(note);
    d.m_nMonth = month;
    d.m_nDay = day;
    d.m_nYear = year;
    return d;
}

std::string Fields(const CData& d) {
    return garment_text::Write({d}, '|', "");
}

TEST(GarmentText, CopiedGarmentsPasteBackWithAllEightFields) {
    const std::vector<CData> items = {
        Garment(1, "Wool coat", "2", "L", "Brown buttons\r\nDry clean only", 12, 25, 2025),
        Garment(0, "Tab\there", "\"10\"", "", "", 0, 0, 0),
        Garment(0, "Säckchen, grün", "1", "M", "\"quoted\"", 3, 7, 2026),
    };
    const std::string text = garment_text::Write(items, '\t', "\n");
    EXPECT_EQ(text.substr(0, text.find('\n')), "AC\tItem Name\tQty\tSize\tNote\tMonth\tDay\tYear");
    std::vector<CData> pasted;
    std::string why;
    ASSERT_TRUE(garment_text::ReadPasted(text, &pasted, &why)) << why;
    ASSERT_EQ(pasted.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(Fields(pasted[i]), Fields(items[i]));

    // Columns a spreadsheet moved about are read by their names.
    pasted.clear();
    ASSERT_TRUE(garment_text::ReadPasted(
        "Year,Day,Month,Note,Size,Qty,\"Item Name\",AC\r\n2025,25,12,x,L,2,Wool coat,1\r\n",
        &pasted, &why))
        << why;
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(Fields(pasted[0]), Fields(Garment(1, "Wool coat", "2", "L", "x", 12, 25, 2025)));
}

TEST(GarmentText, PasteReadsTablesAndPlainLinesOrSaysWhyNot) {
    const struct {
        const char* text;
        std::vector<std::string> names; // empty: unreadable
        const char* why;
    } cases[] = {
        {"AC,Item Name,Qty,Size,Note,Month,Day,Year\r\n1,Coat,2,L,,12,25,2025\r\n", {"Coat"}, ""},
        {"\xEF\xBB\xBF"
         "AC\tItem Name\tQty\tSize\tNote\tMonth\tDay\tYear\n0\tTie\t1\t\t\t0\t0\t0\n\n",
         {"Tie"},
         ""},
        {"Shirt\r\n  Scarf  \n\n", {"Shirt", "Scarf"}, ""},
        {"AC,Item Name,Qty,Size,Note,Month,Day,Year\n1,Coat,2\n", {}, "line 2: 3 fields"},
        {"AC,Item Name,Qty,Size,Note,Month,Day,Year\nx,Coat,2,L,,1,1,2025\n",
         {},
         "AC is not a whole number"},
        {"AC,Item Name,Qty,Size,Note,Month,Day,Year\n", {}, "no garments"},
        {"a\tb\tc\n", {}, "columns"},
        {"Item Name\tAC\tQty\tSize\tNote\tMonth\tDay\tYear\nTie\t0\t1\t\t\t0\t0\t0\n", {"Tie"}, ""},
        {"Trousers, grey\nNote, Size\n", {"Trousers, grey", "Note, Size"}, ""},
        // A first line that names columns heads a table, never becomes a garment.
        {"AC,Item Name,Qty\n1,Coat,2\n",
         {},
         "line 1: the header line does not name the column Size"},
        {"Item Name,Qty,Qty\nCoat,2,2\n", {}, "names Qty twice"},
        {"Item Name\tQty\tPrice\nCoat\t1\t5\n", {}, "\"Price\" is not one of the columns"},
        {" \n\r\n", {}, "no text"},
        {"bell\x07", {}, "control characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<CData> pasted = {Garment(0, "kept", "1", "", "", 0, 0, 0)};
        std::string why;
        const bool bRead = garment_text::ReadPasted(c.text, &pasted, &why);
        EXPECT_EQ(bRead, !c.names.empty());
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
        std::vector<std::string> names;
        for (std::size_t i = 1; i < pasted.size(); ++i)
            names.push_back(pasted[i].m_strItemName.ToUtf8());
        EXPECT_EQ(names, c.names); // nothing added from unreadable text
    }
    std::vector<CData> plain;
    std::string why;
    ASSERT_TRUE(garment_text::ReadPasted("Shirt", &plain, &why));
    // A plain line is a new garment of quantity 1, not at the cleaners.
    EXPECT_EQ(Fields(plain[0]), Fields(Garment(0, "Shirt", "1", "", "", 0, 0, 0)));
}

} // namespace
