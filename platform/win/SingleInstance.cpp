#include "platform/win/SingleInstance.h"

#include "platform/core/DevicePath.h"
#include "platform/win/WinApp.h"
#include "platform/win/WndQt.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr char kShowRequest[] = "show\n";
constexpr char kShownReply[] = "shown\n";
// The running program answers from its event loop, which may still be reading a long list.
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kRetryMs = 50;

// The kernel drops a flock when its holder dies, so a crashed program never blocks a start;
// the socket is how a start reaches the holder.
struct SingleInstanceClaim {
    int fdLock = -1;
    std::string lockPath;
    std::unique_ptr<QLocalServer> pServer;
};
SingleInstanceClaim g_claim;

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// The folder for the lock and the socket: the user's runtime folder, or a private one in /tmp.
QString RuntimeFolder() {
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime && *pszRuntime && QDir(QString::fromUtf8(pszRuntime)).exists())
        return QString::fromUtf8(pszRuntime);
    const QString folder = QDir::tempPath() + QStringLiteral("/vestorylist-%1").arg(getuid());
    ::mkdir(folder.toLocal8Bit().constData(), 0700);
    struct stat st {};
    if (::lstat(folder.toLocal8Bit().constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != getuid())
        return QString();
    return folder;
}

// Lock and socket names for this device's documents folder.
QString ClaimBaseName() {
    const QString folder = RuntimeFolder();
    if (folder.isEmpty())
        return QString();
    std::error_code ec;
    const std::filesystem::path documents =
        std::filesystem::weakly_canonical(AfxHostPathFromDevicePath(u"\\My Documents"), ec);
    const std::uint64_t key = Fnv1a(documents.string());
    return folder + QStringLiteral("/vestorylist-%1").arg(key, 16, 16, QLatin1Char('0'));
}

enum class LockResult { Taken, Busy, Unavailable };

// Takes the lock without waiting. A holder removes the file on release, so the lock only counts
// when it is on the file that the name still names.
LockResult TryLock(const std::string& path, int* pFd) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return LockResult::Unavailable;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return LockResult::Busy;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            *pFd = fd;
            return LockResult::Taken;
        }
        ::close(fd);
    }
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

bool AskRunningToShow(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kAnswerTimeoutMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return false;
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == kShownReply;
}

} // namespace

BOOL AfxClaimSingleInstance() {
    const QString base = ClaimBaseName();
    if (base.isEmpty())
        return TRUE;
    const std::string lockPath = (base + QStringLiteral(".lock")).toStdString();
    const QString socketPath = base + QStringLiteral(".socket");

    // The holder may be between taking the lock and listening, or just releasing both: look again
    // for a short while before deciding that it cannot be reached.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    for (;;) {
        int fd = -1;
        switch (TryLock(lockPath, &fd)) {
        case LockResult::Taken:
            g_claim.fdLock = fd;
            g_claim.lockPath = lockPath;
            Listen(socketPath);
            return TRUE;
        case LockResult::Unavailable:
            return TRUE;
        case LockResult::Busy:
            break;
        }
        if (AskRunningToShow(socketPath))
            return FALSE;
        if (deadline.hasExpired())
            return TRUE; // alive but silent: better a second window than none
        QThread::msleep(kRetryMs);
    }
}

void AfxReleaseSingleInstance() {
    g_claim.pServer.reset(); // removes the socket
    if (g_claim.fdLock >= 0) {
        ::unlink(g_claim.lockPath.c_str());
        ::close(g_claim.fdLock);
    }
    g_claim = SingleInstanceClaim();
}
