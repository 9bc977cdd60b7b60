// The header sort: the order users have always had from the handheld's exchange scan.
#include "data/VestoryListDoc.h"
#include "platform/core/WideText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

// The handheld's scan as it was written: exchange the first pair out of order, start again.
void ExchangeScan(std::vector<CData>& items, int column) {
    if (column < 0 || column > 2)
        return;
    std::size_t i = 0;
    while (items.size() > 1 && i < items.size() - 1) {
        CData a = items[i];
        CData b = items[i + 1];
        bool outOfOrder = false;
        if (column == 0)
            outOfOrder = a.m_bAtCleaners < b.m_bAtCleaners;
        else if (column == 1)
            outOfOrder = lstrcmp(a.m_strItemName, b.m_strItemName) > 0;
        else
            outOfOrder = _wtoi(a.m_strQty) > _wtoi(b.m_strQty);
        if (outOfOrder) {
            items[i] = b;
            items[i + 1] = a;
            i = 0;
        } else {
            ++i;
        }
    }
}

CData Garment(LPCTSTR name, LPCTSTR qty, LONG atCleaners = 0) {
    CData d;
    d.m_strItemName = name;
    d.m_strQty = qty;
    d.m_bAtCleaners = atCleaners;
    return d;
}

// Each record carries its first position in its size field, so an order reads back as tags.
std::vector<std::u16string> Tags(const std::vector<CData>& items) {
    std::vector<std::u16string> tags;
    for (const CData& d : items)
        tags.push_back(d.m_strSize.str());
    return tags;
}

std::vector<CData> Items(const CVestoryListDoc& doc) {
    std::vector<CData> items;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        items.push_back(doc.GetItem(i));
    return items;
}

void Fill(CVestoryListDoc& doc, std::vector<CData> items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].m_strSize = CString(std::u16string(u"#") + char16_t(u'A' + i % 26) +
                                     std::u16string(1, char16_t(u'0' + i / 26)));
        doc.AddItem(items[i]);
    }
}

std::vector<std::u16string> Column(const CVestoryListDoc& doc, int column) {
    std::vector<std::u16string> out;
    for (const CData& d : Items(doc))
        out.push_back(column == 1 ? d.m_strItemName.str() : d.m_strQty.str());
    return out;
}

class DeviceRoot {
public:
    DeviceRoot() {
        char tmpl[] = "/tmp/vl-sort-XXXXXX";
        m_path = mkdtemp(tmpl);
        setenv("VESTORYLIST_ROOT", m_path.c_str(), 1);
        std::filesystem::create_directories(m_path + "/My Documents/Personal");
    }
    ~DeviceRoot() {
        unsetenv("VESTORYLIST_ROOT");
        std::filesystem::remove_all(m_path);
    }

private:
    std::string m_path;
};

TEST(SortByColumn, MatchesTheExchangeScanOnRandomLists) {
    static const char16_t* const names[] = {u"shirt", u"Shirt", u"SHIRT", u"coat", u"Coat",
                                            u"",      u"a",     u"A",     u"ab",   u"aB",
                                            u"Ab",    u"b",     u"zz",    u"Zz",   u"1 tie"};
    static const char16_t* const quantities[] = {u" 7",          u"3 shirts",     u"",
                                                 u"abc",         u"-2",           u"0",
                                                 u"1",           u"10",           u"9",
                                                 u"2",           u"+4",           u"\t5",
                                                 u"2147483647",  u"2147483648",   u"99999999999",
                                                 u"-2147483648", u"-99999999999", u"- 3"};
    std::mt19937 rng(20260101);
    for (int round = 0; round < 300; ++round) {
        std::vector<CData> items;
        // Mostly short lists, the size people keep; now and then one long enough to reach
        // the merging stages of a library sort.
        int n = int(round % 10 == 9 ? 50 + rng() % 30 : rng() % 40);
        for (int i = 0; i < n; ++i)
            items.push_back(Garment(names[rng() % std::size(names)],
                                    quantities[rng() % std::size(quantities)],
                                    LONG(rng() % 4 == 0 ? int(rng() % 5) - 2 : int(rng() % 2))));
        for (int column = -1; column <= 3; ++column) {
            CVestoryListDoc doc;
            Fill(doc, items);
            std::vector<CData> expected = Items(doc);
            ExchangeScan(expected, column);
            doc.SortByColumn(column);
            ASSERT_EQ(Tags(Items(doc)), Tags(expected))
                << "round " << round << " column " << column;
        }
    }
}

