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
    int wd = -1;  // the folder's watch; -1 when there is none
    UINT nID = 0; // the command sent
    std::unique_ptr<QSocketNotifier> notifier;
    ~Notifier() {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
    }
    // Everything that has come so far is one batch, and one command.
    void Read() {
        alignas(inotify_event) char buf[16384];
        bool bChanged = false;
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                bChanged = true;
                for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
                    const auto* pEvent = reinterpret_cast<const inotify_event*>(buf + at);
                    // The folder was removed or unmounted: the kernel dropped its watch.
                    if ((pEvent->mask & IN_IGNORED) && pEvent->wd == wd)
                        wd = -1;
                    at += ssize_t(sizeof(inotify_event) + pEvent->len);
                }
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
        CWinApp* pApp = AfxGetApp();
        CWnd* pMain = pApp ? pApp->GetMainWnd() : nullptr;
        if (bChanged && pMain)
            pMain->SendMessage(WM_COMMAND, nID, 0); // may watch another folder: nothing after
    }
};

CFileWatch::CFileWatch() = default;

CFileWatch::~CFileWatch() {
    Stop();
}

BOOL CFileWatch::Watch(const std::string& hostFolder, UINT nID) {
    if (!QCoreApplication::instance())
        return FALSE;
    // One notifier for the watch's life, whatever folder it watches: a command it sends may
    // have the program watch another folder, which must not destroy the notifier sending it.
    if (!m_pNotifier) {
        auto pNotifier = std::make_unique<Notifier>();
        pNotifier->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (pNotifier->fd < 0)
            return FALSE;
        pNotifier->notifier =
            std::make_unique<QSocketNotifier>(pNotifier->fd, QSocketNotifier::Read);
        Notifier* pWatch = pNotifier.get(); // owns the connection: never outlived by it
        QObject::connect(pNotifier->notifier.get(), &QSocketNotifier::activated,
                         [pWatch] { pWatch->Read(); });
        m_pNotifier = std::move(pNotifier);
    }
    if (m_pNotifier->wd >= 0)
        ::inotify_rm_watch(m_pNotifier->fd, m_pNotifier->wd);
    m_pNotifier->nID = nID;
    // Written files count once closed: a writer half way through is not worth a look yet.
    constexpr uint32_t kChanges =
        IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE | IN_ONLYDIR;
    m_pNotifier->wd = ::inotify_add_watch(m_pNotifier->fd, hostFolder.c_str(), kChanges);
    m_folder = m_pNotifier->wd >= 0 ? hostFolder : std::string();
    return m_pNotifier->wd >= 0;
}

void CFileWatch::Stop() {
    m_pNotifier.reset();
    m_folder.clear();
}

BOOL CFileWatch::IsWatching() const {
    return m_pNotifier != nullptr && m_pNotifier->wd >= 0;
}
