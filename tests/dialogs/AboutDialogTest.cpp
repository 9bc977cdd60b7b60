// The About box: its help text, how it opens, and that it leaves the list alone.
#include "app/AboutDialog.h"
#include "platform/core/StdIds.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/WndQt.h"
#include "tests/app/AppFixture.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/CommandBarReadback.h"
#include "tests/support/ListFile.h"
#include "tests/support/ListReadback.h"
#include "tests/support/Modal.h"
#include "ui/VestoryListView.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace dialogs_test;

namespace {

// The help text's fourteen pieces, as the program's users have always read them.
const char16_t* const kHelpPieces[] = {
    u"VestoryList is a tool for tracking what vestory you ",
    u"have at the cleaners.\r\n\r\n",
    u"Header Fields: \r\n",
    u"[AC] = At Cleaners; check for yes, blank for no.\r\n",
    u"[Item Name] = Item Name.\r\n",
    u"[Qty] = Quantity.\r\n",
    u"[Date] = Drop Date; this is set/unset when you select the [At Cleaners] checkbox.\r\n\r\n",
    u"Add items to the list by tapping the [List->New Item] menu.\r\n\r\n",
    u"Edit an item by selecting the item name and then selecting [Edit] from the dropdown "
    u"menu.\r\n\r\n",
    u"Sort the items by tapping on the [AC], [Item Name], or [Qty] column headers.\r\n\r\n",
    u"You can adjust the width of the columns by selecting the line separators and moving them "
    u"accordingly.\r\n\r\n",
    u"Information on this and other handheld programs ",
    u"is in the README in " VESTORYLIST_DOCDIR ".\r\n\r\n",
    u"No warranty on this software is made or implied. Use it at your own risk.",
};

DWORD Selection(const ModalHandle& dialog) {
    return DWORD(SendToControl(dialog, IDC_HELP_TEXT, EM_GETSEL));
}

class AboutBox : public AppFixture {
protected:
    void About() { Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); }
};

TEST_F(AboutBox, ShowsTheWholeHelpTextFromItsStartUnselected) {
    ASSERT_TRUE(Start({}));
    CString text, title;
    DWORD selection = 0xFFFF;
    int scroll = -1;
    bool bFocused = false;
    ArmModal([&](ModalHandle& dialog) {
        title = dialog.Text();
        text = WindowText(dialog, IDC_HELP_TEXT);
        selection = Selection(dialog);
        bFocused = HasFocus(dialog, IDC_HELP_TEXT);
        auto* pEdit =
            qobject_cast<QPlainTextEdit*>(AfxGetWidget(DialogControl(dialog, IDC_HELP_TEXT)));
        scroll = pEdit ? pEdit->verticalScrollBar()->value() : -1;
        dialog.PressButton(IDOK);
    });
    About();
    ASSERT_TRUE(ModalRan());

    CString expected;
    for (const char16_t* piece : kHelpPieces)
        expected += piece;
    EXPECT_EQ(text, expected);
    EXPECT_EQ(title, u"About VestoryList");
    EXPECT_TRUE(bFocused);
    EXPECT_EQ(selection, 0u); // caret at 0, nothing selected
    EXPECT_EQ(scroll, 0);
}

TEST_F(AboutBox, RefocusingTheHelpBringsTheStartBack) {
    ASSERT_TRUE(Start({}));
    DWORD selection = 0xFFFF;
    int scroll = -1;
    ArmModal([&](ModalHandle& dialog) {
        auto* pEdit =
            qobject_cast<QPlainTextEdit*>(AfxGetWidget(DialogControl(dialog, IDC_HELP_TEXT)));
        ASSERT_NE(pEdit, nullptr);
        QTest::keyClick(pEdit, Qt::Key_End, Qt::ControlModifier);
        pEdit->verticalScrollBar()->setValue(pEdit->verticalScrollBar()->maximum());
        pEdit->clearFocus();
        pEdit->setFocus(Qt::TabFocusReason);
        selection = Selection(dialog);
        scroll = pEdit->verticalScrollBar()->value();
        dialog.PressButton(IDOK);
    });
    About();
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(selection, 0u);
    EXPECT_EQ(scroll, 0);
}

TEST_F(AboutBox, HelpIsReadOnlyAndTheListAndFileStayAsTheyWere) {
    ASSERT_TRUE(Start(
        {{1, u"Coat", u"1", u"L", u"", 3, 14, 2026}, {0, u"Shirt", u"2", u"", u"", 0, 0, 0}}));
    const std::string before = FileBytes(m_root.ListFile());
    CString text, after;
    ArmModal([&](ModalHandle& dialog) {
        text = WindowText(dialog, IDC_HELP_TEXT);
        TypeKeys(dialog, IDC_HELP_TEXT, QStringLiteral("typed"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        after = WindowText(dialog, IDC_HELP_TEXT);
        dialog.PressButton(IDOK);
    });
    About();
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(after, text);
    EXPECT_EQ(FileBytes(m_root.ListFile()), before);
    ASSERT_EQ(ListItemCount(View()), 2);
    EXPECT_EQ(ListItemText(View(), 0, 1), u"Coat");
    EXPECT_EQ(ListItemText(View(), 1, 1), u"Shirt");
}

TEST_F(AboutBox, AboutButtonIsEnabledByTheApplicationsHandler) {
    ASSERT_TRUE(Start({}));
    bool bFound = false;
    for (const BarButton& button : CommandBarButtons(CommandBar())) {
        if (button.toolTip == u"About") {
            bFound = true;
            EXPECT_TRUE(button.enabled);
        }
    }
    EXPECT_TRUE(bFound);
}

} // namespace
