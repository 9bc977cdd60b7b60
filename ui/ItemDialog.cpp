#include "ui/ItemDialog.h"

#include "platform/win/dialogs/DataExchange.h"
#include "platform/win/dialogs/ShellApi.h"

CItemDialog::CItemDialog(CWnd* pParent) : CDialog(CItemDialog::IDD, pParent) {
    m_strQty = _T("");
    m_strItemName = _T("");
    m_strNote = _T("");
    m_strSize = _T("");
}

CItemDialog::~CItemDialog() = default;

void CItemDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_QTY, m_strQty);
    DDX_Text(pDX, IDC_ITEM_NAME, m_strItemName);
    DDX_Text(pDX, IDC_NOTE, m_strNote);
    DDX_Text(pDX, IDC_SIZE, m_strSize);
}

BEGIN_MESSAGE_MAP(CItemDialog, CDialog)
END_MESSAGE_MAP()

BOOL CItemDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    // Typing is what this form is for: bring up the input panel with it.
    SHSipPreference(m_hWnd, SIP_UP);
    return TRUE;
}
