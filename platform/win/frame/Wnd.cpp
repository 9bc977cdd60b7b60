#include "platform/win/frame/Wnd.h"

#include "platform/core/Resource.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/shell/WinApp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

// The window manager's table of live windows. A handle is a number of its own, never the
// address of an object, so that a stale handle finds nothing instead of freed memory.
class CWndManager {
public:
    struct Record {
        CWnd* pWnd = nullptr;
        QPointer<QWidget> widget;
        CWndClassProc* pProc = nullptr;
        UINT nID = 0;
        DWORD style = 0;
        QMetaObject::Connection destroyed;
    };

    static std::unordered_map<HWND, Record>& Windows() {
        static std::unordered_map<HWND, Record> windows;
        return windows;
    }
    static Record* Find(HWND hWnd) {
        auto it = Windows().find(hWnd);
        return it == Windows().end() ? nullptr : &it->second;
    }
    static HWND Attach(CWnd* pWnd, QWidget* pWidget, UINT nID, DWORD style) {
        static std::uintptr_t nextHandle = 0x10000;
        HWND hWnd = reinterpret_cast<HWND>(nextHandle);
        nextHandle += 4;
        Record& rec = Windows()[hWnd];
        rec.pWnd = pWnd;
        rec.widget = pWidget;
        rec.nID = nID;
        rec.style = style;
        pWidget->setProperty(kHandleProperty, QVariant::fromValue(quintptr(hWnd)));
        // Qt may delete a widget by itself (a dialog's controls go with the dialog).
        rec.destroyed = QObject::connect(pWidget, &QObject::destroyed, [hWnd] { Detach(hWnd); });
        pWnd->m_hWnd = hWnd;
        pWnd->m_pfnSuper = nullptr;
        return hWnd;
    }
    static void Detach(HWND hWnd) {
        Record* rec = Find(hWnd);
        if (!rec)
            return;
        QObject::disconnect(rec->destroyed);
        if (rec->widget)
            rec->widget->setProperty(kHandleProperty, QVariant());
        if (rec->pWnd && rec->pWnd->m_hWnd == hWnd) {
            rec->pWnd->m_hWnd = nullptr;
            rec->pWnd->m_pfnSuper = nullptr;
        }
        Windows().erase(hWnd);
    }
    static HWND HandleOf(const QWidget* pWidget) {
        const QVariant v = pWidget->property(kHandleProperty);
        return v.isValid() ? reinterpret_cast<HWND>(v.value<quintptr>()) : nullptr;
    }
    // pWnd's window and every window inside it, parents before children.
    static std::vector<HWND> Tree(HWND hWnd) {
        std::vector<HWND> handles{hWnd};
        if (Record* rec = Find(hWnd); rec && rec->widget) {
            for (QWidget* child : rec->widget->findChildren<QWidget*>()) {
                if (HWND h = HandleOf(child))
                    handles.push_back(h);
            }
        }
        return handles;
    }
    static void PostNcDestroy(CWnd* pWnd) { pWnd->PostNcDestroy(); }

    static constexpr char kHandleProperty[] = "vl_hwnd";
};

namespace {

std::map<std::u16string, AfxWndClassFactory>& WindowClasses() {
    static std::map<std::u16string, AfxWndClassFactory> classes;
    return classes;
}

// The widget of a window without a class of its own: it tells the window about size changes
// and turns the window manager's close button into WM_CLOSE.
class CWndWidget : public QWidget {
public:
    explicit CWndWidget(QWidget* pParent) : QWidget(pParent) {}

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (HWND h = CWndManager::HandleOf(this))
            ::SendMessage(h, WM_SIZE, 0, LPARAM(MAKELONG(WORD(width()), WORD(height()))));
    }
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        if (HWND h = CWndManager::HandleOf(this))
            ::SendMessage(h, WM_CLOSE, 0, 0);
    }
};

} // namespace

void AfxRegisterWndClass(const std::u16string& className, AfxWndClassFactory factory) {
    WindowClasses()[className] = factory;
}

void AfxAttachWidget(CWnd* pWnd, QWidget* pWidget, UINT nID, DWORD dwStyle) {
    AfxInstallMessagePosTracker();
    CWndManager::Attach(pWnd, pWidget, nID, dwStyle);
}

QWidget* AfxGetWidget(HWND hWnd) {
    CWndManager::Record* rec = CWndManager::Find(hWnd);
    return rec ? rec->widget.data() : nullptr;
}

