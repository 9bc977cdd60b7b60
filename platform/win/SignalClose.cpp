#include "platform/win/SignalClose.h"

#include "platform/win/WinApp.h"
#include "platform/win/WinUser.h"
#include "platform/win/Wnd.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// How soon to look again while a modal run is ending.
constexpr int kRetryMs = 10;

// The handler only writes a byte: everything else happens in the message loop.
int g_fdSignalPipe[2] = {-1, -1};
QSocketNotifier* g_pNotifier = nullptr;

extern "C" void OnSignal(int nSignal) {
    const int nSavedErrno = errno;
    const char byte = char(nSignal);
    if (::write(g_fdSignalPipe[1], &byte, 1) < 0) {
        // Full: a close is on its way already.
    }
    errno = nSavedErrno;
}

// A modal run (dialog, message box, pop-up menu) ends first, as if cancelled, and its caller
// finishes; the window closes only from the message loop itself, where no handler is half-way
// (a message box during start-up runs before there is a main window).
void CloseMainWindow() {
    if (QWidget* pPopup = QApplication::activePopupWidget())
        pPopup->close();
    else if (QWidget* pModal = QApplication::activeModalWidget())
        pModal->close();
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->m_pMainWnd || QThread::currentThread()->loopLevel() > 1 ||
        QApplication::activePopupWidget() || QApplication::activeModalWidget()) {
        QTimer::singleShot(kRetryMs, qApp, &CloseMainWindow);
        return;
    }
    pApp->m_pMainWnd->SendMessage(WM_CLOSE);
}

void OnSignalPipe() {
    char bytes[16];
    while (::read(g_fdSignalPipe[0], bytes, sizeof bytes) > 0) {
    }
    CloseMainWindow();
}

} // namespace

void AfxInstallSignalClose() {
    if (g_pNotifier || !qApp || ::pipe2(g_fdSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_pNotifier = new QSocketNotifier(g_fdSignalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(g_pNotifier, &QSocketNotifier::activated, g_pNotifier, &OnSignalPipe);
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : kSignals)
        ::sigaction(nSignal, &action, nullptr);
}

void AfxRemoveSignalClose() {
    if (!g_pNotifier)
        return;
    for (int nSignal : kSignals)
        ::signal(nSignal, SIG_DFL);
    delete g_pNotifier;
    g_pNotifier = nullptr;
    ::close(g_fdSignalPipe[0]);
    ::close(g_fdSignalPipe[1]);
    g_fdSignalPipe[0] = g_fdSignalPipe[1] = -1;
}
