// The device screen: the handheld's frame fills its screen, so device coordinates are measured
// from the main window's client top-left corner.
#include "platform/win/frame/Wnd.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/shell/WinApp.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

POINT g_lastMessagePos{0, 0};

class CMessagePosTracker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override {
        const QEvent::Type type = pEvent->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
            type == QEvent::MouseButtonDblClick) {
            const auto* pMouse = static_cast<QMouseEvent*>(pEvent);
            g_lastMessagePos = AfxGlobalToDevice(pMouse->globalPosition().toPoint());
        }
        return QObject::eventFilter(pObject, pEvent);
    }
};

} // namespace

QWidget* AfxGetDeviceWidget() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? AfxGetWidget(pApp->m_pMainWnd) : nullptr;
}

bool AfxWindowManagerDrawsCaptions() {
    // A Wayland compositor frames every window it shows: it draws the title bar itself, which
    // leaves no frame margins for Qt to report, or has Qt draw it for the window.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    QWidget* pMain = AfxGetDeviceWidget();
    QWindow* pWindow = pMain && pMain->isVisible() ? pMain->windowHandle() : nullptr;
    return pWindow && pWindow->frameMargins().top() > 0;
}

QPoint AfxDeviceToGlobal(POINT ptDevice) {
    const QPoint pt(ptDevice.x, ptDevice.y);
    QWidget* pScreen = AfxGetDeviceWidget();
    return pScreen ? pScreen->mapToGlobal(pt) : pt;
}

POINT AfxGlobalToDevice(QPoint ptGlobal) {
    QWidget* pScreen = AfxGetDeviceWidget();
    const QPoint pt = pScreen ? pScreen->mapFromGlobal(ptGlobal) : ptGlobal;
    return POINT{pt.x(), pt.y()};
}

void AfxInstallMessagePosTracker() {
    static QPointer<QObject> pTracker;
    if (pTracker || !qApp)
        return;
    pTracker = new CMessagePosTracker(qApp); // lives as long as the application
    qApp->installEventFilter(pTracker);
}

void AfxSetMessagePos(POINT ptDevice) {
    g_lastMessagePos = ptDevice;
}

DWORD GetMessagePos() {
    return MAKELONG(WORD(g_lastMessagePos.x), WORD(g_lastMessagePos.y));
}
