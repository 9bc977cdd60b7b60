#include "app/MainFrame.h"

#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/core/WideText.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/shell/WinApp.h"
#include "res/resource.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kWindowSection = u"Window";
// Larger than any desktop's coordinates, small enough that a corner plus a size still fits.
constexpr int kMaxPlace = 1 << 20;

} // namespace

CMainFrame::CMainFrame() : m_pszToolTips{} {}

// The command bar, which holds the tips' pointers, is destroyed with the window before this.
CMainFrame::~CMainFrame() {
    for (LPTSTR pszTip : m_pszToolTips)
        delete[] pszTip;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CFrameWnd::PreCreateWindow(cs) ? TRUE : FALSE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    // The menu bar shows exactly the buttons of its definition.
    m_wndCommandBar.m_bShowSharedNewButton = FALSE;

    // "Save" (65003) has no button.
    static const UINT kTipIds[7] = {IDS_TIP_NEW,  IDS_TIP_FILE,  IDS_TIP_HELP, IDS_TIP_CUT,
                                    IDS_TIP_COPY, IDS_TIP_PASTE, IDS_TIP_ABOUT};
    for (int i = 0; i < 7; ++i)
        m_pszToolTips[i] = LoadToolTipString(kTipIds[i]);

    if (!m_wndCommandBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                                AFX_IDW_TOOLBAR))
        return -1;
    if (!m_wndCommandBar.InsertMenuBar(IDR_MAINFRAME, 0xFFFF))
        return -1;
    if (!m_wndCommandBar.AddAdornments(0))
        return -1;
    if (!m_wndCommandBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    // "New" stays behind: the tips start at "File", for the List button.
    if (!m_wndCommandBar.SendMessage(TB_SETTOOLTIPS, 6,
                                     reinterpret_cast<LPARAM>(&m_pszToolTips[1])))
        return -1;
    m_wndCommandBar.SetBarStyle(m_wndCommandBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY |
                                CBRS_SIZE_FIXED);

    // Where the window was when the program last ended; the first start keeps the handheld's
    // screen size and lets the window manager place it.
    CWinApp* pApp = AfxGetApp();
    // A place edited by hand may hold any numbers; bounded, they add up, and the frame puts
    // them on a screen.
    const auto read = [pApp](LPCTSTR lpszEntry) {
        return std::clamp(int(pApp->GetProfileInt(kWindowSection, lpszEntry, 0)), -kMaxPlace,
                          kMaxPlace);
    };
    const int cx = read(u"Width");
    const int cy = read(u"Height");
    if (cx > 0 && cy > 0) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        wp.showCmd =
            pApp->GetProfileInt(kWindowSection, u"Maximized", 0) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        const int x = read(u"Left");
        const int y = read(u"Top");
        wp.rcNormalPosition = RECT{x, y, x + cx, y + cy};
        SetWindowPlacement(&wp);
    }
    return 0;
}

void CMainFrame::OnDestroy() {
    // A window that never showed (a start that failed) has no place of the user's.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!IsWindowVisible() || !GetWindowPlacement(&wp))
        return;
    CWinApp* pApp = AfxGetApp();
    const RECT& r = wp.rcNormalPosition;
    pApp->WriteProfileInt(kWindowSection, u"Left", int(r.left));
    pApp->WriteProfileInt(kWindowSection, u"Top", int(r.top));
    pApp->WriteProfileInt(kWindowSection, u"Width", int(r.right - r.left));
    pApp->WriteProfileInt(kWindowSection, u"Height", int(r.bottom - r.top));
    pApp->WriteProfileInt(kWindowSection, u"Maximized", wp.showCmd == SW_SHOWMAXIMIZED ? 1 : 0);
}

LPTSTR CMainFrame::LoadToolTipString(UINT nID) {
    TCHAR szBuffer[255] = {};
    LoadString(AfxGetInstanceHandle(), nID, szBuffer, 255);
    const std::size_t nLength = std::size_t(lstrlen(szBuffer));
    auto* pszText = new TCHAR[nLength + 1];
    lstrcpy(pszText, szBuffer);
    return pszText;
}
