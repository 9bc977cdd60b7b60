// CWnd's place on the desktop: where the window manager shows a top-level window, kept across
// starts by the application and given back to the window manager at the next start.
#include "platform/win/frame/Wnd.h"
#include "platform/win/frame/WndQt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget || !lpwndpl)
        return FALSE;
    // The frame lies around the window by the same offset whatever state the window is in.
    const QRect normal =
        pWidget->normalGeometry().isValid() ? pWidget->normalGeometry() : pWidget->geometry();
    const QPoint frameOffset = pWidget->geometry().topLeft() - pWidget->frameGeometry().topLeft();
    const QPoint corner = normal.topLeft() - frameOffset;
    lpwndpl->flags = 0;
    lpwndpl->showCmd = pWidget->isMaximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    lpwndpl->ptMinPosition = POINT{-1, -1};
    lpwndpl->ptMaxPosition = POINT{-1, -1};
    lpwndpl->rcNormalPosition =
        RECT{corner.x(), corner.y(), corner.x() + normal.width(), corner.y() + normal.height()};
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget || !lpwndpl || !pWidget->isWindow())
        return FALSE;
    const RECT& r = lpwndpl->rcNormalPosition;
    QRect place(QPoint(int(r.left), int(r.top)),
                QSize(std::max(1, int(r.right - r.left)), std::max(1, int(r.bottom - r.top))));
    // A screen that was there when the place was kept may be gone (a second monitor).
    QScreen* pScreen = QGuiApplication::screenAt(place.center());
    if (!pScreen) {
        for (QScreen* p : QGuiApplication::screens()) {
            if (p->availableGeometry().intersects(place))
                pScreen = p;
        }
    }
    const QRect area = (pScreen ? pScreen : QGuiApplication::primaryScreen())->availableGeometry();
    place.setSize(place.size().boundedTo(area.size()));
    pWidget->resize(place.size());
    if (pScreen) {
        if (QWindow* pWindow = pWidget->windowHandle())
            pWindow->setFramePosition(place.topLeft());
        else
            pWidget->move(place.topLeft()); // taken as the frame's corner until the window exists
    }
    if (lpwndpl->showCmd == SW_SHOWMAXIMIZED)
        pWidget->setWindowState(pWidget->windowState() | Qt::WindowMaximized);
    return TRUE;
}
