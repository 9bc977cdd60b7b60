#include "platform/win/frame/View.h"

#include "platform/core/Document.h"
#include "platform/win/frame/CreateContext.h"
#include "platform/win/frame/FrameWnd.h"

#include <vector>

IMPLEMENT_DYNAMIC(CView, CWnd)

CView::CView() = default;

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const {
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (p->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(p);
    }
    return nullptr;
}

void CView::OnInitialUpdate() {
    UpdateWindow();
}

void CView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/) {
    UpdateWindow();
}

// The document's side of its views' updates lives with the views, which the core library
// does not know.
void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    for (CView* pView : std::vector<CView*>(m_viewList)) {
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CView::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_CREATE: {
        // The view joins its document before anything of the derived class runs.
        const auto* pCS = reinterpret_cast<const CREATESTRUCT*>(lParam);
        const auto* pContext = static_cast<const CCreateContext*>(pCS->lpCreateParams);
        if (pContext && pContext->m_pCurrentDoc) {
            m_pDocument = pContext->m_pCurrentDoc;
            m_pDocument->AddView(this);
        }
        break;
    }
    case WM_INITIALUPDATE:
        OnInitialUpdate();
        *pResult = 0;
        return TRUE;
    case WM_DESTROY:
        if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() == this)
            pFrame->SetActiveView(nullptr);
        break;
    default:
        break;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

// A view belongs to its window: it goes when the window goes.
void CView::PostNcDestroy() {
    delete this;
}
