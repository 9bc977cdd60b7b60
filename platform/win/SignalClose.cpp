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

// The depth of the event loop of the last modal run closed: the close waits until that loop has
// returned and the handler that opened the run has finished.
int g_nModalLoopLevel = 0;

// A modal run (dialog, message box, pop-up menu) ends first, as if cancelled; the window closes
// only once no handler is half-way through one, and once there is a main window (a message box
// during start-up comes before it).
void CloseMainWindow() {
    const int nLoopLevel = QThread::currentThread()->loopLevel();
    QWidget* pModal = QApplication::activePopupWidget();
    if (!pModal)
        pModal = QApplication::activeModalWidget();
    if (pModal) {
        pModal->close();
        g_nModalLoopLevel = nLoopLevel;
    }
    CWinApp* pApp = AfxGetApp();
    if (pModal || (g_nModalLoopLevel > 0 && nLoopLevel >= g_nModalLoopLevel) || !pApp ||
        !pApp->m_pMainWnd) {
        QTimer::singleShot(kRetryMs, qApp, &CloseMainWindow);
        return;
    }
    g_nModalLoopLevel = 0;
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
    g_nModalLoopLevel = 0;
    ::close(g_fdSignalPipe[0]);
    ::close(g_fdSignalPipe[1]);
    g_fdSignalPipe[0] = g_fdSignalPipe[1] = -1;
}
