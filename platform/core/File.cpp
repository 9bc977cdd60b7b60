#include "platform/core/File.h"

#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
CFileException::Cause CauseOf(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return CFileException::fileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return CFileException::accessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CFileException::diskFull;
    default:
        return CFileException::generic;
    }
}
} // namespace

CFile::~CFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

namespace {
// A symbolic link on the path (the file itself or a folder above it) whose target is missing:
// a synced folder that is not mounted. Such a list is not "no list".
bool DanglingLinkOnPath(std::string path) {
    while (!path.empty() && path != "/") {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
            ::stat(path.c_str(), &st) != 0 && errno == ENOENT)
            return true;
        const std::size_t slash = path.find_last_of('/');
        if (slash == std::string::npos)
            break;
        path.erase(slash);
    }
    return false;
}

int OpenFailed(void* pError, CFileException::Cause cause, int err, const std::string& hostPath) {
    if (auto* pException = static_cast<CFileException*>(pError)) {
        pException->m_cause = cause;
        pException->m_lOsError = err;
        pException->m_strFileName = CString::FromUtf8(hostPath);
    }
    errno = err;
    return FALSE;
}
} // namespace

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, void* pError) {
    if (m_fd >= 0)
        Close();
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
    }
    if (nOpenFlags & modeCreate)
        flags |= O_CREAT | O_TRUNC;
    const bool bReadOnly = (nOpenFlags & 3) == modeRead && !(nOpenFlags & modeCreate);
    // A FIFO or a device must never hold the program up: reading opens without waiting for
    // a writer, and anything but a regular file is refused before a byte is read.
    if (bReadOnly)
        flags |= O_NONBLOCK | O_NOCTTY;
    m_strFileName = lpszFileName;
    m_hostPath = AfxHostPathFromDevicePath(lpszFileName);
    if (bReadOnly) {
        struct stat st {};
        if (::stat(m_hostPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return OpenFailed(pError, CFileException::invalidFile, 0, m_hostPath);
    }
    int fd;
    do
        fd = ::open(m_hostPath.c_str(), flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT && DanglingLinkOnPath(m_hostPath))
            return OpenFailed(pError, CFileException::badPath, err, m_hostPath);
        if (err == ENXIO) // a socket
            return OpenFailed(pError, CFileException::invalidFile, 0, m_hostPath);
        return OpenFailed(pError, CauseOf(err), err, m_hostPath);
    }
    if (bReadOnly) {
        struct stat st {};
        // Checked again on what was opened: the path may have changed since.
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return OpenFailed(pError, CFileException::invalidFile, 0, m_hostPath);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    m_fd = fd;
    return TRUE;
}

void CFile::Close() {
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        throw CFileException(CauseOf(errno), errno, m_strFileName);
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        throw CFileException(CauseOf(errno), errno, m_strFileName);
    return std::uint64_t(st.st_size);
}

std::uint64_t CFile::GetPosition() const {
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        throw CFileException(CauseOf(errno), errno, m_strFileName);
    return std::uint64_t(pos);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    auto* p = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        ssize_t n = ::read(m_fd, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CFileException(CauseOf(errno), errno, m_strFileName);
        }
        if (n == 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    const auto* p = static_cast<const char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        ssize_t n = ::write(m_fd, p + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CFileException(CauseOf(errno), errno, m_strFileName);
        }
        if (n == 0) // a write that makes no progress means no room is left
            throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        done += UINT(n);
    }
}

void CFile::Flush() {
    if (::fsync(m_fd) != 0)
        throw CFileException(CauseOf(errno), errno, m_strFileName);
}
