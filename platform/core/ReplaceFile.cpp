#include "platform/core/ReplaceFile.h"

#include "platform/core/CopyFile.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/KeptVersions.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::string_view kNewFileInfix = ".tmp-";
constexpr std::size_t kSuffixLength = 6;

// A save's new file for <name> is ".<name>.tmp-<6 letters or digits>"; while it exists, files
// tied to it are that name with ".bak" or ".day" appended (the versions a list keeps on their
// way to their places).
std::string NewFileName(const std::string& name, std::string_view suffix) {
    return "." + name + std::string(kNewFileInfix) + std::string(suffix);
}

bool IsSuffix(std::string_view s) {
    return s.size() == kSuffixLength && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

// The names that CKeptVersions ties to a new file.
bool IsTiedWord(std::string_view s) {
    return s == "bak" || s == "day";
}

// Removes the new files (and what is tied to them) of saves that are gone: a save holds a
// lock on its new file until the file has its final name. Nothing else is ever removed.
void RemoveStaleNewFiles(const std::string& folder, const std::string& name) {
    const std::string prefix = NewFileName(name, "");
    std::vector<std::string> stems;
    std::vector<std::string> tied;
    for (const std::string& folderEntry : AfxFolderNames(folder)) {
        const std::string_view entryName = folderEntry;
        if (entryName.substr(0, prefix.size()) != prefix)
            continue;
        std::string_view rest = entryName.substr(prefix.size());
        if (rest.size() > kSuffixLength + 1 && rest[kSuffixLength] == '.' &&
            IsTiedWord(rest.substr(kSuffixLength + 1))) {
            tied.push_back(folder + "/" + std::string(entryName));
            rest = rest.substr(0, kSuffixLength);
        }
        if (IsSuffix(rest))
            stems.push_back(folder + "/" + prefix + std::string(rest));
    }
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    for (const std::string& stem : stems) {
        int fd = ::open(stem.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        // A new file that is gone leaves what was tied to it without an owner.
        bool gone = fd < 0 ? errno == ENOENT
                           : ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                                 ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (gone) {
            for (const std::string& t : tied) {
                if (t.compare(0, stem.size() + 1, stem + ".") == 0)
                    ::unlink(t.c_str());
            }
            if (fd >= 0)
                ::unlink(stem.c_str());
        }
        if (fd >= 0)
            ::close(fd);
    }
}

// mkdir -p: the list's folder does not exist before the first save.
void MakeFolders(const std::string& folder) {
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/')
            ::mkdir(folder.substr(0, i).c_str(), 0777);
    }
}

// The file a save replaces: symbolic links followed to the end, relative ones from the
// folder of the link. Empty, with *pCause and *pErr set, when there is none a save may replace.
std::string FinalTarget(const std::string& path, CFileException::Cause* pCause, int* pErr) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            *pErr = errno;
            if (*pErr == ENOENT && hops == 0)
                return at; // no list yet
            // A link to nothing is a list that is not there now (a sync folder that is not
            // mounted); a new list written there would hide the real one.
            *pCause = *pErr == ENOENT ? CFileException::badPath : CFileException::generic;
            return {};
        }
        if (S_ISREG(st.st_mode))
            return at;
        if (!S_ISLNK(st.st_mode)) {
            *pCause = CFileException::invalidFile;
            *pErr = 0;
            return {};
        }
        char buf[PATH_MAX];
        ssize_t n = ::readlink(at.c_str(), buf, sizeof buf);
        if (n < 0 || std::size_t(n) == sizeof buf) {
            *pCause = CFileException::generic;
            *pErr = n < 0 ? errno : ENAMETOOLONG;
            return {};
        }
        std::string to(buf, std::size_t(n));
        at = to[0] == '/' ? to : AfxFolderOf(at) + "/" + to;
    }
    *pCause = CFileException::generic;
    *pErr = ELOOP;
    return {};
}

BOOL OpenFailed(void* pError, CFileException::Cause cause, int err, const std::string& hostPath) {
    if (auto* pException = static_cast<CFileException*>(pError)) {
        pException->m_cause = cause;
        pException->m_lOsError = err;
        pException->m_strFileName = AfxDevicePathFromHostPath(hostPath);
    }
    errno = err;
    return FALSE;
}

std::string RandomSuffix() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::string s(6, 'A');
    for (char& c : s)
        c = kChars[random() % (sizeof kChars - 1)];
    return s;
}

