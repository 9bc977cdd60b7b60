#include "platform/win/dialogs/DataExchange.h"

#include "platform/win/WinUser.h"
#include "platform/win/dialogs/Dialog.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* pCtrl = m_pDlgWnd->GetDlgItem(nIDC);
    return pCtrl ? pCtrl->m_hWnd : nullptr;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    CWnd* pCtrl = CWnd::FromHandle(hWndCtrl);
    if (!pCtrl)
        return;
    if (pDX->m_bSaveAndValidate) {
        pCtrl->GetWindowText(value);
        return;
    }
    // Counted, so that a text holding a NUL reaches the control whole.
    if (!pCtrl->SendMessage(WM_SETTEXTCOUNTED, WPARAM(value.GetLength()),
                            reinterpret_cast<LPARAM>(value.str().data())))
        pCtrl->SetWindowText(value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    auto* pDlg = dynamic_cast<CDialog*>(pDX->m_pDlgWnd);
    if (hWndCtrl && pDlg)
        pDlg->AdoptControl(rControl, hWndCtrl);
}
