#include "platform/core/ReplaceFile.h"

#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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
    std::string temp = folder + "/." + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    ::fchmod(fd, NewFileMode(m_targetHostPath));
    m_fd = fd;
    m_hostPath = temp;
    return TRUE;
}

void CReplaceFile::Commit() {
    try {
        CFile::Flush();
        CFile::Close();
        // The previous version stays reachable as .bak; a hard link keeps the target itself
        // in place until the rename swaps it. A missing backup is no reason to fail the save.
        std::string backup = m_targetHostPath + ".bak";
        ::unlink(backup.c_str());
        ::link(m_targetHostPath.c_str(), backup.c_str());
        if (::rename(m_hostPath.c_str(), m_targetHostPath.c_str()) != 0)
            throw CFileException(errno == ENOSPC ? CFileException::diskFull
                                                 : CFileException::generic,
                                 errno, m_strFileName);
    } catch (...) {
        Abandon();
        throw;
    }
    m_hostPath.clear();
    // The rename is durable once the folder is. It has already happened, so a folder that
    // cannot be synced (some file systems refuse) does not turn the save into a failure.
    int dir = ::open(FolderOf(m_targetHostPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void CReplaceFile::Abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_hostPath.empty()) {
        ::unlink(m_hostPath.c_str());
        m_hostPath.clear();
    }
}
