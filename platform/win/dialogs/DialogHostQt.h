// Internal to platform/win: CDialogHost, the Qt window of a dialog, made from its template.
#pragma once

#include "platform/core/Resource.h"
#include "platform/win/dialogs/Dialog.h"

#include <QPointer>

#include <memory>
#include <vector>

class QDialog;
class QEventLoop;

// The dialog's font ("System" 8 points is the handheld's dialog font at 96 dots per inch),
// and the base units that turn dialog units into pixels.
struct AFX_DLGMETRICS {
    int baseX;
    int baseY;
    int MapX(int x) const { return x * baseX / 4; }
    int MapY(int y) const { return y * baseY / 8; }
};

// One modal window: built from the template, run, torn down.
class CDialogHost {
public:
    explicit CDialogHost(CDialog* pDlg);
    ~CDialogHost();

    // Makes the window and its controls, hidden; FALSE when the template is missing.
    BOOL Create(const AFX_DLGTEMPLATE& tmpl, CWnd* pOwner);
    // Gives the focus to the first control with a tab stop, as the dialog manager does.
    void SetInitialFocus();
    // Shows the window and runs a nested loop until End; returns End's result.
    int Run();
    void End(int nResult);
    void Center(CWnd* pAlternateOwner);
    // A window object that stands for one of the controls from DDX_Control on.
    void Adopt(CWnd& rControl, HWND hWndCtrl);
    void Destroy();

private:
    CDialog* m_pDlg;
    QPointer<QDialog> m_pWidget;
    std::vector<std::unique_ptr<CWnd>> m_controls;
    std::vector<CWnd*> m_adopted;
    QEventLoop* m_pLoop = nullptr;
    int m_nResult = IDCANCEL;
};
