// CDataExchange and the DDX_ functions: texts and window objects moved by control identifier.
#pragma once

#include "platform/core/String.h"
#include "platform/win/frame/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control's window; null when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);

    BOOL m_bSaveAndValidate; // TRUE: controls to fields
    CWnd* m_pDlgWnd;
};

// Edit fields and combo boxes. Loading a combo box selects the list entry that equals the text,
// or else puts the text into its field; saving reads the field.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Makes rControl stand for the control's window from now on.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
