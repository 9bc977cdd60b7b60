#include "platform/win/frame/ModalRunQt.h"

#include <QMenu>

#include <utility>

namespace {

AfxModalRunWatcher g_pWatcher = nullptr;

void Notify(QWidget* pWindow, bool bStarting) {
    if (g_pWatcher)
        g_pWatcher(pWindow, bStarting);
}

} // namespace

AfxModalRunWatcher AfxSetModalRunWatcher(AfxModalRunWatcher pWatcher) {
    return std::exchange(g_pWatcher, pWatcher);
}

CModalRunScope::CModalRunScope(QWidget* pWindow) : m_pWindow(pWindow) {
    Notify(m_pWindow, true);
}

CModalRunScope::~CModalRunScope() {
    Notify(m_pWindow, false);
}

void AfxWatchMenuRuns(QMenu* pMenu) {
    QObject::connect(pMenu, &QMenu::aboutToShow, [pMenu] { Notify(pMenu, true); });
    QObject::connect(pMenu, &QMenu::aboutToHide, [pMenu] { Notify(pMenu, false); });
}
