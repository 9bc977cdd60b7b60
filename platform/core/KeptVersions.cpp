#include "platform/core/KeptVersions.h"

#include "platform/core/CopyFile.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Time.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::string_view kNewFileInfix = ".tmp-";
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kHistoryDays = 7;

bool IsSuffix(std::string_view s) {
    return s.size() == kSuffixLength && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

// A copy of the regular file `from` at the new name `to`, whole or not at all, with the
// same owner (where the process may set it) and mode.
bool CopyInto(const std::string& from, const std::string& to) {
    if (!CopyFile(AfxDevicePathFromHostPath(from), AfxDevicePathFromHostPath(to), TRUE))
        return false;
    struct stat st {};
    int fd = ::open(to.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 && ::stat(from.c_str(), &st) == 0)
        KeepOwnerAndMode(fd, st);
    if (fd >= 0)
        ::close(fd);
    return true;
}

// A hard link costs nothing; where one is not allowed (another user's file under the kernel's
// link protection, file systems without links) a copy is made.
bool LinkOrCopy(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0 || CopyInto(from, to);
}

bool IsHistoryName(std::string_view s) {
    static constexpr std::string_view kPattern = "dddd-dd-dd.vsl";
    if (s.size() != kPattern.size())
        return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (kPattern[i] == 'd' ? (s[i] < '0' || s[i] > '9') : s[i] != kPattern[i])
            return false;
    }
    return true;
}

void RemoveOldHistory(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> days;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsHistoryName(entry->d_name))
            days.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    if (days.size() <= kHistoryDays)
        return;
    // The names sort by date.
    std::sort(days.begin(), days.end());
    for (std::size_t i = 0; i + kHistoryDays < days.size(); ++i)
        ::unlink((folder + "/" + days[i]).c_str());
}
} // namespace

std::string SaveFolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SaveNameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

std::string NewFileName(const std::string& name, std::string_view suffix) {
    return "." + name + std::string(kNewFileInfix) + std::string(suffix);
}

void RemoveStaleNewFiles(const std::string& folder, const std::string& name) {
    const std::string prefix = NewFileName(name, "");
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> stems;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view entryName = entry->d_name;
        if (entryName.substr(0, prefix.size()) != prefix)
            continue;
        std::string_view rest = entryName.substr(prefix.size());
        if (rest.size() == kSuffixLength + 4 &&
            (rest.substr(kSuffixLength) == ".bak" || rest.substr(kSuffixLength) == ".day"))
            rest = rest.substr(0, kSuffixLength);
        if (IsSuffix(rest))
            stems.push_back(folder + "/" + prefix + std::string(rest));
    }
    ::closedir(dir);
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
            ::unlink((stem + ".bak").c_str());
            ::unlink((stem + ".day").c_str());
            if (fd >= 0)
                ::unlink(stem.c_str());
        }
        if (fd >= 0)
            ::close(fd);
    }
}

void KeepOwnerAndMode(int fd, const struct stat& st) {
    // Only root may give a file away; a user may still give it one of their groups.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
        [[maybe_unused]] int ignored = ::fchown(fd, uid_t(-1), st.st_gid);
    }
    // After the owner: a change of owner clears the set-id bits.
    ::fchmod(fd, st.st_mode & 07777);
}

void KeepBackup(const std::string& target, const std::string& newFile) {
    const std::string backup = target + ".bak";
    struct stat st {};
    if (::lstat(backup.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return; // a folder, FIFO, socket or device is never replaced
    // Through a name tied to the new file, so that a crash never leaves the backup missing
    // or half written.
    const std::string tied = newFile + ".bak";
    if (!LinkOrCopy(target, tied))
        return;
    // When the backup already is the target (a save at the same moment made it), the rename
    // does nothing and leaves the tied name.
    ::rename(tied.c_str(), backup.c_str());
    ::unlink(tied.c_str());
}

void KeepHistoryCopy(const std::string& target, const std::string& newFile) {
    const std::string folder = target + ".history";
    struct stat targetSt {};
    struct stat st {};
    if (::stat(target.c_str(), &targetSt) != 0)
        return;
    if (::mkdir(folder.c_str(), 0777) == 0) {
        // Root saving a user's list makes the folder the user's, as the list is.
        [[maybe_unused]] int ignored = ::chown(folder.c_str(), targetSt.st_uid, targetSt.st_gid);
    }
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return;
    std::tm today{};
    CTime::GetCurrentTime().GetLocalTm(&today);
    char name[32];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d.vsl", today.tm_year + 1900, today.tm_mon + 1,
                  today.tm_mday);
    const std::string copy = folder + "/" + name;
    if (::lstat(copy.c_str(), &st) == 0)
        return; // not the first save of the day
    if (::link(target.c_str(), copy.c_str()) != 0 && errno != EEXIST) {
        // The copy is written under a name tied to the new file, so that no half copy ever
        // carries the day's name.
        const std::string tied = newFile + ".day";
        if (CopyInto(target, tied) && ::rename(tied.c_str(), copy.c_str()) != 0)
            ::unlink(tied.c_str());
    }
    RemoveOldHistory(folder);
}
