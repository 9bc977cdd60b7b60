#include "data/Data.h"
#include "platform/core/Exception.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"

#include <gtest/gtest.h>

namespace {
CData LoadRecord(const DeviceRoot& root, const std::string& bytes, CData into = CData()) {
    WriteBytes(root.Path() / "r.bin", bytes);
    CFile file;
    EXPECT_TRUE(file.Open(CString::FromUtf8((root.Path() / "r.bin").string()), CFile::modeRead));
    CArchive ar(&file, CArchive::load);
    into.Serialize(ar);
    EXPECT_TRUE(ar.IsAtEnd());
    return into;
}
} // namespace

TEST(DataTest, DefaultRecordIsThe34ByteForm) {
    CData d;
    const std::string expected("\0\0\0\0"
                               "\xFF\xFE\xFF\0"
                               "\xFF\xFE\xFF\x01\x31\0"
                               "\xFF\xFE\xFF\0"
                               "\xFF\xFE\xFF\0"
                               "\0\0\0\0\0\0\0\0\0\0\0\0",
                               34);
    EXPECT_EQ(ListBytes({d}), expected);
}

TEST(DataTest, DayIsStoredBeforeMonth) {
    CData d;
    d.m_bAtCleaners = 1;
    d.m_nDay = 5;
    d.m_nMonth = 3;
    d.m_nYear = 2002;
    std::string bytes = ListBytes({d});
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - 12), std::string("\x05\0\0\0\x03\0\0\0\xD2\x07\0\0", 12));
}

TEST(DataTest, LoadOverwritesEveryFieldAndKeepsAnyText) {
    DeviceRoot root;
    CData stored;
    stored.m_bAtCleaners = 7; // the record checks nothing
    stored.m_strItemName = u"Blouse \u00E9\u4E2D\U0001F455";
    stored.m_strQty = u"";
    stored.m_strSize = u"XL";
    stored.m_strNote = u"line one\r\nline two\r\n";
    stored.m_nMonth = 13;
    stored.m_nDay = 31;
    stored.m_nYear = -1;
    CData other;
    other.m_strItemName = u"Coat";
    other.m_strSize = u"40";
    other.m_strNote = u"x";
    other.m_nMonth = 2;
    CData loaded = LoadRecord(root, ListBytes({stored}), other);
    EXPECT_TRUE(SameRecord(loaded, stored));
}

TEST(DataTest, CopiesAreIndependent) {
    CData a;
    a.m_strItemName = u"Shirt";
    CData b(a);
    CData c;
    c = a;
    b.m_strItemName = u"Tie";
    c.m_nYear = 2001;
    EXPECT_TRUE(a.m_strItemName == u"Shirt");
    EXPECT_EQ(a.m_nYear, 0);
    EXPECT_TRUE(SameRecord(a, CData(a)));
}

TEST(DataTest, FrameworkCreatesRecordsFromTheClassList) {
    const CRuntimeClass* rc = CRuntimeClass::FromName("CData");
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->m_wSchema, 1u);
    CObject* obj = rc->CreateObject();
    ASSERT_NE(obj, nullptr);
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CData)));
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(static_cast<CData*>(obj)->m_strQty == u"1");
    delete obj;
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
}

// The program enters CData ahead of its application object as well as where CData is defined.
TEST(DataTest, ClassEnteredTwiceIsListedOnce) {
    const AFX_CLASSINIT again(RUNTIME_CLASS(CData));
    EXPECT_EQ(CRuntimeClass::FromName("CData"), RUNTIME_CLASS(CData));
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr); // the walk still ends
}