// The new file is locked before any other save can see its name, so that their clean-up
// never takes it for one a killed save left behind. Where the file system has unnamed files,
// it gets its name only at the commit (and a killed save leaves nothing); elsewhere the name
// is visible for a moment before the lock, so the lock is checked to hold the name still
// there, and a name lost to a clean-up in that moment is replaced by another.
int CreateLockedNewFile(const std::string& folder, const std::string& name, std::string* pNamed) {
    pNamed->clear();
    if (::access("/proc/self/fd", X_OK) == 0) {
        int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            return fd;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = folder + "/" + NewFileName(name, "XXXXXX");
        int fd = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        ::flock(fd, LOCK_EX);
        struct stat mine {};
        struct stat named {};
        if (::fstat(fd, &mine) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            mine.st_ino == named.st_ino && mine.st_dev == named.st_dev) {
            *pNamed = path;
            return fd;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

// Gives an unnamed new file its name in the target's folder.
bool NameNewFile(int fd, const std::string& folder, const std::string& name, std::string* pNamed) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = folder + "/" + NewFileName(name, RandomSuffix());
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            *pNamed = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}
} // namespace

CReplaceFile::~CReplaceFile() {
    Abandon();
}

BOOL CReplaceFile::Open(LPCTSTR lpszFileName, UINT, void* pError) {
    Abandon();
    m_hash = CContentHash();
    m_strFileName = lpszFileName;
    const std::string given = AfxHostPathFromDevicePath(lpszFileName);
    CFileException::Cause cause = CFileException::none;
    int err = 0;
    m_targetHostPath = FinalTarget(given, &cause, &err);
    if (m_targetHostPath.empty())
        return OpenFailed(pError, cause, err, given);
    const std::string folder = AfxFolderOf(m_targetHostPath);
    if (m_targetHostPath == given)
        MakeFolders(folder);
    const std::string name = AfxNameOf(m_targetHostPath);
    RemoveStaleNewFiles(folder, name);
    std::string named;
    int fd = CreateLockedNewFile(folder, name, &named);
    if (fd < 0) {
        err = errno;
        return OpenFailed(pError,
                          err == EACCES || err == EPERM || err == EROFS
                              ? CFileException::accessDenied
                              : CFileException::generic,
                          err, folder);
    }
    struct stat st {};
    if (::stat(m_targetHostPath.c_str(), &st) == 0) {
        AfxKeepOwnerAndMode(fd, st);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    m_fd = fd;
    m_hostPath = named;
    return TRUE;
}

namespace {
// Large enough that the system calls cost little, and small enough to come from the heap, where
// the next save finds it again: a piece mapped afresh for every save touches every page of it.
constexpr std::size_t kWriteChunk = 64 << 10;
} // namespace

void CReplaceFile::Write(const void* lpBuf, UINT nCount) {
    const auto* p = static_cast<const BYTE*>(lpBuf);
    m_hash.Add(p, nCount);
    if (m_pending.size() + nCount > kWriteChunk)
        WritePending();
    if (nCount >= kWriteChunk) {
        CFile::Write(p, nCount);
        return;
    }
    m_pending.reserve(kWriteChunk);
    m_pending.insert(m_pending.end(), p, p + nCount);
}

void CReplaceFile::WritePending() {
    try {
        CFile::Write(m_pending.data(), UINT(m_pending.size()));
    } catch (...) {
        m_pending.clear();
        throw;
    }
    m_pending.clear();
}

void CReplaceFile::Commit(const CKeptVersions* pVersions) {
    const std::string folder = AfxFolderOf(m_targetHostPath);
    try {
        WritePending();
        CFile::Flush();
        if (m_hostPath.empty() &&
            !NameNewFile(m_fd, folder, AfxNameOf(m_targetHostPath), &m_hostPath))
            throw CFileException(CFileException::generic, errno, m_strFileName);
        struct stat st {};
        const bool replacing = ::lstat(m_targetHostPath.c_str(), &st) == 0;
        if (replacing && !S_ISREG(st.st_mode)) // put there since Open
            throw CFileException(CFileException::accessDenied, 0, m_strFileName);
        if (replacing && pVersions)
            pVersions->KeepBeforeReplace(m_hostPath);
        if (::rename(m_hostPath.c_str(), m_targetHostPath.c_str()) != 0)
            throw CFileException(errno == ENOSPC ? CFileException::diskFull
                                                 : CFileException::generic,
                                 errno, m_strFileName);
    } catch (...) {
        Abandon();
        throw;
    }
    m_hostPath.clear();
    ::fstat(m_fd, &m_committed);
    // Closed only now: the lock marks the new file as in use until it has its final name.
    // Its contents are already on disk, so a failing close changes nothing.
    ::close(m_fd);
    m_fd = -1;
    // The rename is durable once the folder is. It has already happened, so a folder that
    // cannot be synced (some file systems refuse) does not turn the save into a failure.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void CReplaceFile::Abandon() {
    m_pending.clear();
    // Removed while still locked, so that no clean-up takes a name that is about to go.
    if (!m_hostPath.empty()) {
        ::unlink(m_hostPath.c_str());
        m_hostPath.clear();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