TEST(SortByColumn, UserVisibleOrders) {
    struct Case {
        const char* what;
        std::vector<CData> items;
        int column;
        std::vector<std::u16string> shown; // names after the sort
    };
    const Case cases[] = {
        {"quantities by number, not as text",
         {Garment(u"ten", u"10"), Garment(u"nine", u"9"), Garment(u"two", u"2")},
         2,
         {u"two", u"nine", u"ten"}},
        {"letters and empty count as 0, keep their order, before 1",
         {Garment(u"one", u"1"), Garment(u"word", u"some"), Garment(u"none", u""),
          Garment(u"zero", u"0")},
         2,
         {u"word", u"none", u"zero", u"one"}},
        {"a blank before the number, a word after it",
         {Garment(u"blank7", u" 7"), Garment(u"shirts3", u"3 shirts"), Garment(u"five", u"5")},
         2,
         {u"shirts3", u"five", u"blank7"}},
        {"ticked first, both groups keep their order",
         {Garment(u"a", u"", 0), Garment(u"b", u"", 1), Garment(u"c", u"", 0),
          Garment(u"d", u"", 1)},
         0,
         {u"b", u"d", u"a", u"c"}},
        {"names in a person's order",
         {Garment(u"shirt", u""), Garment(u"Coat", u""), Garment(u"apron", u"")},
         1,
         {u"apron", u"Coat", u"shirt"}},
        {"the Date header does not sort",
         {Garment(u"b", u"2", 0), Garment(u"a", u"1", 1)},
         3,
         {u"b", u"a"}},
    };
    for (const Case& c : cases) {
        CVestoryListDoc doc;
        Fill(doc, c.items);
        doc.SortByColumn(c.column);
        EXPECT_EQ(Column(doc, 1), c.shown) << c.what;
    }
}

TEST(SortByColumn, NameThenFlagGivesTickedFirstEachInNameOrder) {
    CVestoryListDoc doc;
    Fill(doc, {Garment(u"tie", u"", 0), Garment(u"shirt", u"", 1), Garment(u"coat", u"", 0),
               Garment(u"apron", u"", 1)});
    doc.SortByColumn(1);
    doc.SortByColumn(0);
    EXPECT_EQ(Column(doc, 1), (std::vector<std::u16string>{u"apron", u"shirt", u"coat", u"tie"}));
}

TEST(SortByColumn, IsNotSavedUntilTheNextChange) {
    DeviceRoot root;
    {
        CVestoryListDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        Fill(doc, {Garment(u"ten", u"10"), Garment(u"two", u"2")});
        doc.SaveList();
        doc.SortByColumn(2);
        ASSERT_EQ(Column(doc, 1), (std::vector<std::u16string>{u"two", u"ten"}));
    }
    {
        CVestoryListDoc restarted;
        ASSERT_TRUE(restarted.OnNewDocument());
        EXPECT_EQ(Column(restarted, 1), (std::vector<std::u16string>{u"ten", u"two"}));
        restarted.SortByColumn(2);
        restarted.ToggleAtCleaners(0);
        restarted.SaveList();
    }
    CVestoryListDoc again;
    ASSERT_TRUE(again.OnNewDocument());
    EXPECT_EQ(Column(again, 1), (std::vector<std::u16string>{u"two", u"ten"}));
}

} // namespace
