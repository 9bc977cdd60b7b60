#include "tests/res/ResourceLookup.h"

#include "platform/core/StdIds.h"
#include "res/resource.h"

#include <string>
#include <vector>

namespace {

TEST(Resources, EveryResourceTheProgramLoadsIsThereOnce) {
    const struct {
        UINT nType;
        UINT nID;
    } wanted[] = {
        {RT_STRING, 0},        {RT_MENU, 128},       {RT_MENU, 138},   {RT_RCDATA, 128},
        {RT_RCDATA, 138},      {RT_TOOLBAR, 128},    {RT_BITMAP, 128}, {RT_BITMAP, 130},
        {RT_ACCELERATOR, 128}, {RT_GROUP_ICON, 128}, {RT_DIALOG, 100}, {RT_DIALOG, 136},
        {RT_DLGINIT, 136},     {RT_VERSION, 1},
    };
    for (const auto& w : wanted) {
        const AFX_RESOURCE* res = FindProgramResource(w.nType, w.nID);
        ASSERT_NE(res, nullptr) << w.nType << "/" << w.nID;
        EXPECT_NE(res->pData, nullptr);
    }
    std::size_t nEnglish = 0;
    for (const AFX_RESOURCE& res : VestoryListResources()->resources)
        nEnglish += res.wLanguage == kEnglish;
    EXPECT_EQ(nEnglish, std::size(wanted));
}

// The quantity list: 20 entries for combo box 1001, each "add a string" with its UTF-16 text.
TEST(Resources, ItemDialogInitDecodesToQuantitiesOneToTwenty) {
    const AFX_RESOURCE* res = FindProgramResource(RT_DLGINIT, IDD_ITEM_DIALOG);
    ASSERT_NE(res, nullptr);
    ASSERT_EQ(res->nSize, 264u);
    const auto* p = static_cast<const BYTE*>(res->pData);
    const auto word = [&](std::size_t at) { return WORD(p[at] | (p[at + 1] << 8)); };

    std::vector<std::u16string> texts;
    std::size_t at = 0;
    while (word(at) != 0) {
        ASSERT_LE(at + 8, res->nSize);
        EXPECT_EQ(word(at), 1001);
        EXPECT_EQ(word(at + 2), 0x0403);
        const DWORD length = word(at + 4) | (DWORD(word(at + 6)) << 16);
        ASSERT_LE(at + 8 + length, res->nSize);
        ASSERT_EQ(length % 2, 0u);
        std::u16string text;
        for (DWORD i = 0; i < length; i += 2) {
            text += char16_t(word(at + 8 + i));
        }
        ASSERT_EQ(text.back(), u'\0') << "each text carries its terminator";
        text.pop_back();
        texts.push_back(text);
        at += 8 + length;
    }
    EXPECT_EQ(at + 2, res->nSize) << "the closing 0 word is the last thing";

    std::vector<std::u16string> expected;
    for (int n = 1; n <= 20; ++n) {
        std::string digits = std::to_string(n);
        expected.emplace_back(digits.begin(), digits.end());
    }
    EXPECT_EQ(texts, expected);
}

TEST(Resources, MenuBarDefinitionsAreTheShellsWords) {
    const struct {
        UINT nID;
        std::vector<WORD> words;
    } cases[] = {
        {128, {128, 2, 0xFFFE, 32771, 4, 0x18, 32773, 0, 0, 0xFFFE, 106, 4, 0x18, 103, 0, 1}},
        {138, {138, 1, 0xFFFE, 32776, 4, 0x18, 32778, 0, 0}},
    };
    for (const auto& c : cases) {
        const AFX_RESOURCE* res = FindProgramResource(RT_RCDATA, c.nID);
        ASSERT_NE(res, nullptr);
        ASSERT_EQ(res->nSize, c.words.size() * 2) << c.nID;
        const auto words = ResourceWords<WORD>(*res);
        EXPECT_EQ(std::vector<WORD>(words.begin(), words.end()), c.words) << c.nID;
    }
}

// The menu bar's button texts and the tip texts are loaded by number.
TEST(Resources, StringTableHoldsTheTextsLoadedByNumber) {
    const AFX_RESOURCE* res = FindProgramResource(RT_STRING, 0);
    ASSERT_NE(res, nullptr);
    const std::span<const AFX_STRING_ENTRY> table{static_cast<const AFX_STRING_ENTRY*>(res->pData),
                                                  res->nSize};
    const auto text = [&](UINT id) -> std::u16string {
        for (const AFX_STRING_ENTRY& e : table) {
            if (e.nID == id) {
                return e.lpszText;
            }
        }
        return u"<missing>";
    };
    const struct {
        UINT nID;
        std::u16string text;
    } cases[] = {
        {103, u"Tools"},
        {128, u"VestoryList\n\nVestoryList\nVestoryList Files (*.vsl)\n.vsl\nVestoryList.Document\n"
              u"VestoryList Document"},
        {32773, u"List"},
        {32778, u"POPUP_MENU"},
        {65000, u"New"},
        {65001, u"File"},
        {65002, u"Help"},
        {65003, u"Save"},
        {65004, u"Cut"},
        {65005, u"Copy"},
        {65006, u"Paste"},
        {65007, u"About"},
        {57345, u"Ready"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(c.nID), c.text) << c.nID;
    }
    for (UINT id :
         {57604u, 57632u, 57633u, 57634u, 57635u, 57636u, 57637u, 57640u, 57641u, 57642u,
          57643u, 57644u, 57653u, 57664u, 57665u, 57680u, 57681u, 59137u, 61190u, 61203u}) {
        EXPECT_NE(text(id), u"<missing>") << id;
    }
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(table[i - 1].nID, table[i].nID) << "numbers ascend and do not repeat";
    }
}

} // namespace
