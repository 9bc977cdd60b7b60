// CDialog: a window built from a dialog template and run modally, with data exchange.
#pragma once

#include "platform/win/frame/Wnd.h"

#include <memory>

class CDataExchange;
class CDialogHost;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog from its template, runs it in a nested loop and returns what
    // EndDialog was given; -1 when the template cannot be found.
    virtual int DoModal();
    void EndDialog(int nResult);
    // Moves the texts between the controls and the fields: TRUE reads the controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Centres the dialog over its owner, or over the main window when it has none.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // Fills the combo boxes from the dialog init resource, then loads the controls. TRUE
    // gives the focus to the first control with a tab stop.
    virtual BOOL OnInitDialog();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // The one way to IDOK: reads the controls back, then ends the run.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    void FillFromDialogInit();
    // DDX_Control: rControl stands for a control of this dialog until the window goes.
    void AdoptControl(CWnd& rControl, HWND hWndCtrl);
    friend void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

    std::unique_ptr<CDialogHost> m_pHost;
};
