#include "platform/win/frame/ListView.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/listctrl/ListCtrlAccessibleQt.h"
#include "platform/win/listctrl/ListCtrlModel.h"
#include "platform/win/listctrl/ListCtrlWidgetQt.h"

#include <QObject>

namespace {

// The list control's window procedure: the model answers its messages, the widget shows it.
// The host belongs to the widget, so model and widget always go together.
class CListCtrlHost : public QObject, public CWndClassProc {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        return m_model.WindowProc(message, wParam, lParam);
    }
    CListCtrlModel m_model;
};

QWidget* CreateListCtrl(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParent,
                        CWndClassProc** ppProc) {
    // Qt tries the factories installed last first, and its own come with the application.
    static const bool bDescribed =
        (QAccessible::installFactory(&CListCtrlAccessible::Factory), true);
    (void)bDescribed;
    auto* pHost = new CListCtrlHost;
    pHost->m_model.SetStyle(DWORD(cs.style));
    auto* pWidget = new CListCtrlWidget(pHost->m_model, pParent);
    pHost->setParent(pWidget); // after the widget's own children, so the model outlives them

    // Notifications go to the parent window as WM_NOTIFY; it reflects them back to the
    // control's own map. The window is looked up each time: it may be gone already.
    pHost->m_model.SetNotifySink([pWnd, pWidget](NMHDR* pNMHDR) -> LRESULT {
        CWnd* pSelf = AfxWndFromWidget(pWidget);
        if (pSelf != pWnd)
            return 0;
        pNMHDR->hwndFrom = pSelf->m_hWnd;
        pNMHDR->idFrom = UINT_PTR(pSelf->GetDlgCtrlID());
        CWnd* pParentWnd = pSelf->GetParent();
        return pParentWnd ? pParentWnd->SendMessage(WM_NOTIFY, pNMHDR->idFrom,
                                                    reinterpret_cast<LPARAM>(pNMHDR))
                          : 0;
    });
    *ppProc = pHost;
    return pWidget;
}

const bool g_bListCtrlRegistered = (AfxRegisterWndClass(WC_LISTVIEW, &CreateListCtrl), true);

} // namespace

IMPLEMENT_DYNCREATE(CListView, CView)

CListView::CListView() : m_strClass(WC_LISTVIEW), m_dwDefaultStyle(AFX_WS_DEFAULT_VIEW) {}

CListView::~CListView() = default;

void CListView::OnDraw(CDC* /*pDC*/) {}

BOOL CListView::PreCreateWindow(CREATESTRUCT& cs) {
    (void)g_bListCtrlRegistered;
    cs.lpszClass = m_strClass;
    cs.style |= LONG(m_dwDefaultStyle);
    return CView::PreCreateWindow(cs);
}
