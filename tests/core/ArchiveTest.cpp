// The archive's byte layout is what lets a list from the handheld open here, so these tests
// pin bytes, not just round trips.
#include "platform/core/Archive.h"
#include "platform/core/Exception.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
std::string Hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += char(v);
    return out;
}

class ArchiveTest : public ::testing::Test {
protected:
    std::string Store(const std::function<void(CArchive&)>& body) {
        CFile file;
        EXPECT_TRUE(file.Open(Path(), CFile::modeCreate | CFile::modeWrite));
        {
            CArchive ar(&file, CArchive::store);
            body(ar);
        } // the destructor must write out what is still buffered
        file.Close();
        return FileBytes(m_root.Path() / "a.bin");
    }
    void Load(const std::string& bytes, const std::function<void(CArchive&)>& body) {
        WriteBytes(m_root.Path() / "a.bin", bytes);
        CFile file;
        ASSERT_TRUE(file.Open(Path(), CFile::modeRead));
        CArchive ar(&file, CArchive::load);
        body(ar);
    }
    CString Path() const { return CString::FromUtf8((m_root.Path() / "a.bin").string()); }

    DeviceRoot m_root;
};

std::u16string Letters(std::size_t n) {
    std::u16string s(n, u'a');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = char16_t(u'a' + i % 26);
    return s;
}
} // namespace

TEST_F(ArchiveTest, StringLengthEscapes) {
    struct Case {
        std::size_t length;
        std::string header;
    } cases[] = {
        {0, "FF FE FF 00"},
        {254, "FF FE FF FE"},
        {255, "FF FE FF FF FF 00"},
        {65533, "FF FE FF FF FD FF"},
        {65534, "FF FE FF FF FF FF FE FF 00 00"},
        {70000, "FF FE FF FF FF FF 70 11 01 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::u16string text = Letters(c.length);
        std::string bytes = Store([&](CArchive& ar) { ar << CString(text); });
        std::size_t headerSize = (c.header.size() + 1) / 3;
        ASSERT_EQ(bytes.size(), headerSize + 2 * c.length);
        EXPECT_EQ(Hex(bytes.substr(0, headerSize)), c.header);
        if (c.length > 0) {
            EXPECT_EQ(Hex(bytes.substr(headerSize, 2)), "61 00");
        }
        Load(bytes, [&](CArchive& ar) {
            CString back(u"old");
            ar >> back;
            EXPECT_TRUE(back.str() == text);
            EXPECT_TRUE(ar.IsAtEnd());
        });
    }
}

TEST_F(ArchiveTest, WideTextIsStoredAsLittleEndianCodeUnits) {
    // e-acute, a grinning face (a surrogate pair), CR LF, a Cyrillic letter.
    const std::u16string text = u"\u00E9\U0001F600\r\n\u0416";
    std::string bytes = Store([&](CArchive& ar) { ar << CString(text); });
    EXPECT_EQ(Hex(bytes), "FF FE FF 06 E9 00 3D D8 00 DE 0D 00 0A 00 16 04");
    Load(bytes, [&](CArchive& ar) {
        CString back;
        ar >> back;
        EXPECT_TRUE(back.str() == text);
    });
}

TEST_F(ArchiveTest, ReadsOtherLayoutsOfTheFramework) {
    std::string hi64 = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 2,
                              0,    0,    0,    0,    0,    0,    0,    'h',  0,    'i',  0});
    std::string long8bit = Bytes({0xFF, 0x2C, 0x01}) + std::string(300, 'z');
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"untagged Windows-1252", Bytes({5, 'A', 0x80, 0xE9, 0x81, 0x9F}),
         u"A\u20AC\u00E9\u0081\u0178"},
        {"untagged with a 16-bit length", long8bit, std::u16string(300, u'z')},
        {"untagged empty", Bytes({0}), u""},
        {"tagged with a 64-bit length", hi64, u"hi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.bytes, [&](CArchive& ar) {
            CString back;
            ar >> back;
            EXPECT_TRUE(back.str() == c.text);
            EXPECT_TRUE(ar.IsAtEnd());
        });
    }
}

TEST_F(ArchiveTest, DamagedStringsThrowWithTheirPositionAndAllocateNothing) {
    const std::string lead = Bytes({1, 0, 0, 0}); // an integer before the string
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"32-bit length past the end",
         lead + Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 0})},
        {"64-bit length past the end", lead + Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                     0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x40})},
        {"16 units promised, 2 present", lead + Bytes({0xFF, 0xFE, 0xFF, 16, 'a', 0, 'b', 0})},
        {"untagged length past the end", lead + Bytes({0xFF, 0xF0, 0xFF, 'a'})},
        {"odd byte of a code unit missing", lead + Bytes({0xFF, 0xFE, 0xFF, 1, 'a'})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.bytes, [&](CArchive& ar) {
            LONG n = 0;
            ar >> n;
            CString s;
            try {
                ar >> s;
                ADD_FAILURE() << "no exception";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.m_nPosition, 4u);
            }
        });
    }
}

TEST_F(ArchiveTest, EndOfDataInsideAnIntegerThrows) {
    Load(Bytes({1, 2, 3}), [](CArchive& ar) {
        LONG n = 0;
        EXPECT_THROW(ar >> n, CArchiveException);
    });
}

TEST_F(ArchiveTest, IntegersAndStringsStraddleTheBuffer) {
    // Every offset of the buffer edge within a few integers and strings, in both directions.
    for (int pad = 4080; pad < 4100; ++pad) {
        SCOPED_TRACE(pad);
        const std::string padding(std::size_t(pad), '\x5A');
        std::string bytes = Store([&](CArchive& ar) {
            ar.Write(padding.data(), UINT(padding.size()));
            ar << LONG(0x11223344) << CString(u"straddle") << LONG(-2) << CString(Letters(300));
        });
        ASSERT_EQ(bytes.size(), std::size_t(pad) + 4 + 20 + 4 + 606);
        EXPECT_EQ(Hex(bytes.substr(std::size_t(pad), 4)), "44 33 22 11");
        Load(bytes, [&](CArchive& ar) {
            std::string skipped(std::size_t(pad), '\0');
            ASSERT_EQ(ar.Read(skipped.data(), UINT(pad)), UINT(pad));
            LONG a = 0, b = 0;
            CString s1, s2;
            ar >> a >> s1 >> b >> s2;
            EXPECT_EQ(a, 0x11223344);
            EXPECT_TRUE(s1 == u"straddle");
            EXPECT_EQ(b, -2);
            EXPECT_TRUE(s2.str() == Letters(300));
            EXPECT_TRUE(ar.IsAtEnd());
            EXPECT_EQ(ar.GetPosition(), bytes.size());
        });
    }
}

// Texts read alike share one buffer, and a record changed later changes alone.
TEST_F(ArchiveTest, TextsReadAlikeStayApartWhenOneChanges) {
    const std::string bytes = Store([](CArchive& ar) {
        for (LPCTSTR text : {u"Collar stain", u"M", u"Collar stain", u"M", u""})
            ar << CString(text);
    });
    CString texts[5];
    Load(bytes, [&](CArchive& ar) {
        for (CString& text : texts)
            ar >> text;
    });
    texts[0] += u" (red)";
    texts[1] = u"L";
    texts[4] += u"x";
    const std::u16string expected[] = {u"Collar stain (red)", u"L", u"Collar stain", u"M", u"x"};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(texts[i].str() == expected[i]) << i << ": " << texts[i].ToUtf8();
}
