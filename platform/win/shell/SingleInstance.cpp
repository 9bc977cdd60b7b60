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
#include <QTimer>
#include <QWidget>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>

namespace {

// A request is a word and, for "open", a host path, ended by a zero byte (a path may hold any
// other byte); the answer is a line.
constexpr char kShowRequest[] = "show";
constexpr char kOpenRequest[] = "open ";
constexpr char kShownReply[] = "shown\n";
constexpr qint64 kMaxRequest = 8192;
// The running program answers from its event loop, which may still be reading a long list.
constexpr DWORD kAnswerTimeoutMs = 5000;

// The claim is a writer's mark on the device's documents folder; the socket beside it is how a
// start reaches the holder.
struct SingleInstanceClaim {
    CWriterLock lock;
    std::unique_ptr<QLocalServer> pServer;
    // Files handed over, opened once no dialog, menu or message box runs, as File Open would be.
    std::deque<CString> toOpen;
    std::unique_ptr<QTimer> pOpener;
};
SingleInstanceClaim g_claim;

// Only a process of this user is asked, or answered: another user could have made a socket
// where this one's is looked for, or reach it.
bool PeerIsThisUser(qintptr fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

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

void OpenHandedOverFiles() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->m_pMainWnd || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return; // the timer looks again
    while (!g_claim.toOpen.empty()) {
        const CString path = std::move(g_claim.toOpen.front());
        g_claim.toOpen.pop_front();
        pApp->OpenDocumentFile(path);
    }
    g_claim.pOpener->stop();
}

void HandOver(const QByteArray& request) {
    BringMainWindowToFront();
    if (!request.startsWith(kOpenRequest))
        return;
    const QByteArray path = request.mid(int(sizeof kOpenRequest) - 1);
    g_claim.toOpen.push_back(
        AfxDevicePathFromHostPath({path.constData(), std::size_t(path.size())}));
    if (!g_claim.pOpener) {
        g_claim.pOpener = std::make_unique<QTimer>();
        g_claim.pOpener->setInterval(100);
        QObject::connect(g_claim.pOpener.get(), &QTimer::timeout, OpenHandedOverFiles);
    }
    g_claim.pOpener->start();
}

void AnswerRequests(QLocalServer* pServer) {
    QObject::connect(pServer, &QLocalServer::newConnection, pServer, [pServer] {
        while (QLocalSocket* pSocket = pServer->nextPendingConnection()) {
            QObject::connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
            if (!PeerIsThisUser(pSocket->socketDescriptor())) {
                pSocket->abort();
                continue;
            }
            QObject::connect(pSocket, &QLocalSocket::readyRead, pSocket, [pSocket] {
                const QByteArray pending = pSocket->peek(kMaxRequest);
                const qsizetype end = pending.indexOf('\0');
                if (end < 0) {
                    if (pending.size() >= kMaxRequest)
                        pSocket->abort();
                    return;
                }
                const QByteArray request = pSocket->read(end + 1).chopped(1);
                if (request == kShowRequest || request.startsWith(kOpenRequest)) {
                    HandOver(request);
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

// Asks the holder to show its window and open the file, within what is left of the time.
bool AskRunningToShow(const QString& socketPath, const QByteArray& request,
                      const QDeadlineTimer& deadline) {
    const auto left = [&] { return int(std::max<qint64>(0, deadline.remainingTime())); };
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(left()) || !PeerIsThisUser(socket.socketDescriptor()))
        return false;
    socket.write(request.constData(), request.size() + 1); // with its zero byte
    if (!socket.waitForBytesWritten(left()))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(left()))
            return false;
    }
    return socket.readLine() == kShownReply;
}

} // namespace

BOOL AfxClaimSingleInstance(LPCTSTR lpszFileToOpen, int* pExitCode) {
    const std::string documents = AfxHostPathFromDevicePath(u"\\My Documents");
    const std::string base = CWriterLock::BaseName(documents);
    if (base.empty())
        return TRUE; // nowhere private to meet: the list's own lock keeps a second writer out
    const QString socketPath = QString::fromStdString(base + ".socket");
    QByteArray request = kShowRequest;
    if (lpszFileToOpen && *lpszFileToOpen)
        request = QByteArray(kOpenRequest) + AfxHostPathFromDevicePath(lpszFileToOpen).c_str();

    // The holder may be between taking the lock and listening, or just releasing both: look again
    // until the time is up.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    bool bShown = false;
    int nHolder = 0;
    if (g_claim.lock.LockWithin(
            documents, kAnswerTimeoutMs, &nHolder, CWriterLock::exclusiveMark,
            [&](int) { return bShown = AskRunningToShow(socketPath, request, deadline); })) {
        Listen(socketPath);
        return TRUE;
    }
    if (bShown) {
        *pExitCode = 0;
        return FALSE;
    }
    // A holder that cannot be reached still holds the list: this start must not open it too.
    const CString text = CWriterLock::HeldMessage(nHolder);
    std::fprintf(stderr, "%s\n", text.ToUtf8().c_str());
    AfxMessageBox(text, MB_ICONINFORMATION);
    *pExitCode = 1;
    return FALSE;
}

void AfxReleaseSingleInstance() {
    g_claim.pServer.reset(); // removes the socket, before another start may take the lock
    g_claim.pOpener.reset();
    g_claim.toOpen.clear();
    g_claim.lock.Unlock();
}