CWnd* AfxWndFromWidget(const QWidget* pWidget) {
    return pWidget ? CWnd::FromHandle(CWndManager::HandleOf(pWidget)) : nullptr;
}

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    return pWnd ? pWnd->WindowProc(message, wParam, lParam) : 0;
}

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd)
        DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    CWndManager::Record* rec = CWndManager::Find(hWnd);
    return rec ? rec->pWnd : nullptr;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd ? WindowProc(message, wParam, lParam) : 0;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd)
        return;
    const std::vector<HWND> tree = CWndManager::Tree(m_hWnd);
    for (auto it = tree.begin() + 1; it != tree.end(); ++it)
        ::SendMessage(*it, message, wParam, lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& /*cs*/) {
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, UINT nID,
                    void* lpParam) {
    CREATESTRUCT cs{};
    cs.lpCreateParams = lpParam;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hMenu = reinterpret_cast<HMENU>(std::uintptr_t(nID));
    cs.hwndParent = hWndParent;
    cs.cy = nHeight;
    cs.cx = nWidth;
    cs.y = y;
    cs.x = x;
    cs.style = LONG(dwStyle);
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    cs.dwExStyle = dwExStyle;
    // As in the framework, an object whose window never came to be is cleaned up as if it
    // had been destroyed.
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxInstallMessagePosTracker();

    QWidget* pParent = AfxGetWidget(cs.hwndParent);
    CWndClassProc* pProc = nullptr;
    QWidget* pWidget = nullptr;
    if (cs.lpszClass) {
        auto it = WindowClasses().find(cs.lpszClass);
        if (it != WindowClasses().end())
            pWidget = it->second(this, cs, pParent, &pProc);
    }
    if (!pWidget)
        pWidget = new CWndWidget(pParent);
    if (cs.lpszName)
        pWidget->setWindowTitle(AfxToQString(cs.lpszName));
    // A top-level window without a place of its own is placed by the window manager.
    if (cs.cx > 0 && cs.cy > 0 && !pParent && cs.x == CW_USEDEFAULT)
        pWidget->resize(cs.cx, cs.cy);
    else if (cs.cx > 0 && cs.cy > 0)
        pWidget->setGeometry(cs.x, cs.y, cs.cx, cs.cy);
    HWND hWnd = CWndManager::Attach(this, pWidget, UINT(reinterpret_cast<std::uintptr_t>(cs.hMenu)),
                                    DWORD(cs.style));
    CWndManager::Find(hWnd)->pProc = pProc;
    m_pfnSuper = pProc;

    if (WindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(); // may delete this
        return FALSE;
    }
    if (pParent)
        pWidget->setVisible((DWORD(cs.style) & WS_VISIBLE) != 0);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    const std::vector<HWND> tree = CWndManager::Tree(m_hWnd);
    for (HWND h : tree)
        ::SendMessage(h, WM_DESTROY, 0, 0);

    // Children are cleaned up before their parents.
    std::vector<CWnd*> wnds;
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        if (CWnd* pWnd = FromHandle(*it))
            wnds.push_back(pWnd);
    }
    QPointer<QWidget> pWidget = AfxGetWidget(m_hWnd);
    for (auto it = tree.rbegin(); it != tree.rend(); ++it)
        CWndManager::Detach(*it);
    if (pWidget) {
        pWidget->hide();
        // Later: the widget may be the one whose event brought us here.
        pWidget->deleteLater();
    }

    CWinApp* pApp = AfxGetApp();
    const bool bWasMainWnd = pApp && pApp->m_pMainWnd == this;
    if (bWasMainWnd)
        pApp->m_pMainWnd = nullptr;
    for (CWnd* pWnd : wnds)
        CWndManager::PostNcDestroy(pWnd); // frames and views delete themselves here
    if (bWasMainWnd)
        QCoreApplication::quit();
    return TRUE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::ShowWindow(int nCmdShow) {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget)
        return FALSE;
    const BOOL bWasVisible = pWidget->isVisible();
    if (nCmdShow == SW_HIDE)
        pWidget->hide();
    else if (nCmdShow == SW_SHOWMINIMIZED)
        pWidget->showMinimized();
    else
        pWidget->show();
    return bWasVisible;
}

void CWnd::UpdateWindow() {
    if (QWidget* pWidget = AfxGetWidget(m_hWnd); pWidget && pWidget->isVisible())
        pWidget->repaint();
}

BOOL CWnd::IsWindowVisible() const {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    return pWidget && pWidget->isVisible();
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight) {
    if (QWidget* pWidget = AfxGetWidget(m_hWnd))
        pWidget->setGeometry(x, y, nWidth, nHeight);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    *lpRect = RECT{0, 0, pWidget ? pWidget->width() : 0, pWidget ? pWidget->height() : 0};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    if (QWidget* pWidget = AfxGetWidget(m_hWnd)) {
        const QPoint local = pWidget->mapFromGlobal(AfxDeviceToGlobal(*lpPoint));
        *lpPoint = POINT{local.x(), local.y()};
    }
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    if (QWidget* pWidget = AfxGetWidget(m_hWnd))
        *lpPoint = AfxGlobalToDevice(pWidget->mapToGlobal(QPoint(lpPoint->x, lpPoint->y)));
}

