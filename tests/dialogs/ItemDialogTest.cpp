// The item dialog on its own: what it shows when it opens and how each way of closing it ends.
#include "ui/ItemDialog.h"
#include "platform/core/Resource.h"
#include "platform/win/dialogs/ComboBox.h"
#include "res/Resources.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/CaseName.h"
#include "tests/support/Modal.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace dialogs_test;

namespace {

class ItemDialogTest : public ::testing::Test {
protected:
    void SetUp() override { AfxSetResourceHandle(VestoryListResources()); }
};

struct QtyCase {
    const char* name;
    LPCTSTR qty;
    LRESULT selected; // the list entry, or CB_ERR when the text stands in the field alone
};

class QuantityOpens : public ItemDialogTest, public ::testing::WithParamInterface<QtyCase> {};

TEST_P(QuantityOpens, SelectsTheEqualEntryOrShowsTheTextInTheField) {
    CItemDialog dlg;
    dlg.m_strQty = GetParam().qty;
    LRESULT selected = 0;
    CString field;
    ArmModal([&](ModalHandle& dialog) {
        selected = SendToControl(dialog, IDC_QTY, CB_GETCURSEL);
        field = WindowText(dialog, IDC_QTY);
        dialog.PressEscape();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(selected, GetParam().selected);
    EXPECT_EQ(field, GetParam().qty);
}

INSTANTIATE_TEST_SUITE_P(Quantities, QuantityOpens,
                         ::testing::Values(QtyCase{"One", u"1", 0}, QtyCase{"Seven", u"7", 6},
                                           QtyCase{"Twenty", u"20", 19},
                                           QtyCase{"Above", u"25", CB_ERR},
                                           QtyCase{"Word", u"two", CB_ERR},
                                           QtyCase{"Empty", u"", CB_ERR}),
                         CaseName());

TEST_F(ItemDialogTest, QuantityListHoldsOneToTwentyInOrder) {
    CItemDialog dlg;
    std::vector<std::string> entries;
    ArmModal([&](ModalHandle& dialog) {
        const auto count = int(SendToControl(dialog, IDC_QTY, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            char16_t buffer[8] = {};
            SendToControl(dialog, IDC_QTY, CB_GETLBTEXT, WPARAM(i),
                          reinterpret_cast<LPARAM>(buffer));
            entries.push_back(CString(buffer).ToUtf8());
        }
        dialog.PressEscape();
    });
    dlg.DoModal();
    std::vector<std::string> expected;
    for (int i = 1; i <= 20; ++i)
        expected.push_back(std::to_string(i));
    EXPECT_EQ(entries, expected);
}

TEST_F(ItemDialogTest, OpensWithTitleTextsAndTheFocusInTheNameField) {
    CItemDialog dlg;
    dlg.m_strItemName = u"Shirt";
    dlg.m_strSize = u"M";
    dlg.m_strNote = u"Collar\r\nstain";
    bool bNameFocused = false;
    CString title, name, size, note;
    ArmModal([&](ModalHandle& dialog) {
        bNameFocused = HasFocus(dialog, IDC_ITEM_NAME);
        title = dialog.Text();
        name = WindowText(dialog, IDC_ITEM_NAME);
        size = WindowText(dialog, IDC_SIZE);
        note = WindowText(dialog, IDC_NOTE);
        dialog.PressEscape();
    });
    dlg.DoModal();
    EXPECT_TRUE(bNameFocused);
    EXPECT_EQ(title, u"Dialog");
    EXPECT_EQ(name, u"Shirt");
    EXPECT_EQ(size, u"M");
    EXPECT_EQ(note, u"Collar\r\nstain");
}

// Every way of closing: only the OK step reads the texts back.
struct CloseCase {
    const char* name;
    std::function<void(ModalHandle&)> close;
    int result;
};

class ItemDialogCloses : public ItemDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ItemDialogCloses, ReadsTheTextsBackOnlyOnOk) {
    CItemDialog dlg;
    dlg.m_strItemName = u"Shirt";
    dlg.m_strQty = u"1";
    ArmModal([&](ModalHandle& dialog) {
        dialog.TypeText(IDC_ITEM_NAME, u"Coat");
        dialog.TypeText(IDC_SIZE, u"XL");
        dialog.TypeText(IDC_QTY, u"3");
        GetParam().close(dialog);
    });
    EXPECT_EQ(dlg.DoModal(), GetParam().result);
    const bool bOk = GetParam().result == IDOK;
    EXPECT_EQ(dlg.m_strItemName, bOk ? u"Coat" : u"Shirt");
    EXPECT_EQ(dlg.m_strSize, bOk ? u"XL" : u"");
    EXPECT_EQ(dlg.m_strQty, bOk ? u"3" : u"1");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ItemDialogCloses,
    ::testing::Values(
        CloseCase{"EnterInName", [](ModalHandle& d) { PressKey(d, IDC_ITEM_NAME, Qt::Key_Return); },
                  IDOK},
        CloseCase{"EnterInSize", [](ModalHandle& d) { PressKey(d, IDC_SIZE, Qt::Key_Enter); },
                  IDOK},
        CloseCase{"EnterInQty", [](ModalHandle& d) { PressKey(d, IDC_QTY, Qt::Key_Return); }, IDOK},
        CloseCase{"CaptionOk", [](ModalHandle& d) { TapCaptionButton(d, "vl_caption_ok"); }, IDOK},
        CloseCase{"Escape", [](ModalHandle& d) { PressKey(d, IDC_SIZE, Qt::Key_Escape); },
                  IDCANCEL},
        CloseCase{"EscapeInNote", [](ModalHandle& d) { PressKey(d, IDC_NOTE, Qt::Key_Escape); },
                  IDCANCEL},
        CloseCase{"CancelButton", [](ModalHandle& d) { d.PressButton(IDCANCEL); }, IDCANCEL},
        CloseCase{"CloseBox", [](ModalHandle& d) { TapCaptionButton(d, "vl_caption_close"); },
                  IDCANCEL},
        CloseCase{"WindowClosed", [](ModalHandle& d) { d.Widget()->close(); }, IDCANCEL}),
    CaseName());

TEST_F(ItemDialogTest, EnterInTheNoteBreaksTheLineAndTheBreakIsCrLf) {
    CItemDialog dlg;
    ArmModal([&](ModalHandle& dialog) {
        TypeKeys(dialog, IDC_NOTE, QStringLiteral("Red wine"));
        PressKey(dialog, IDC_NOTE, Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("on the cuff"));
        PressKey(dialog, IDC_ITEM_NAME, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strNote, u"Red wine\r\non the cuff");
}

TEST_F(ItemDialogTest, TypedQuantityStopsAtTheFieldsWidthButNamesScroll) {
    CItemDialog dlg;
    dlg.m_strQty = u"";
    const QString digits = QStringLiteral("12345678901234567890");
    const QString name = QStringLiteral("Grey double-breasted winter coat with a fur collar");
    ArmModal([&](ModalHandle& dialog) {
        TypeKeys(dialog, IDC_QTY, digits);
        TypeKeys(dialog, IDC_ITEM_NAME, name);
        PressKey(dialog, IDC_ITEM_NAME, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GT(dlg.m_strQty.GetLength(), 0);
    EXPECT_LT(dlg.m_strQty.GetLength(), digits.size());
    EXPECT_TRUE(digits.startsWith(QString::fromStdString(dlg.m_strQty.ToUtf8())));
    EXPECT_EQ(dlg.m_strItemName.ToUtf8(), name.toStdString());
}

} // namespace
