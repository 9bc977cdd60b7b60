#include "app/AboutDialog.h"

#include "platform/win/dialogs/DataExchange.h"

CAboutDialog::CAboutDialog() : CDialog(CAboutDialog::IDD, nullptr) {
    m_strHelpText = _T("");

    m_strHelpText = _T("VestoryList is a tool for tracking what vestory you ");
    m_strHelpText += _T("have at the cleaners.\r\n\r\n");
    m_strHelpText += _T("Header Fields: \r\n");
    m_strHelpText += _T("[AC] = At Cleaners; check for yes, blank for no.\r\n");
    m_strHelpText += _T("[Item Name] = Item Name.\r\n");
    m_strHelpText += _T("[Qty] = Quantity.\r\n");
    m_strHelpText += _T("[Date] = Drop Date; this is set/unset when you select the [At Cleaners] "
                        "checkbox.\r\n\r\n");
    m_strHelpText += _T("Add items to the list by tapping the [List->New Item] menu.\r\n\r\n");
    m_strHelpText += _T("Edit an item by selecting the item name and then selecting [Edit] from "
                        "the dropdown menu.\r\n\r\n");
    m_strHelpText += _T("Sort the items by tapping on the [AC], [Item Name], or [Qty] column "
                        "headers.\r\n\r\n");
    m_strHelpText += _T("You can adjust the width of the columns by selecting the line separators "
                        "and moving them accordingly.\r\n\r\n");
    m_strHelpText += _T("Information on this and other handheld programs ");
    m_strHelpText += _T("is in the README in ") VESTORYLIST_DOCDIR _T(".\r\n\r\n");
    m_strHelpText +=
        _T("No warranty on this software is made or implied. Use it at your own risk.");
}

CAboutDialog::~CAboutDialog() = default;

void CAboutDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HELP_TEXT, m_editHelp);
    DDX_Text(pDX, IDC_HELP_TEXT, m_strHelpText);
}

BEGIN_MESSAGE_MAP(CAboutDialog, CDialog)
ON_CONTROL(EN_SETFOCUS, IDC_HELP_TEXT, OnSetFocusHelp)
END_MESSAGE_MAP()

BOOL CAboutDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow(nullptr);
    return TRUE;
}

// The dialog selects the whole text as it gives the field the focus; put the caret back at
// the start so the help opens unhighlighted at its first lines.
void CAboutDialog::OnSetFocusHelp() {
    m_editHelp.SendMessage(EM_SETSEL, 0, 0);
    m_editHelp.SendMessage(EM_SCROLLCARET, 0, 0);
}
