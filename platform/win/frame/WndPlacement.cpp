// CWnd's place on the desktop: where the window manager shows a top-level window, kept across
// starts by the application and given back to the window manager at the next start.
#include "platform/win/frame/Wnd.h"
#include "platform/win/frame/WndQt.h"

#include <QEvent>
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

namespace {

// The screen that shows most of the place, else the one nearest to it (a second monitor that
// was there when the place was kept may be gone).
QScreen* ScreenFor(long long x, long long y, long long cx, long long cy) {
    QScreen* pBest = QGuiApplication::primaryScreen();
    long long bestOverlap = -1;
    long long bestDistance = 0;
    for (QScreen* pScreen : QGuiApplication::screens()) {
        const QRect a = pScreen->availableGeometry();
        const long long left = a.x(), top = a.y(), right = left + a.width(),
                        bottom = top + a.height();
        const long long overlap = std::max(0LL, std::min(right, x + cx) - std::max(left, x)) *
                                  std::max(0LL, std::min(bottom, y + cy) - std::max(top, y));
        const long long distance = std::max({0LL, left - (x + cx), x - right}) +
                                   std::max({0LL, top - (y + cy), y - bottom});
        if (overlap > bestOverlap ||
            (overlap == 0 && bestOverlap == 0 && distance < bestDistance)) {
            pBest = pScreen;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return pBest;
}

// The rectangle on the screen, as near to where it was as its size allows.
QPoint CornerWithin(const QRect& area, long long x, long long y, long long cx, long long cy) {
    return QPoint(int(std::clamp<long long>(x, area.x(), area.x() + area.width() - cx)),
                  int(std::clamp<long long>(y, area.y(), area.y() + area.height() - cy)));
}

// Until the window manager has put its frame around the window, the frame's size is not known:
// once it is, the window is fitted again, so that the frame too lies wholly on the screen.
class FrameFitter : public QObject {
public:
    FrameFitter(QWidget* pWidget, const QRect& area, const QPoint& corner)
        : QObject(pWidget), m_pWidget(pWidget), m_area(area), m_corner(corner) {
        pWidget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override {
        const QEvent::Type type = pEvent->type();
        if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show)
            return false;
        const QSize margins = m_pWidget->frameGeometry().size() - m_pWidget->size();
        // A frame may be a title bar alone (no width of its own): only none at all is no frame.
        if ((margins.width() <= 0 && margins.height() <= 0) || !m_pWidget->isVisible())
            return false; // no frame yet
        if (!m_pWidget->isMaximized() && !m_pWidget->isFullScreen()) {
            const QSize fitted = m_pWidget->size().boundedTo(m_area.size() - margins);
            if (fitted != m_pWidget->size())
                m_pWidget->resize(fitted);
            const QSize frame = fitted + margins;
            m_pWidget->move(
                CornerWithin(m_area, m_corner.x(), m_corner.y(), frame.width(), frame.height()));
        }
        m_pWidget->removeEventFilter(this);
        deleteLater();
        return false;
    }

private:
    QWidget* m_pWidget;
    QRect m_area;    // the screen's
    QPoint m_corner; // where the frame was put
};

} // namespace

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget || !lpwndpl || !pWidget->isWindow())
        return FALSE;
    // Counted in 64 bits: a place read from a file edited by hand may hold any numbers.
    const RECT& r = lpwndpl->rcNormalPosition;
    const long long x = r.left, y = r.top;
    const long long cx = std::max(1LL, (long long)r.right - r.left);
    const long long cy = std::max(1LL, (long long)r.bottom - r.top);
    // Wholly on one screen, and no larger than it.
    QScreen* pScreen = ScreenFor(x, y, cx, cy);
    if (!pScreen)
        return FALSE;
    const QRect area = pScreen->availableGeometry();
    const int width = int(std::min<long long>(cx, area.width()));
    const int height = int(std::min<long long>(cy, area.height()));
    const QPoint corner = CornerWithin(area, x, y, width, height);
    pWidget->resize(width, height);
    if (!pWidget->isVisible())
        new FrameFitter(pWidget, area, corner);
    if (QWindow* pWindow = pWidget->windowHandle())
        pWindow->setFramePosition(corner);
    else
        pWidget->move(corner); // taken as the frame's corner until the window exists
    if (lpwndpl->showCmd == SW_SHOWMAXIMIZED)
        pWidget->setWindowState(pWidget->windowState() | Qt::WindowMaximized);
    return TRUE;
}
