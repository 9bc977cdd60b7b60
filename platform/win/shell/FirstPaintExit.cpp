#include "platform/win/shell/FirstPaintExit.h"

#include "platform/win/WinUser.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/shell/WinApp.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class CFirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override {
        if (pEvent->type() != QEvent::Paint || m_bSeen)
            return false;
        CWinApp* pApp = AfxGetApp();
        QWidget* pMain = pApp ? AfxGetWidget(pApp->m_pMainWnd) : nullptr;
        auto* pWidget = qobject_cast<QWidget*>(pObject);
        // A covered frame may not paint itself, but its children paint in the same pass.
        if (!pMain || !pWidget || pWidget->window() != pMain)
            return false;
        m_bSeen = true;
        // Queued, so the whole window is painted and shown before it closes.
        QMetaObject::invokeMethod(
            this,
            [] {
                std::fputs("first paint\n", stdout);
                std::fflush(stdout);
                if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd)
                    pApp->m_pMainWnd->SendMessage(WM_CLOSE);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    bool m_bSeen = false;
};

} // namespace

void AfxInstallFirstPaintExit() {
    const char* pszValue = std::getenv("VESTORYLIST_EXIT_AFTER_FIRST_PAINT");
    if (!pszValue || std::strcmp(pszValue, "1") != 0 || !qApp)
        return;
    // Owned by the application object, so it goes with it.
    qApp->installEventFilter(new CFirstPaintWatcher(qApp));
}