CWnd* CWnd::GetParent() const {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    for (QWidget* p = pWidget ? pWidget->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (CWnd* pParent = AfxWndFromWidget(p))
            return pParent;
    }
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget)
        return nullptr;
    for (QWidget* child : pWidget->findChildren<QWidget*>()) {
        CWnd* pChild = AfxWndFromWidget(child);
        if (pChild && pChild->GetDlgCtrlID() == nID && pChild->GetParent() == this)
            return pChild;
    }
    return nullptr;
}

int CWnd::GetDlgCtrlID() const {
    CWndManager::Record* rec = CWndManager::Find(m_hWnd);
    return rec ? int(rec->nID) : 0;
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString));
}

void CWnd::GetWindowText(CString& rString) const {
    CWnd* pThis = const_cast<CWnd*>(this);
    const int nLength = int(pThis->SendMessage(WM_GETTEXTLENGTH));
    std::u16string text(std::size_t(nLength) + 1, u'\0');
    const int nCopied = int(
        pThis->SendMessage(WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::size_t(std::max(0, std::min(nCopied, nLength))));
    rString = CString(std::move(text));
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget)
        return FALSE;
    const BOOL bWasDisabled = !pWidget->isEnabled();
    pWidget->setEnabled(bEnable != FALSE);
    return bWasDisabled;
}

CWnd* CWnd::SetFocus() {
    CWnd* pOld = GetFocus();
    if (QWidget* pWidget = AfxGetWidget(m_hWnd)) {
        // As on the platform, the keyboard going to a window of an inactive top-level window
        // of the program activates that window.
        QWidget* pTop = pWidget->window();
        if (pTop->isVisible() && !pTop->isActiveWindow())
            pTop->activateWindow();
        pWidget->setFocus(Qt::OtherFocusReason);
    }
    return pOld;
}

CWnd* CWnd::GetFocus() {
    for (QWidget* p = QApplication::focusWidget(); p; p = p->parentWidget()) {
        if (CWnd* pWnd = AfxWndFromWidget(p))
            return pWnd;
    }
    return nullptr;
}

DWORD CWnd::GetStyle() const {
    CWndManager::Record* rec = CWndManager::Find(m_hWnd);
    return rec ? rec->style : 0;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return m_pfnSuper->WindowProc(message, wParam, lParam);
    CWndManager::Record* rec = CWndManager::Find(m_hWnd);
    if (!rec)
        return 0;
    if (rec->pProc)
        return rec->pProc->WindowProc(message, wParam, lParam);
    QWidget* pWidget = rec->widget.data();
    switch (message) {
    case WM_SETTEXT:
        if (pWidget)
            pWidget->setWindowTitle(AfxToQString(reinterpret_cast<LPCTSTR>(lParam)));
        return TRUE;
    case WM_GETTEXTLENGTH:
        return pWidget ? pWidget->windowTitle().size() : 0;
    case WM_GETTEXT: {
        if (!pWidget || wParam == 0)
            return 0;
        const QString title = pWidget->windowTitle();
        const qsizetype n = std::min<qsizetype>(title.size(), qsizetype(wParam) - 1);
        auto* pBuffer = reinterpret_cast<LPTSTR>(lParam);
        std::copy_n(reinterpret_cast<const char16_t*>(title.utf16()), n, pBuffer);
        pBuffer[n] = u'\0';
        return n;
    }
    default:
        return 0;
    }
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, pResult);

    UINT nCode = 0;
    if (message == WM_REFLECT_BASE + WM_NOTIFY)
        nCode = reinterpret_cast<NMHDR*>(lParam)->code;
    else if (message == WM_REFLECT_BASE + WM_COMMAND)
        nCode = HIWORD(wParam);
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
    if (nCode == 0) {
        // As in the framework, plain messages remember where their handler is (or that there
        // is none): a list rebuild sends tens of thousands of them through the same maps.
        struct CacheSlot {
            UINT message;
            const AFX_MSGMAP* pMap;
            const AFX_MSGMAP_ENTRY* pEntry;
        };
        static CacheSlot cache[256] = {};
        const AFX_MSGMAP* pMap = GetMessageMap();
        CacheSlot& slot = cache[(message ^ (reinterpret_cast<std::uintptr_t>(pMap) >> 4)) & 255];
        if (slot.pMap != pMap || slot.message != message)
            slot = {message, pMap, FindMessageEntry(pMap, message, 0, 0)};
        pEntry = slot.pEntry;
    } else {
        pEntry = FindMessageEntry(GetMessageMap(), message, nCode, 0);
    }
    if (!pEntry)
        return FALSE;
    LRESULT result = 0;
    pEntry->pfn(this, wParam, lParam, &result);
    *pResult = result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl == nullptr) {
        // Menus send 0 and accelerators 1: both are plain commands.
        nCode = CN_COMMAND;
    } else if (CWnd* pChild = FromHandle(hWndCtrl)) {
        LRESULT result = 0;
        if (pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &result))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (CWnd* pChild = FromHandle(pNMHDR->hwndFrom))
        return pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
}
