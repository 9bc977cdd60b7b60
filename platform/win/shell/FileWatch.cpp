#include "platform/win/shell/FileWatch.h"

#include "platform/win/frame/Wnd.h"
#include "platform/win/shell/WinApp.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

struct CFileWatch::Notifier {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    ~Notifier() {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
    }
};

CFileWatch::CFileWatch() = default;

CFileWatch::~CFileWatch() {
    Stop();
}

BOOL CFileWatch::Watch(const std::string& hostFolder, UINT nID) {
    Stop();
    if (!QCoreApplication::instance())
        return FALSE;
    auto pNotifier = std::make_unique<Notifier>();
    pNotifier->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (pNotifier->fd < 0)
        return FALSE;
    // Written files count once closed: a writer half way through is not worth a look yet.
    constexpr uint32_t kChanges =
        IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE | IN_ONLYDIR;
    if (::inotify_add_watch(pNotifier->fd, hostFolder.c_str(), kChanges) < 0)
        return FALSE;
    pNotifier->notifier = std::make_unique<QSocketNotifier>(pNotifier->fd, QSocketNotifier::Read);
    const int fd = pNotifier->fd;
    QObject::connect(pNotifier->notifier.get(), &QSocketNotifier::activated, [fd, nID] {
        // Everything that has come so far is one batch, and one command.
        alignas(inotify_event) char buf[16384];
        bool bChanged = false;
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                bChanged = true;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
        CWinApp* pApp = AfxGetApp();
        CWnd* pMain = pApp ? pApp->GetMainWnd() : nullptr;
        if (bChanged && pMain)
            pMain->SendMessage(WM_COMMAND, nID, 0);
    });
    m_pNotifier = std::move(pNotifier);
    m_folder = hostFolder;
    return TRUE;
}

void CFileWatch::Stop() {
    m_pNotifier.reset();
    m_folder.clear();
}

BOOL CFileWatch::IsWatching() const {
    return m_pNotifier != nullptr;
}
