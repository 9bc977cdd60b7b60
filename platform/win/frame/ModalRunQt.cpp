#include "platform/win/frame/ModalRunQt.h"

#include <utility>

namespace {

AfxModalRunWatcher g_pWatcher = nullptr;

} // namespace

AfxModalRunWatcher AfxSetModalRunWatcher(AfxModalRunWatcher pWatcher) {
    return std::exchange(g_pWatcher, pWatcher);
}

void AfxNotifyModalRun(QWidget* pWindow, bool bStarting) {
    if (g_pWatcher)
        g_pWatcher(pWindow, bStarting);
}
