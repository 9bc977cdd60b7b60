#include "platform/core/WriterLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

struct HeldLock {
    int fd = -1;
    int nHolders = 0;
};

// The lock files this process holds, by path: flock would refuse a second open of the same
// file even within one process.
std::map<std::string, HeldLock>& HeldLocks() {
    static std::map<std::string, HeldLock> held;
    return held;
}

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool IsOwnFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// The user's runtime folder, found the same way by a program started from the desktop and by
// one started from a script that has no XDG_RUNTIME_DIR (the login's own folder, else a private
// one in /tmp).
std::string RuntimeFolder() {
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime && *pszRuntime) {
        struct stat st {};
        if (::stat(pszRuntime, &st) == 0 && S_ISDIR(st.st_mode))
            return pszRuntime;
    }
    const std::string login = "/run/user/" + std::to_string(::getuid());
    if (IsOwnFolder(login))
        return login;
    const char* pszTemp = std::getenv("TMPDIR");
    const std::string folder = std::string(pszTemp && *pszTemp ? pszTemp : "/tmp") +
                               "/vestorylist-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return IsOwnFolder(folder) ? folder : std::string();
}

int ReadHolder(int fd) {
    char text[16] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    return n > 0 ? std::atoi(text) : 0;
}

} // namespace

CWriterLock::~CWriterLock() {
    Unlock();
}

std::string CWriterLock::BaseName(const std::string& hostPath) {
    const std::string folder = RuntimeFolder();
    if (folder.empty())
        return std::string();
    std::error_code ec;
    const std::string real = std::filesystem::weakly_canonical(hostPath, ec).string();
    char key[17];
    std::snprintf(key, sizeof key, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(ec ? hostPath : real)));
    return folder + "/vestorylist-" + key;
}

BOOL CWriterLock::Lock(const std::string& hostPath, int* pHolder, Mode mode) {
    Unlock();
    const std::string base = BaseName(hostPath);
    if (base.empty())
        return TRUE;
    const std::string path = base + ".lock";
    if (auto it = HeldLocks().find(path); it != HeldLocks().end()) {
        ++it->second.nHolders;
        m_lockPath = path;
        return TRUE;
    }
    // A holder removes the file as it lets go, so a lock only counts on the file that the name
    // still names: one taken on a file just removed is taken again on the new one.
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return TRUE; // nowhere to mark: nobody can
        if (::flock(fd, (mode == shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
            if (pHolder)
                *pHolder = ReadHolder(fd);
            ::close(fd);
            return FALSE;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            const std::string pid = std::to_string(::getpid()) + "\n";
            if (mode == exclusive &&
                (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) < 0)) {
                // Held all the same; a reader just cannot name the holder.
            }
            HeldLocks()[path] = HeldLock{fd, 1};
            m_lockPath = path;
            return TRUE;
        }
        ::close(fd);
    }
}

void CWriterLock::Unlock() {
    if (m_lockPath.empty())
        return;
    auto it = HeldLocks().find(m_lockPath);
    if (it != HeldLocks().end() && --it->second.nHolders == 0) {
        // Removed while locked alone, so that no other process takes a lock on a file that is
        // about to go; a shared holder leaves it to whoever holds it last.
        if (::flock(it->second.fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(m_lockPath.c_str());
        ::close(it->second.fd);
        HeldLocks().erase(it);
    }
    m_lockPath.clear();
}
