#include "platform/win/dialogs/Dialog.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/dialogs/ComboBox.h"
#include "platform/win/dialogs/DataExchange.h"
#include "platform/win/dialogs/DialogHostQt.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    m_pHost.reset();
}

int CDialog::DoModal() {
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), m_nIDTemplate, RT_DIALOG);
    if (!pRes)
        return -1;
    // The keyboard goes back where it was when the dialog ends, as to a re-activated owner.
    CWnd* pFocus = CWnd::GetFocus();
    const HWND hWndFocus = pFocus ? pFocus->m_hWnd : nullptr;
    m_pHost = std::make_unique<CDialogHost>(this);
    int nResult = -1;
    if (m_pHost->Create(*static_cast<const AFX_DLGTEMPLATE*>(pRes->pData), m_pParentWnd)) {
        if (OnInitDialog())
            m_pHost->SetInitialFocus();
        nResult = m_pHost->Run();
    }
    m_pHost.reset();
    if (CWnd* pWnd = CWnd::FromHandle(hWndFocus))
        pWnd->SetFocus();
    return nResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_pHost)
        m_pHost->End(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::CenterWindow(CWnd* pAlternateOwner) {
    if (m_pHost)
        m_pHost->Center(pAlternateOwner);
}

BOOL CDialog::OnInitDialog() {
    FillFromDialogInit();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// The dialog init resource (same number as the dialog) is a list of messages for controls:
// control, message, data length, data; a 0 control ends it. 0x0403 is the add-string message
// of combo boxes as the resource compiler writes it.
void CDialog::FillFromDialogInit() {
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), m_nIDTemplate, RT_DLGINIT);
    if (!pRes)
        return;
    const auto* p = static_cast<const BYTE*>(pRes->pData);
    const BYTE* const pEnd = p + pRes->nSize;
    const auto word = [](const BYTE* q) { return WORD(q[0] | (q[1] << 8)); };
    while (p + 2 <= pEnd) {
        const WORD nIDC = word(p);
        if (nIDC == 0 || p + 8 > pEnd)
            break;
        const WORD nMsg = word(p + 2);
        const DWORD nLen = DWORD(word(p + 4)) | (DWORD(word(p + 6)) << 16);
        p += 8;
        if (nLen > DWORD(pEnd - p))
            break;
        // The text is not aligned in the resource; copy it before handing it on.
        std::u16string text(nLen / 2, u'\0');
        std::memcpy(text.data(), p, text.size() * sizeof(char16_t));
        text = text.c_str(); // up to its terminator
        p += nLen;
        CWnd* pCtrl = GetDlgItem(nIDC);
        if (pCtrl && nMsg == 0x0403)
            pCtrl->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void CDialog::AdoptControl(CWnd& rControl, HWND hWndCtrl) {
    if (m_pHost)
        m_pHost->Adopt(rControl, hWndCtrl);
}
