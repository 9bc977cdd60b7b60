// Adding and editing garments through the item dialog in the running program: what the rows
// show and what the list file holds afterwards.
#include "data/VestoryListDoc.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/dialogs/ComboBox.h"
#include "platform/win/frame/FrameWnd.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/Input.h"
#include "tests/support/ListFile.h"
#include "tests/support/ListReadback.h"
#include "tests/support/Modal.h"
#include "ui/ItemDialog.h"
#include "ui/VestoryListView.h"

#include <QApplication>
#include <QTest>

#include <functional>

using namespace dialogs_test;

namespace {

const Garment kShirt{0, u"Shirt", u"2", u"M", u"", 0, 0, 0};
const Garment kCoat{1, u"Coat", u"1", u"L", u"Wool", 3, 14, 2026};

class NewEditFlows : public AppFixture {
protected:
    void NewFromMenu() { Frame()->SendMessage(WM_COMMAND, ID_LIST_NEW_ITEM, 0); }
    CString Cell(int row, int col) { return ListItemText(View(), row, col); }
};

TEST_F(NewEditFlows, NewConfirmedAppendsAtTheEndWithQuantityOnePreselected) {
    ASSERT_TRUE(Start({kCoat, kShirt}));
    LRESULT preselected = CB_ERR;
    ArmModal([&](ModalHandle& dialog) {
        preselected = SendToControl(dialog, IDC_QTY, CB_GETCURSEL);
        dialog.TypeText(IDC_ITEM_NAME, u"Trousers");
        dialog.PressButton(IDOK);
    });
    NewFromMenu();
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(preselected, 0);

    ASSERT_EQ(ListItemCount(View()), 3);
    EXPECT_EQ(Cell(0, 1), u"Coat");
    EXPECT_EQ(Cell(2, 1), u"Trousers");
    EXPECT_EQ(Cell(2, 2), u"1");
    EXPECT_EQ(Cell(2, 3), u"");
    EXPECT_EQ(ListStateImage(View(), 2), 1);

    const std::vector<CData> saved = ReadListFile(m_root.ListFile());
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[2].m_strItemName, u"Trousers");
    EXPECT_EQ(saved[2].m_strQty, u"1");
    EXPECT_EQ(saved[2].m_strSize, u"");
    EXPECT_EQ(saved[2].m_strNote, u"");
    EXPECT_EQ(saved[2].m_bAtCleaners, 0);
    EXPECT_EQ(saved[2].m_nYear, 0);
}

TEST_F(NewEditFlows, NewCancelledRebuildsRowsAndRewritesTheSameRecords) {
    ASSERT_TRUE(Start({kCoat, kShirt}));
    const std::string original = FileBytes(m_root.ListFile());
    // Behind the program's back: a stale row and a list file that is gone (another writer's
    // version of it would be taken in, not written over).
    CString stale = u"stale";
    LVITEM item{};
    item.iSubItem = 1;
    item.pszText = const_cast<LPWSTR>(static_cast<LPCTSTR>(stale));
    View()->SendMessage(LVM_SETITEMTEXT, 0, reinterpret_cast<LPARAM>(&item));
    std::filesystem::remove(m_root.ListFile());

    ArmModal([](ModalHandle& dialog) {
        dialog.TypeText(IDC_ITEM_NAME, u"Never saved");
        dialog.PressEscape();
    });
    NewFromMenu();
    ASSERT_TRUE(ModalRan());

    ASSERT_EQ(ListItemCount(View()), 2);
    EXPECT_EQ(Cell(0, 1), u"Coat");
    EXPECT_EQ(FileBytes(m_root.ListFile()), original);
}

TEST_F(NewEditFlows, NewCancelledOnAnEmptyListLeavesAnEmptyFile) {
    ASSERT_TRUE(Start({}));
    std::filesystem::remove(m_root.ListFile());
    ArmModal([](ModalHandle& dialog) { dialog.PressButton(IDCANCEL); });
    NewFromMenu();
    ASSERT_TRUE(ModalRan());
    ASSERT_TRUE(std::filesystem::exists(m_root.ListFile()));
    EXPECT_EQ(std::filesystem::file_size(m_root.ListFile()), 0u);
    EXPECT_EQ(ListItemCount(View()), 0);
}

TEST_F(NewEditFlows, EditOpensWithTheRecordsTextsAndKeepsTickAndDate) {
    ASSERT_TRUE(Start({kShirt, kCoat}));
    CString name, qty, size, note;
    ArmModal([&](ModalHandle& dialog) {
        name = WindowText(dialog, IDC_ITEM_NAME);
        qty = WindowText(dialog, IDC_QTY);
        size = WindowText(dialog, IDC_SIZE);
        note = WindowText(dialog, IDC_NOTE);
        dialog.TypeText(IDC_ITEM_NAME, u"Winter coat");
        dialog.TypeText(IDC_QTY, u"25");
        dialog.PressButton(IDOK);
    });
    Document()->EditItem(1);
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(name, u"Coat");
    EXPECT_EQ(qty, u"1");
    EXPECT_EQ(size, u"L");
    EXPECT_EQ(note, u"Wool");

    EXPECT_EQ(Cell(1, 1), u"Winter coat");
    EXPECT_EQ(Cell(1, 2), u"25");
    EXPECT_EQ(Cell(1, 3), u"03/14/2026");
    EXPECT_EQ(ListStateImage(View(), 1), 2);
    const std::vector<CData> saved = ReadListFile(m_root.ListFile());
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1].m_strItemName, u"Winter coat");
    EXPECT_EQ(saved[1].m_strQty, u"25");
    EXPECT_EQ(saved[1].m_bAtCleaners, 1);
    EXPECT_EQ(saved[1].m_nMonth, 3);
    EXPECT_EQ(saved[1].m_nDay, 14);
    EXPECT_EQ(saved[1].m_nYear, 2026);
    EXPECT_EQ(saved[0].m_strItemName, u"Shirt");
}

