// CFrameWnd: the top-level window that holds a command bar and the view of a document.
#pragma once

#include "platform/win/frame/Wnd.h"

struct CCreateContext;
class CDocument;
class CView;

// Frame styles of the framework's own.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
// Child window identifiers within a frame.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
// Default style of a view window.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame from resource nIDResource: its title (the template string's first
    // field), its icon and its accelerator table; WM_CREATE creates the view of pContext.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew);
    CDocument* GetActiveDocument();
    // Runs the initial update of the frame's views and shows the frame if asked.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Puts the command bar along the bottom edge and lets the view fill the rest.
    void RecalcLayout();
    // Whether a command is enabled: its update handler on the frame's route says so, or,
    // without one, it has a handler there.
    BOOL IsCommandEnabled(UINT nID);

    // Frame, active view, its document, frame again, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Writes a copy of the active document to a file the user picks.
    afx_msg void OnFileSave();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

    UINT m_nIDHelp = 0;

    DECLARE_MESSAGE_MAP()

private:
    CView* m_pViewActive = nullptr;
};
