// CMainFrame: the main window, with the command bar holding the menu bar and tool bar buttons.
#pragma once

#include "platform/win/frame/CommandBar.h"
#include "platform/win/frame/FrameWnd.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Keeps the window's place for the next start.
    afx_msg void OnDestroy();
    // A copy of string nID from the program's module; the caller owns it.
    static LPTSTR LoadToolTipString(UINT nID);

    CCeCommandBar m_wndCommandBar;
    // "New", then the six tips handed to the command bar, which keeps these pointers.
    LPTSTR m_pszToolTips[7];

    DECLARE_MESSAGE_MAP()
};
