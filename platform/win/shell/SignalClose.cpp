#include "platform/win/shell/SignalClose.h"

#include "platform/win/frame/Wnd.h"
#include "platform/win/shell/WinApp.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// How often to look for a modal run to end, once the program is ending.
constexpr int kRetryMs = 10;

// The handler only writes a byte: everything else happens in the message loop.
int g_fdSignalPipe[2] = {-1, -1};
QSocketNotifier* g_pNotifier = nullptr;
QTimer* g_pRetry = nullptr;

extern "C" void OnSignal(int nSignal) {
    const int nSavedErrno = errno;
    const char byte = char(nSignal);
    if (::write(g_fdSignalPipe[1], &byte, 1) < 0) {
        // Full: a close is on its way already.
    }
    errno = nSavedErrno;
}

// Set once a signal has asked the program to end: modal runs that open from then on close too.
bool g_bEnding = false;

// Ends every modal run (dialog, message box, pop-up menu) as if cancelled, and every event loop:
// the handlers that ran them finish, and the message loop of CWinApp::Run returns, which closes
// the main window. Before there is a main window (a message box during start-up), the loop waits
// for it.
void EndProgram() {
    if (QWidget* pPopup = QApplication::activePopupWidget())
        pPopup->close();
    else if (QWidget* pModal = QApplication::activeModalWidget())
        pModal->close();
    CWinApp* pApp = AfxGetApp();
    const bool bMainWnd = pApp && pApp->m_pMainWnd;
    if (bMainWnd && !g_bEnding) {
        g_bEnding = true;
        QCoreApplication::exit(0);
    }
    // Again soon: for the main window during start-up, for runs that open while handlers finish.
    if (bMainWnd || !g_bEnding)
        g_pRetry->start();
}

void OnSignalPipe() {
    char bytes[16];
    while (::read(g_fdSignalPipe[0], bytes, sizeof bytes) > 0) {
    }
    EndProgram();
}

} // namespace

void AfxInstallSignalClose() {
    if (g_pNotifier || !qApp || ::pipe2(g_fdSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_pNotifier = new QSocketNotifier(g_fdSignalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(g_pNotifier, &QSocketNotifier::activated, g_pNotifier, &OnSignalPipe);
    g_pRetry = new QTimer(g_pNotifier);
    g_pRetry->setSingleShot(true);
    g_pRetry->setInterval(kRetryMs);
    QObject::connect(g_pRetry, &QTimer::timeout, g_pRetry, &EndProgram);
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
    delete g_pNotifier; // and its timer
    g_pNotifier = nullptr;
    g_pRetry = nullptr;
    g_bEnding = false;
    ::close(g_fdSignalPipe[0]);
    ::close(g_fdSignalPipe[1]);
    g_fdSignalPipe[0] = g_fdSignalPipe[1] = -1;
}
