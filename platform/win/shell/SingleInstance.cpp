#include "platform/win/shell/SingleInstance.h"

#include "platform/core/Afx.h"
#include "platform/core/DevicePath.h"
#include "platform/core/WriterLock.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/shell/WinApp.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr char kShowRequest[] = "show\n";
constexpr char kShownReply[] = "shown\n";
// The running program answers from its event loop, which may still be reading a long list.
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kRetryMs = 50;

// The claim is a writer's mark on the device's documents folder; the socket beside it is how a
// start reaches the holder.
struct SingleInstanceClaim {
    CWriterLock lock;
    std::unique_ptr<QLocalServer> pServer;
};
SingleInstanceClaim g_claim;

void BringMainWindowToFront() {
    CWinApp* pApp = AfxGetApp();
    QWidget* pMain = pApp ? AfxGetWidget(pApp->m_pMainWnd) : nullptr;
    if (pMain) {
        if (pMain->isMinimized())
            pMain->setWindowState(pMain->windowState() & ~Qt::WindowMinimized);
        pMain->show();
        pMain->raise();
        pMain->activateWindow();
    }
    // An open dialog stays in front of its owner.
    if (QWidget* pModal = QApplication::activeModalWidget()) {
        pModal->raise();
        pModal->activateWindow();
    }
}

void AnswerRequests(QLocalServer* pServer) {
    QObject::connect(pServer, &QLocalServer::newConnection, pServer, [pServer] {
        while (QLocalSocket* pSocket = pServer->nextPendingConnection()) {
            QObject::connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
            QObject::connect(pSocket, &QLocalSocket::readyRead, pSocket, [pSocket] {
                if (!pSocket->canReadLine())
                    return;
                if (pSocket->readLine() == kShowRequest) {
                    BringMainWindowToFront();
                    pSocket->write(kShownReply);
                }
                pSocket->disconnectFromServer();
            });
        }
    });
}

// Holding the lock: a socket left by a program that died goes, and this one answers.
void Listen(const QString& socketPath) {
    QLocalServer::removeServer(socketPath);
    auto pServer = std::make_unique<QLocalServer>();
    pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!pServer->listen(socketPath))
        return;
    AnswerRequests(pServer.get());
    g_claim.pServer = std::move(pServer);
}

// Asks the holder to show its window, within what is left of the time it may take.
bool AskRunningToShow(const QString& socketPath, const QDeadlineTimer& deadline) {
    const auto left = [&] { return int(std::max<qint64>(0, deadline.remainingTime())); };
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(left()))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(left()))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(left()))
            return false;
    }
    return socket.readLine() == kShownReply;
}

// A holder that cannot be reached still holds the list: this start must not open it too.
void ReportSilentHolder(int nHolder) {
    CString text;
    text.Format(u"%s is already running on this list (process %d) but does not answer.",
                LPCTSTR(AfxGetAppName()), nHolder);
    std::fprintf(stderr, "%s\n", text.ToUtf8().c_str());
    AfxMessageBox(text, MB_ICONINFORMATION);
}

} // namespace

BOOL AfxClaimSingleInstance(int* pExitCode) {
    const std::string documents = AfxHostPathFromDevicePath(u"\\My Documents");
    const std::string base = CWriterLock::BaseName(documents);
    if (base.empty())
        return TRUE;
    const QString socketPath = QString::fromStdString(base + ".socket");

    // The holder may be between taking the lock and listening, or just releasing both: look again
    // until the time is up.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    for (;;) {
        int nHolder = 0;
        if (g_claim.lock.Lock(documents, &nHolder)) {
            Listen(socketPath);
            return TRUE;
        }
        if (AskRunningToShow(socketPath, deadline)) {
            *pExitCode = 0;
            return FALSE;
        }
        if (deadline.hasExpired()) {
            ReportSilentHolder(nHolder);
            *pExitCode = 1;
            return FALSE;
        }
        QThread::msleep(kRetryMs);
    }
}

void AfxReleaseSingleInstance() {
    g_claim.pServer.reset(); // removes the socket, before another start may take the lock
    g_claim.lock.Unlock();
}
