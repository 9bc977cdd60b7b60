// CView: a window inside a frame that shows a document.
#pragma once

#include "platform/win/frame/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Prepares the view for its document; the default repaints.
    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* pDC) = 0;
    // The document changed (CDocument::UpdateAllViews); the default repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);

    // Commands go to the view first, then to its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    CView();
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;
};
