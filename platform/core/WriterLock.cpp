#include "platform/core/WriterLock.h"

#include "platform/core/Afx.h"
#include "platform/core/StdIds.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct HeldLock {
    std::string lockPath; // empty where the user has no private runtime folder
    int lockFd = -1;
    int folderFd = -1; // the file's folder; -1 for a mark alone
    int nHolders = 0;
};

// The marks this process holds, by key: flock would refuse a second open of the same file even
// within one process.
std::map<std::string, HeldLock>& HeldLocks() {
    static std::map<std::string, HeldLock> held;
    return held;
}

std::string KeyOf(const std::string& hostPath) {
    std::error_code ec;
    const std::string real = fs::weakly_canonical(hostPath, ec).string();
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : ec ? hostPath : real) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char key[17];
    std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
    return key;
}

// The application's name as a file name: "VestoryList" becomes "vestorylist".
std::string NamePrefix() {
    std::string prefix;
    for (char c : AfxGetAppName().ToUtf8()) {
        const bool bAlnum = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        prefix += c >= 'A' && c <= 'Z' ? char(c + 0x20) : bAlnum ? c : '-';
    }
    return prefix;
}

bool IsOwnFolder(const std::string& path, mode_t openTo) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & openTo) == 0;
}

// The user's runtime folder as the base directory rules have it (the user's own, nobody else
// may enter), else a folder of the user's own in the cache folder, where nobody else can make
// a name first; empty when there is neither.
std::string RuntimeFolder() {
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime && pszRuntime[0] == '/' && IsOwnFolder(pszRuntime, 077))
        return pszRuntime;
    const std::string login = "/run/user/" + std::to_string(::geteuid());
    if (IsOwnFolder(login, 077))
        return login;
    const char* pszCache = std::getenv("XDG_CACHE_HOME");
    const char* pszHome = std::getenv("HOME");
    std::string cache;
    if (pszCache && pszCache[0] == '/')
        cache = pszCache;
    else if (pszHome && pszHome[0] == '/')
        cache = std::string(pszHome) + "/.cache";
    else
        return std::string();
    ::mkdir(cache.c_str(), 0700);
    if (!IsOwnFolder(cache, 022))
        return std::string();
    const std::string folder = cache + "/" + NamePrefix() + "-runtime";
    ::mkdir(folder.c_str(), 0700);
    return IsOwnFolder(folder, 077) ? folder : std::string();
}

// The process holding an flock on the open file, from the kernel's table; 0 when not found.
int FlockHolder(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return 0;
    char file[64];
    std::snprintf(file, sizeof file, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::ifstream in("/proc/locks");
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
        if (f.size() >= 6 && f[1] == "FLOCK" && f[5] == file)
            return std::atoi(f[4].c_str());
    }
    return 0;
}

bool IsOwnProcess(int pid) {
    struct stat st {};
    return pid <= 0 || ::stat(("/proc/" + std::to_string(pid)).c_str(), &st) != 0 ||
           st.st_uid == ::geteuid();
}

enum class Taken { yes, held, nowhere };

// The lock file: one whose name still names it once locked (a holder removes it as it lets
// go), marked sticky so that the runtime folder's cleaning leaves it alone.
Taken TakeLockFile(const std::string& path, int operation, int* pFd, int* pHolder) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return Taken::nowhere;
        if (::flock(fd, operation) != 0) {
            char text[16] = {};
            const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
            *pHolder = n > 0 ? std::atoi(text) : FlockHolder(fd);
            ::close(fd);
            return Taken::held;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            ::fchmod(fd, S_ISVTX | 0600);
            if (!(operation & LOCK_SH)) {
                const std::string pid = std::to_string(::getpid()) + "\n";
                if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) < 0) {
                    // Held all the same; a reader just cannot name the holder.
                }
            }
            *pFd = fd;
            return Taken::yes;
        }
        ::close(fd);
    }
}

