// The header sort: the order users have always had from the handheld's exchange scan.
#include "data/VestoryListDoc.h"
#include "platform/core/WideText.h"
#include "tests/support/Collation.h"
#include "tests/support/DeviceRoot.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
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
        tags.emplace_back(d.m_strSize.str());
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
        out.emplace_back(column == 1 ? d.m_strItemName.str() : d.m_strQty.str());
    return out;
}

// Pins LC_ALL, LC_COLLATE and LANG (null: unset) for one test, then puts them back.
class Locale {
public:
    explicit Locale(std::array<const char*, 3> values) {
        for (std::size_t i = 0; i < kVariables.size(); ++i) {
            const char* old = std::getenv(kVariables[i]);
            m_saved[i] = old ? std::optional<std::string>(old) : std::nullopt;
            Set(kVariables[i], values[i]);
        }
        ResetCollationForTesting();
    }
    ~Locale() {
        for (std::size_t i = 0; i < kVariables.size(); ++i)
            Set(kVariables[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
        ResetCollationForTesting();
    }

private:
    static constexpr std::array<const char*, 3> kVariables = {"LC_ALL", "LC_COLLATE", "LANG"};
    static void Set(const char* variable, const char* value) {
        if (value)
            setenv(variable, value, 1);
        else
            unsetenv(variable);
    }
    std::array<std::optional<std::string>, 3> m_saved;
};

TEST(SortByColumn, MatchesTheExchangeScanOnRandomLists) {
    Locale german({"de_DE.UTF-8", nullptr, nullptr});
    static const char16_t* const names[] = {
        u"shirt", u"Shirt",      u"SHIRT",       u"coat",       u"Coat",        u"",          u"a",
        u"A",     u"ab",         u"aB",          u"Ab",         u"b",           u"zz",        u"Zz",
        u"1 tie", u"\u00E9cole", u"e\u0301cole", u"\u00C9cole", u"sh\u00ADirt", u"\u00E4rmel"};
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

TEST(SortByColumn, NamesInTheUsersCollationLocale) {
    struct Case {
        std::array<const char*, 3> locale; // LC_ALL, LC_COLLATE, LANG
        std::vector<std::u16string> names;
        std::vector<std::u16string> sorted;
    };
    const Case cases[] = {
        // Accents and case count only after the letters; lower case first.
        {{"C", nullptr, nullptr},
         {u"zebra", u"\u00E9cole", u"\u00E4rmel-Jacke", u"Apron", u"apron", u"ecole", u"APRON"},
         {u"apron", u"Apron", u"APRON", u"\u00E4rmel-Jacke", u"ecole", u"\u00E9cole", u"zebra"}},
        {{nullptr, nullptr, "POSIX"},
         {u"\u017Dupan", u"zupa", u"\u017Eupan", u"Zupan", u"\u0178", u"\u00FF", u"y"},
         {u"y", u"\u00FF", u"\u0178", u"zupa", u"Zupan", u"\u017Eupan", u"\u017Dupan"}},
        // Greek capitals with tonos and Cyrillic beside their small letters.
        {{nullptr, nullptr, nullptr},
         {u"\u038F\u03C1\u03B1", u"\u03CE\u03C1\u03B1", u"\u0396\u03AE\u03C4\u03B1",
          u"\u03B1\u03BB\u03C6\u03B1", u"\u0416\u0443\u043A", u"\u0401\u043B\u043A\u0430",
          u"\u0435\u043B\u043A\u0430", u"\u0451\u043B\u043A\u0430"},
         {u"\u03B1\u03BB\u03C6\u03B1", u"\u0396\u03AE\u03C4\u03B1", u"\u03CE\u03C1\u03B1",
          u"\u038F\u03C1\u03B1", u"\u0435\u043B\u043A\u0430", u"\u0451\u043B\u043A\u0430",
          u"\u0401\u043B\u043A\u0430", u"\u0416\u0443\u043A"}},
        // German puts the umlaut with its vowel, Swedish after z; LC_ALL wins over LC_COLLATE,
        // which wins over LANG.
        {{nullptr, nullptr, "de_DE.UTF-8"},
         {u"zebra", u"\u00E4rmel", u"bluse"},
         {u"\u00E4rmel", u"bluse", u"zebra"}},
        {{nullptr, "sv_SE.UTF-8", "de_DE.UTF-8"},
         {u"zebra", u"\u00E4rmel", u"bluse"},
         {u"bluse", u"zebra", u"\u00E4rmel"}},
        {{"de_DE.UTF-8@euro", "sv_SE.UTF-8", "sv_SE.UTF-8"},
         {u"zebra", u"\u00E4rmel", u"bluse"},
         {u"\u00E4rmel", u"bluse", u"zebra"}},
        // Czech sorts \u017E as a letter of its own, after z.
        {{"cs_CZ.UTF-8", nullptr, nullptr},
         {u"\u017Eupan", u"zz", u"zupa"},
         {u"zupa", u"zz", u"\u017Eupan"}},
        // Names that collate as one keep their order: precomposed and combining accent,
        // a soft hyphen.
        {{"de_DE.UTF-8", nullptr, nullptr},
         {u"e\u0301cole", u"\u00E9cole", u"sh\u00ADirt", u"shirt", u"e\u0301cole"},
         {u"e\u0301cole", u"\u00E9cole", u"e\u0301cole", u"sh\u00ADirt", u"shirt"}},
    };
    for (const Case& c : cases) {
        Locale pinned(c.locale);
        std::vector<CData> items;
        for (const std::u16string& name : c.names)
            items.push_back(Garment(name.c_str(), u""));
        CVestoryListDoc doc;
        Fill(doc, items);
        doc.SortByColumn(1);
        EXPECT_EQ(Column(doc, 1), c.sorted) << CString(c.names.front().c_str()).ToUtf8();
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
