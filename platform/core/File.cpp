#include "platform/core/File.h"

#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"

#include <cerrno>
#include <fcntl.h>
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

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, void*) {
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
    m_strFileName = lpszFileName;
    m_hostPath = AfxHostPathFromDevicePath(lpszFileName);
    int fd;
    do
        fd = ::open(m_hostPath.c_str(), flags, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return FALSE;
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
