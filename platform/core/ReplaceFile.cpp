#include "platform/core/ReplaceFile.h"

#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// mkdir -p: the list's folder does not exist before the first save.
void MakeFolders(const std::string& folder) {
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/')
            ::mkdir(folder.substr(0, i).c_str(), 0777);
    }
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

// New files are "<folder>/.<name>.XXXXXX". A save holds a lock on its new file until it has
// been renamed, so one left behind by a killed save is the only kind that can be locked here,
// and goes. Without this every crash in the middle of a save would leave one more file.
void RemoveStaleNewFiles(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string prefix = "." + NameOf(target) + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string path = folder + "/" + name;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// Replaces "<target>.bak" by the target's current version in one rename, so that a crash
// never leaves the backup missing. A missing backup is no reason to fail the save.
void KeepBackup(const std::string& target) {
    const std::string link = FolderOf(target) + "/." + NameOf(target) + ".bak.new";
    ::unlink(link.c_str()); // left by a save killed between the link and the rename
    if (::link(target.c_str(), link.c_str()) == 0 &&
        ::rename(link.c_str(), (target + ".bak").c_str()) != 0)
        ::unlink(link.c_str());
}

mode_t NewFileMode(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

CReplaceFile::~CReplaceFile() {
    Abandon();
}

BOOL CReplaceFile::Open(LPCTSTR lpszFileName, UINT, void*) {
    Abandon();
    m_strFileName = lpszFileName;
    m_targetHostPath = AfxHostPathFromDevicePath(lpszFileName);
    std::string folder = FolderOf(m_targetHostPath);
    MakeFolders(folder);
    std::string name = m_targetHostPath.substr(m_targetHostPath.find_last_of('/') + 1);
    RemoveStaleNewFiles(m_targetHostPath);
    std::string temp = folder + "/." + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    ::flock(fd, LOCK_EX);
    ::fchmod(fd, NewFileMode(m_targetHostPath));
    m_fd = fd;
    m_hostPath = temp;
    return TRUE;
}

namespace {
constexpr std::size_t kWriteChunk = 1 << 20;
}

void CReplaceFile::Write(const void* lpBuf, UINT nCount) {
    const auto* p = static_cast<const BYTE*>(lpBuf);
    m_pending.insert(m_pending.end(), p, p + nCount);
    if (m_pending.size() >= kWriteChunk)
        WritePending();
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

void CReplaceFile::Commit() {
    try {
        WritePending();
        CFile::Flush();
        // The previous version stays reachable as .bak; a hard link keeps the target itself
        // in place until the rename swaps it.
        KeepBackup(m_targetHostPath);
        if (::rename(m_hostPath.c_str(), m_targetHostPath.c_str()) != 0)
            throw CFileException(errno == ENOSPC ? CFileException::diskFull
                                                 : CFileException::generic,
                                 errno, m_strFileName);
    } catch (...) {
        Abandon();
        throw;
    }
    m_hostPath.clear();
    // Closed only now: the lock marks the new file as in use until it has its final name.
    // Its contents are already on disk, so a failing close changes nothing.
    ::close(m_fd);
    m_fd = -1;
    // The rename is durable once the folder is. It has already happened, so a folder that
    // cannot be synced (some file systems refuse) does not turn the save into a failure.
    int dir = ::open(FolderOf(m_targetHostPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void CReplaceFile::Abandon() {
    m_pending.clear();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_hostPath.empty()) {
        ::unlink(m_hostPath.c_str());
        m_hostPath.clear();
    }
}
