#include "app/AboutDialog.h"

#include "platform/win/dialogs/DataExchange.h"

CAboutDialog::CAboutDialog() : CDialog(CAboutDialog::IDD, nullptr) {
    m_strHelpText = _T("");

    // In the user's language: the pieces are string resources.
    m_strHelpText.LoadString(IDS_HELP_FIRST);
    for (UINT nID = IDS_HELP_FIRST + 1; nID <= IDS_HELP_LAST; ++nID) {
        CString piece;
        piece.LoadString(nID);
        m_strHelpText += piece;
    }
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