// The folder of the file (the nearest one there, for a file whose folder is still to be made),
// which stays what it is whatever is removed from the runtime folder. A link's target is the
// file: every way to it meets in the target's folder.
Taken TakeFolder(const std::string& hostPath, int operation, int* pFd, int* pHolder) {
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(fs::absolute(hostPath, ec), ec).parent_path();
    if (ec)
        folder = fs::absolute(hostPath, ec).parent_path();
    while (!folder.empty() && folder != folder.root_path() && !fs::is_directory(folder, ec))
        folder = folder.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Taken::nowhere;
    if (::flock(fd, operation) != 0) {
        const int nHolder = FlockHolder(fd);
        ::close(fd);
        // Only the user's own processes write the user's lists; another user's lock on a folder
        // it may read is not one of them.
        if (!IsOwnProcess(nHolder))
            return Taken::nowhere;
        *pHolder = nHolder;
        return Taken::held;
    }
    *pFd = fd;
    return Taken::yes;
}

// Lets go of a mark; the lock file goes when nobody else shares it, so that no other process
// takes a lock on a file that is about to go.
void Release(const HeldLock& held) {
    if (held.lockFd >= 0 && ::flock(held.lockFd, LOCK_EX | LOCK_NB) == 0) {
        struct stat own {};
        struct stat named {};
        if (::fstat(held.lockFd, &own) == 0 && ::lstat(held.lockPath.c_str(), &named) == 0 &&
            own.st_dev == named.st_dev && own.st_ino == named.st_ino)
            ::unlink(held.lockPath.c_str());
    }
    if (held.lockFd >= 0)
        ::close(held.lockFd);
    if (held.folderFd >= 0)
        ::close(held.folderFd);
}

} // namespace

CWriterLock::~CWriterLock() {
    Unlock();
}

std::string CWriterLock::BaseName(const std::string& hostPath) {
    const std::string folder = RuntimeFolder();
    return folder.empty() ? std::string() : folder + "/" + NamePrefix() + "-" + KeyOf(hostPath);
}

BOOL CWriterLock::Lock(const std::string& hostPath, int* pHolder, Mode mode) {
    Unlock();
    int nHolder = 0;
    if (!pHolder)
        pHolder = &nHolder;
    *pHolder = 0;
    const std::string key = KeyOf(hostPath);
    if (auto it = HeldLocks().find(key); it != HeldLocks().end()) {
        ++it->second.nHolders;
        m_key = key;
        return TRUE;
    }
    const int operation = (mode == shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    HeldLock held;
    held.lockPath = BaseName(hostPath);
    Taken lockFile = Taken::nowhere;
    if (!held.lockPath.empty()) {
        held.lockPath += ".lock";
        lockFile = TakeLockFile(held.lockPath, operation, &held.lockFd, pHolder);
        if (lockFile == Taken::held)
            return FALSE;
    }
    // The lock never fails open: without a lock file, the folder's lock is the whole mark.
    const Taken folder = mode == exclusiveMark
                             ? Taken::nowhere
                             : TakeFolder(hostPath, operation, &held.folderFd, pHolder);
    if (folder == Taken::held || (folder == Taken::nowhere && lockFile != Taken::yes)) {
        Release(held);
        return FALSE;
    }
    held.nHolders = 1;
    HeldLocks()[key] = held;
    m_key = key;
    return TRUE;
}

BOOL CWriterLock::LockWithin(const std::string& hostPath, DWORD dwTimeoutMs, int* pHolder,
                             Mode mode, const std::function<bool(int nHolder)>& giveUp) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwTimeoutMs);
    for (;;) {
        int nHolder = 0;
        if (Lock(hostPath, &nHolder, mode))
            return TRUE;
        if (pHolder)
            *pHolder = nHolder;
        if ((giveUp && giveUp(nHolder)) || std::chrono::steady_clock::now() >= deadline)
            return FALSE;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void CWriterLock::Unlock() {
    if (m_key.empty())
        return;
    auto it = HeldLocks().find(m_key);
    if (it != HeldLocks().end() && --it->second.nHolders == 0) {
        Release(it->second);
        HeldLocks().erase(it);
    }
    m_key.clear();
}

CString CWriterLock::HeldMessage(int nHolder) {
    // In the user's language from the program's strings; a tool without them says it in English.
    CString format;
    if (!format.LoadString(nHolder > 0 ? AFX_IDP_FILE_HELD_BY : AFX_IDP_FILE_HELD))
        format = nHolder > 0
                     ? u"%s is already running on this list (process %d) but does not answer."
                     : u"%s is already running on this list but does not answer.";
    CString text;
    text.Format(LPCTSTR(format), LPCTSTR(AfxGetAppName()), nHolder);
    return text;
}