TEST_F(NewEditFlows, EditCancelledLeavesTheFileUntouched) {
    ASSERT_TRUE(Start({kShirt, kCoat}));
    // A marker no save would write: the file must still hold it afterwards.
    WriteBytes(m_root.ListFile(), "untouched");
    ArmModal([](ModalHandle& dialog) {
        dialog.TypeText(IDC_ITEM_NAME, u"Changed");
        dialog.PressEscape();
    });
    Document()->EditItem(0);
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(FileBytes(m_root.ListFile()), "untouched");
    EXPECT_EQ(Cell(0, 1), u"Shirt");
    EXPECT_EQ(Document()->GetItem(0).m_strItemName, u"Shirt");
}

TEST_F(NewEditFlows, StaleIndexOpensNothingAndChangesNothing) {
    ASSERT_TRUE(Start({kShirt}));
    WriteBytes(m_root.ListFile(), "untouched");
    int opened = 0;
    ArmModal([&](ModalHandle& dialog) {
        ++opened;
        dialog.PressEscape();
    });
    Document()->EditItem(1);
    Document()->EditItem(-1);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(FileBytes(m_root.ListFile()), "untouched");
    EXPECT_EQ(ListItemCount(View()), 1);
    // The armed answer goes to a dialog of the test's own, not to a later test.
    CItemDialog probe;
    probe.DoModal();
    EXPECT_EQ(opened, 1);
}

TEST_F(NewEditFlows, NoteLinesSurviveSaveRestartAndEdit) {
    ASSERT_TRUE(Start({}));
    ArmModal([](ModalHandle& dialog) {
        dialog.TypeText(IDC_ITEM_NAME, u"Dress");
        TypeKeys(dialog, IDC_NOTE, QStringLiteral("Silk"));
        PressKey(dialog, IDC_NOTE, Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hand wash"));
        PressKey(dialog, IDC_ITEM_NAME, Qt::Key_Return);
    });
    NewFromMenu();
    ASSERT_TRUE(ModalRan());
    std::vector<CData> saved = ReadListFile(m_root.ListFile());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].m_strNote, u"Silk\r\nhand wash");

    // Restart on what was saved, then open the garment again and confirm it as it stands.
    ASSERT_TRUE(Restart());

    CString shown;
    ArmModal([&](ModalHandle& dialog) {
        shown = WindowText(dialog, IDC_NOTE);
        dialog.PressButton(IDOK);
    });
    Document()->EditItem(0);
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(shown, u"Silk\r\nhand wash");
    saved = ReadListFile(m_root.ListFile());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].m_strNote, u"Silk\r\nhand wash");
}

// Confirming the dialog gives back every text the user did not touch exactly as the record held
// it, whatever a field can show; a field the user did change is saved as typed, whole.
TEST_F(NewEditFlows, ConfirmingKeepsUntouchedTextsByteForByte) {
    using namespace std::string_literals;
    std::u16string longText(40000, u'w');
    for (std::size_t i = 0; i < longText.size(); i += 97)
        longText[i] = char16_t(u'a' + i % 26); // a cut anywhere shows
    const struct {
        const char* name;
        std::u16string texts[4]; // name, quantity, size, note
        std::function<void(ModalHandle&)> edit;
        std::function<void(CData&)> edited;
    } cases[] = {
        {"40,000-character name", {longText, u"2", u"M", u""}, {}, {}},
        {"40,000-character quantity", {u"Coat", longText, u"", u""}, {}, {}},
        {"lone CR and LF in the note", {u"Coat", u"1", u"", u"a\rb\nc\r\n\n\rd"}, {}, {}},
        {"NUL in every text", {u"Co\0at"s, u"1\0"s, u"\0L"s, u"Wool\0\r\nsilk"s}, {}, {}},
        {"size typed, the rest kept",
         {longText, u"2\0"s, u"M", u"x\ry"},
         [](ModalHandle& dialog) { dialog.TypeText(IDC_SIZE, u"XL"); },
         [](CData& d) { d.m_strSize = u"XL"; }},
        {"long name extended at its end",
         {longText, u"1", u"", u""},
         [](ModalHandle& dialog) {
             PressKey(dialog, IDC_ITEM_NAME, Qt::Key_End);
             QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("!"));
         },
         [](CData& d) { d.m_strItemName += u"!"; }},
    };
    ASSERT_TRUE(Start({}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CData record;
        record.m_strItemName = CString(c.texts[0]);
        record.m_strQty = CString(c.texts[1]);
        record.m_strSize = CString(c.texts[2]);
        record.m_strNote = CString(c.texts[3]);
        WriteBytes(m_root.ListFile(), ListBytes({record}));
        ASSERT_TRUE(Restart());
        ArmModal([&](ModalHandle& dialog) {
            if (c.edit)
                c.edit(dialog);
            dialog.PressButton(IDOK);
        });
        Document()->EditItem(0);
        ASSERT_TRUE(ModalRan());
        if (c.edited)
            c.edited(record);
        EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes({record}));
    }
}

} // namespace
