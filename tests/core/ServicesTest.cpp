#include "platform/core/Afx.h"
#include "platform/core/Document.h"
#include "platform/core/Resource.h"
#include "platform/core/Time.h"
#include "platform/core/WideText.h"
#include "tests/support/Collation.h"
#include "tests/support/PinnedClock.h"
#include "tests/support/ScopedLanguage.h"
#include "tests/support/ScopedVariable.h"

#include <climits>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

TEST(StringTest, FormatsTheProgramsPatterns) {
    struct Case {
        CString expected;
        CString actual;
    };
    auto fmt = [](LPCTSTR f, auto... args) {
        CString s;
        s.Format(f, args...);
        return s;
    };
    const Case cases[] = {
        {u"03/05/2002", fmt(u"%02d/%02d/%04d", 3, 5, 2002)},
        {u"12/31/0999", fmt(u"%02d/%02d/%04d", 12, 31, 999)},
        {u"-5|123456", fmt(u"%02d|%d", -5, 123456)},
        {u"-05", fmt(u"%03d", -5)},
        {u"7 items, 100%", fmt(u"%d items, 100%%", 7)},
        {u"kept as Vestory.vsl.damaged.", fmt(u"kept as %s.", u"Vestory.vsl.damaged")},
        {u"\u00E9\U0001F600!", fmt(u"%s!", u"\u00E9\U0001F600")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual.ToUtf8(), c.expected.ToUtf8());
}

// Copies share one buffer until one of them changes.
TEST(StringTest, ChangingACopyLeavesTheOriginal) {
    const std::function<void(CString&)> changes[] = {
        [](CString& s) { s += u" and tie"; },
        [](CString& s) { s = u"Coats"; }, // as long as the text it replaces
        [](CString& s) { s.Format(u"%s!", LPCTSTR(s)); },
        [](CString& s) { s.GetBufferSetLength(3)[0] = u'X'; },
        [](CString& s) { s.Empty(); },
        [](CString& s) { s = CString(u"Tie"); },
    };
    for (const auto& change : changes) {
        CString original(u"Shirt");
        CString copy = original;
        change(copy);
        EXPECT_TRUE(original == u"Shirt") << copy.ToUtf8();
        CString before = original;
        change(original);
        EXPECT_TRUE(before == u"Shirt") << original.ToUtf8();
    }
    // A string given its own text, or its own last character, from a buffer it alone holds.
    for (const char16_t* text : {u"a", u"Shirt"}) {
        CString own;
        own += text;
        own = LPCTSTR(own);
        EXPECT_TRUE(own == text);
        own = LPCTSTR(own) + own.GetLength() - 1;
        EXPECT_EQ(own.GetLength(), 1);
    }
}

TEST(StringTest, Utf8Conversions) {
    const CString text(u"a\u00E9\u4E2D\U0001F600\r\n");
    EXPECT_EQ(text.ToUtf8(), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\r\n");
    EXPECT_TRUE(CString::FromUtf8(text.ToUtf8()) == text);
    // Bytes that are not UTF-8 become U+FFFD, one per bad byte, never dropped silently.
    EXPECT_TRUE(CString::FromUtf8("a\xFF"
                                  "b\xC3") == u"a\uFFFDb\uFFFD");
    EXPECT_TRUE(CString::FromUtf8("\xC0\xAF") == u"\uFFFD\uFFFD");   // overlong '/'
    EXPECT_TRUE(CString::FromUtf8("\xED\xA0\x80").GetLength() == 3); // encoded surrogate
}

TEST(WideTextTest, CompareIgnoresCaseFirst) {
    setenv("LC_ALL", "C", 1);
    ResetCollationForTesting();
    struct Case {
        LPCTSTR a;
        LPCTSTR b;
        int sign;
    } cases[] = {
        {u"shirt", u"shirt", 0},
        {u"", u"", 0},
        {u"apple", u"Banana", -1},
        {u"Banana", u"apple", 1},
        {u"shirt", u"Shirt", -1},
        {u"Shirt", u"shirt", 1},
        {u"Shirt", u"shirts", -1},
        {u"", u"a", -1},
        {u"\u00C9clair", u"\u00E9clair", 1},
        {u"Zebra", u"\u00E9t\u00E9", 1},
        {u"\u017Dupan", u"\u017Eupan", 1},
        {u"\u0178", u"\u00FF", 1},
    };
    for (const Case& c : cases) {
        int r = lstrcmp(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign)
            << CString(c.a).ToUtf8() << " vs " << CString(c.b).ToUtf8();
    }
    unsetenv("LC_ALL");
    ResetCollationForTesting();
}

TEST(WideTextTest, ToIntegerFollowsTheCLibrary) {
    struct Case {
        LPCTSTR text;
        int value;
    } cases[] = {
        {u"10", 10},
        {u" 7", 7},
        {u"\t-3", -3},
        {u"+4", 4},
        {u"3 shirts", 3},
        {u"abc", 0},
        {u"", 0},
        {u"- 5", 0},
        {u"2147483647", INT_MAX},
        {u"99999999999", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"-99999999999", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(_wtoi(c.text), c.value) << CString(c.text).ToUtf8();
    TCHAR buf[8];
    EXPECT_EQ(lstrlen(lstrcpy(buf, u"Qty")), 3);
}

TEST(ResourceTest, LoadStringCopiesAndCuts) {
    static const AFX_STRING_ENTRY strings[] = {{57664, u"About"}, {100, u"VestoryList"}};
    static const AFX_RESOURCE_MODULE module{{{RT_STRING, 0, strings, 2}}};
    TCHAR buf[256];
    EXPECT_EQ(LoadString(&module, 100, buf, 256), 11);
    EXPECT_TRUE(CString(buf) == u"VestoryList");
    EXPECT_EQ(LoadString(&module, 100, buf, 6), 5);
    EXPECT_TRUE(CString(buf) == u"Vesto");
    EXPECT_EQ(LoadString(&module, 1, buf, 256), 0);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(AfxFindResource(&module, 0, RT_MENU), nullptr);
}

// The language comes from the environment as gettext reads it; what a language lacks, a
// string or a whole resource, is English.
TEST(ResourceTest, TheUsersLanguageWithEnglishForWhatItLacks) {
    constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
    constexpr LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT);
    static const AFX_STRING_ENTRY english[] = {{1, u"Yes"}, {2, u"No"}, {3, u"%d items"}};
    static const AFX_STRING_ENTRY german[] = {{1, u"Ja"}, {3, u"%d Einträge"}};
    static const char dialog[] = "English only";
    static const AFX_RESOURCE_MODULE module{{{RT_STRING, 0, english, 3},
                                             {RT_DIALOG, 7, dialog, 0},
                                             {RT_STRING, 0, german, 2, kGerman}}};
    const HINSTANCE hBefore = AfxGetResourceHandle();
    AfxSetResourceHandle(&module);
    const struct {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* language;
        LANGID expected;
    } cases[] = {
        {"", "", "", "", kEnglish},
        {"", "", "de_DE.UTF-8", "", kGerman},
        {"", "", "de_AT", "", kGerman}, // any German is the module's German
        {"", "de_CH.UTF-8", "fr_FR.UTF-8", "", kGerman},
        {"C.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", "", kEnglish},
        {"POSIX", "", "", "de", kEnglish}, // LANGUAGE is not read for C
        {"", "", "C", "de", kEnglish},
        {"", "", "en_GB.UTF-8", "de", kGerman},          // LANGUAGE before the locale
        {"", "", "de_DE.UTF-8", "es:fr:de_DE", kGerman}, // the first the module has
        {"", "", "de_DE.UTF-8", "en:de", kEnglish},
        {"", "", "de_DE.UTF-8", "es", kEnglish}, // none: the untranslated program
        {"", "", "fr_FR.UTF-8", "", kEnglish},
    };
    for (const auto& c : cases) {
        const ScopedVariable lcAll("LC_ALL", c.lcAll), lcMessages("LC_MESSAGES", c.lcMessages),
            lang("LANG", c.lang), language("LANGUAGE", c.language);
        EXPECT_EQ(SetThreadUILanguage(0), c.expected)
            << c.lcAll << "|" << c.lcMessages << "|" << c.lang << "|" << c.language;
    }
    {
        const ScopedLanguage inForce(kGerman);
        CString text;
        EXPECT_TRUE(text.LoadString(1));
        EXPECT_EQ(text, u"Ja");
        EXPECT_TRUE(text.LoadString(2));
        EXPECT_EQ(text, u"No");
        text.Format(3u, 12);
        EXPECT_EQ(text, u"12 Einträge");
        EXPECT_FALSE(text.LoadString(4));
        EXPECT_TRUE(text.IsEmpty());
        const AFX_RESOURCE* pDialog = AfxFindResource(&module, 7, RT_DIALOG);
        ASSERT_NE(pDialog, nullptr);
        EXPECT_EQ(pDialog->pData, dialog);
    }
    AfxSetResourceHandle(hBefore);
    SetThreadUILanguage(0);
}

TEST(TimeTest, NowCanBePinned) {
    std::tm now{};
    {
        const PinnedClock clock(2002, 12, 31);
        CTime::GetCurrentTime().GetLocalTm(&now);
    }
    EXPECT_EQ(now.tm_mday, 31);
    EXPECT_EQ(now.tm_mon, 11);
    EXPECT_EQ(now.tm_year, 102);
    EXPECT_GT(CTime::GetCurrentTime().GetTime(), std::time_t(1600000000));
}

TEST(MessageBoxTest, PresenterSeesTextAndFlags) {
    std::vector<std::pair<std::string, UINT>> shown;
    auto previous =
        AfxSetMessageBoxPresenter([&](const CString& text, const CString& caption, UINT nType) {
            shown.emplace_back(text.ToUtf8(), nType);
            EXPECT_TRUE(caption == AfxGetAppName());
            return IDYES;
        });
    EXPECT_EQ(AfxMessageBox(u"Delete?", MB_YESNO), IDYES);
    AfxSetMessageBoxPresenter(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, "Delete?");
    EXPECT_EQ(shown[0].second, MB_YESNO);
    // Unattended, a question is answered No.
    AfxSetMessageBoxPresenter(nullptr);
    EXPECT_EQ(AfxMessageBox(u"Delete?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(u"Note", MB_ICONINFORMATION), IDOK);
    AfxSetMessageBoxPresenter(previous);
}

namespace {
class CCountingDoc : public CDocument {
public:
    explicit CCountingDoc(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CCountingDoc() override { ++*m_pDeleted; }
    void DeleteContents() override { ++m_nCleared; }
    int m_nCleared = 0;
    int* m_pDeleted;
};
} // namespace

TEST(DocumentTest, ViewListAndLifecycle) {
    int deleted = 0;
    auto* doc = new CCountingDoc(&deleted);
    EXPECT_EQ(doc->GetFirstViewPosition(), nullptr);
    auto* v1 = reinterpret_cast<CView*>(std::uintptr_t(0x10));
    auto* v2 = reinterpret_cast<CView*>(std::uintptr_t(0x20));
    doc->AddView(v1);
    doc->AddView(v2);
    std::vector<CView*> seen;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;)
        seen.push_back(doc->GetNextView(pos));
    EXPECT_EQ(seen, (std::vector<CView*>{v1, v2}));
    doc->RemoveView(v1);
    POSITION pos = doc->GetFirstViewPosition();
    EXPECT_EQ(doc->GetNextView(pos), v2);
    EXPECT_EQ(pos, nullptr);

    doc->SetModifiedFlag();
    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->m_nCleared, 1);
    doc->OnCloseDocument(); // deletes itself
    EXPECT_EQ(deleted, 1);
}
