#include "platform/core/CopyFile.h"

#include "platform/core/DevicePath.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            const int err = errno;
            ::close(m_fd);
            errno = err;
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool WriteAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, n);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        p += done;
        n -= std::size_t(done);
    }
    return true;
}

// Copies the data of [from, to) of in to the same offsets of out.
bool CopyRange(int in, int out, off_t from, off_t to, std::vector<char>& buf) {
    if (::lseek(in, from, SEEK_SET) < 0 || ::lseek(out, from, SEEK_SET) < 0)
        return false;
    while (from < to) {
        const std::size_t want = std::size_t(std::min<off_t>(to - from, off_t(buf.size())));
        const ssize_t got = ::read(in, buf.data(), want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0; // the file got shorter: copy what there is
        if (!WriteAll(out, buf.data(), std::size_t(got)))
            return false;
        from += got;
    }
    return true;
}

// The data extents only; a file system that does not tell holes gives one extent.
bool CopyData(int in, int out, off_t size) {
    std::vector<char> buf(1 << 16);
    off_t pos = 0;
    while (pos < size) {
        off_t data = ::lseek(in, pos, SEEK_DATA);
        if (data < 0)
            return errno == ENXIO || (errno == EINVAL && CopyRange(in, out, pos, size, buf));
        off_t hole = ::lseek(in, data, SEEK_HOLE);
        if (hole < 0)
            hole = size;
        if (!CopyRange(in, out, data, std::min(hole, size), buf))
            return false;
        pos = hole;
    }
    return true;
}
} // namespace

BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL /*bFailIfExists*/) {
    const std::string from = AfxHostPathFromDevicePath(lpExistingFileName);
    const std::string to = AfxHostPathFromDevicePath(lpNewFileName);
    Fd in(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (in.get() < 0 || ::fstat(in.get(), &st) != 0)
        return FALSE;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return FALSE;
    }
    // An unnamed file gets its name only when it is whole, so a crash leaves nothing behind.
    // Where the file system has no unnamed files, the copy is made under its name directly.
    bool bNamed = false;
    int fd = ::open(AfxFolderOf(to).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        fd = ::open(to.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        bNamed = true;
    }
    Fd out(fd);
    if (out.get() < 0)
        return FALSE;
    if (!CopyData(in.get(), out.get(), st.st_size) || ::ftruncate(out.get(), st.st_size) != 0 ||
        ::fchmod(out.get(), st.st_mode & 0777) != 0 || ::fsync(out.get()) != 0) {
        if (bNamed) {
            const int err = errno;
            ::unlink(to.c_str());
            errno = err;
        }
        return FALSE;
    }
    if (bNamed)
        return TRUE;
    const std::string self = "/proc/self/fd/" + std::to_string(out.get());
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

void AfxKeepOwnerAndMode(int fd, const struct stat& st) {
    // Only root may give a file away; a user may still give it one of their groups.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
        [[maybe_unused]] int ignored = ::fchown(fd, uid_t(-1), st.st_gid);
    }
    // After the owner: a change of owner clears the set-id bits.
    ::fchmod(fd, st.st_mode & 07777);
}

bool AfxCopyNewFile(const std::string& from, const std::string& to) {
    if (!CopyFile(AfxDevicePathFromHostPath(from), AfxDevicePathFromHostPath(to), TRUE))
        return false;
    struct stat st {};
    Fd copy(::open(to.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (copy.get() >= 0 && ::stat(from.c_str(), &st) == 0)
        AfxKeepOwnerAndMode(copy.get(), st);
    return true;
}

bool AfxLinkOrCopyFile(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0 || AfxCopyNewFile(from, to);
}

std::vector<std::string> AfxFolderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::string AfxFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string AfxNameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}
