#include "platform/core/KeptVersions.h"

#include "platform/core/CopyFile.h"
#include "platform/core/Time.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t kHistoryDays = 7;

// "Vestory.vsl" is "Vestory" and ".vsl"; a name without a dot has no extension.
std::pair<std::string, std::string> StemAndExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0)
        return {name, ""};
    return {name.substr(0, dot), name.substr(dot)};
}

bool AllOf(std::string_view s, std::size_t n, int (*is)(int)) {
    return s.size() == n && std::all_of(s.begin(), s.end(),
                                        [is](char c) { return is(static_cast<unsigned char>(c)); });
}

// Syncthing: "<stem>.sync-conflict-YYYYMMDD-HHMMSS-DEVICE7<extension>"; Nextcloud and
// Dropbox: "<stem> (... conflicted copy ...)<extension>".
bool IsConflictName(std::string_view name, const std::string& stem, const std::string& ext) {
    if (name.size() <= stem.size() + ext.size() || name.substr(0, stem.size()) != stem ||
        name.substr(name.size() - ext.size()) != ext)
        return false;
    std::string_view middle = name.substr(stem.size(), name.size() - stem.size() - ext.size());
    constexpr std::string_view kSyncthing = ".sync-conflict-";
    if (middle.substr(0, kSyncthing.size()) == kSyncthing) {
        middle.remove_prefix(kSyncthing.size());
        return middle.size() == 8 + 1 + 6 + 1 + 7 && middle[8] == '-' && middle[15] == '-' &&
               AllOf(middle.substr(0, 8), 8, ::isdigit) &&
               AllOf(middle.substr(9, 6), 6, ::isdigit) && AllOf(middle.substr(16), 7, ::isalnum);
    }
    // The bracket that says so comes right after the stem: "Vestory (copy) (... conflicted
    // copy ...).vsl" is a copy of the list "Vestory (copy).vsl".
    const std::size_t at = middle.find("conflicted copy");
    return at != std::string_view::npos && middle.back() == ')' && middle.rfind(" (", at) == 0;
}

bool IsDayName(std::string_view name, const std::string& ext) {
    if (name.size() != 10 + ext.size() || name.substr(10) != ext)
        return false;
    for (std::size_t i = 0; i < 10; ++i) {
        const bool bDash = i == 4 || i == 7;
        if (bDash ? name[i] != '-' : !std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

bool SameBytes(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (std::filesystem::file_size(a, ec) != std::filesystem::file_size(b, ec) || ec)
        return false;
    FILE* fa = std::fopen(a.c_str(), "rbe");
    FILE* fb = std::fopen(b.c_str(), "rbe");
    bool bSame = fa && fb;
    char bufA[65536], bufB[65536];
    while (bSame) {
        const std::size_t got = std::fread(bufA, 1, sizeof bufA, fa);
        bSame = std::fread(bufB, 1, sizeof bufB, fb) == got && std::memcmp(bufA, bufB, got) == 0;
        if (got == 0)
            break;
    }
    if (fa)
        std::fclose(fa);
    if (fb)
        std::fclose(fb);
    return bSame;
}

// "<path>", then "<path>.1", "<path>.2" ...; appended piece by piece, as GCC 12 at -O3 takes
// a "." + std::to_string(n) here for an overlapping copy.
std::string Numbered(const std::string& path, int n) {
    std::string numbered = path;
    if (n > 0) {
        numbered += '.';
        numbered += std::to_string(n);
    }
    return numbered;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}
} // namespace

CKeptVersions::CKeptVersions(const std::string& hostPath) {
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::weakly_canonical(hostPath, ec);
    m_file = ec ? hostPath : real.string();
}

std::string CKeptVersions::HistoryFolder() const {
    const std::string folder = m_file + ".history";
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 && errno == ENOENT &&
        ::mkdir(folder.c_str(), 0777) == 0 && ::stat(m_file.c_str(), &st) == 0) {
        // Root saving a user's list makes the folder the user's, as the list is.
        [[maybe_unused]] int ignored = ::chown(folder.c_str(), st.st_uid, st.st_gid);
    }
    // Never through a link: the folder it leads to is somebody else's business.
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? folder : std::string();
}

void CKeptVersions::KeepBeforeReplace(const std::string& newFile) const {
    // Under names tied to the new file ("<new file>.bak", "<new file>.day"), which a later
    // save removes when this one was killed: a crash never leaves a backup or a day's copy
    // missing or half written.
    const std::string backup = m_file + ".bak";
    struct stat st {};
    const bool bBackupFree =
        ::lstat(backup.c_str(), &st) != 0 || S_ISREG(st.st_mode) || S_ISLNK(st.st_mode);
    const std::string tied = newFile + ".bak";
    // A folder, FIFO, socket or device in the backup's place is never replaced. When the
    // backup already is the file (a save at the same moment made it), the rename does nothing
    // and leaves the tied name.
    if (bBackupFree && AfxLinkOrCopyFile(m_file, tied))
        ::rename(tied.c_str(), backup.c_str());
    ::unlink(tied.c_str());

    const std::string folder = HistoryFolder();
    if (folder.empty())
        return;
    std::tm today{};
    CTime::GetCurrentTime().GetLocalTm(&today);
    char day[40];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", today.tm_year + 1900, today.tm_mon + 1,
                  today.tm_mday);
    const std::string ext = StemAndExtension(AfxNameOf(m_file)).second;
    const std::string todayName = day + ext;
    const std::string copy = folder + "/" + todayName;
    if (Exists(copy))
        return; // not the first save of the day
    const std::string tiedDay = newFile + ".day";
    // Linked, not renamed: a copy that another writer made meanwhile is never replaced.
    const bool bKept =
        AfxLinkOrCopyFile(m_file, tiedDay) && ::link(tiedDay.c_str(), copy.c_str()) == 0;
    ::unlink(tiedDay.c_str());
    if (!bKept)
        return;

    // Only the program's own daily copies go: regular files of the list's owner, named by a day
    // up to today. A clock that was once ahead leaves copies dated later, which never push
    // today's out.
    struct stat fileSt {};
    if (::stat(m_file.c_str(), &fileSt) != 0)
        return;
    std::vector<std::string> days;
    for (const std::string& name : AfxFolderNames(folder)) {
        if (!IsDayName(name, ext) || name > todayName)
            continue;
        if (::lstat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == fileSt.st_uid)
            days.push_back(name);
    }
    std::sort(days.begin(), days.end()); // the names sort by date
    for (std::size_t i = 0; i + kHistoryDays < days.size(); ++i)
        ::unlink((folder + "/" + days[i]).c_str());
}

std::string CKeptVersions::KeepDamaged() const {
    std::string freePath;
    for (int n = 0; n < 1000; ++n) {
        const std::string copy = Numbered(m_file + ".damaged", n);
        if (SameBytes(m_file, copy))
            return copy;
        if (freePath.empty() && !Exists(copy))
            freePath = copy;
    }
    if (freePath.empty() || !AfxCopyNewFile(m_file, freePath))
        return std::string();
    return freePath;
}

std::vector<CKeptVersions::ConflictCopy> CKeptVersions::ConflictCopies() const {
    const auto [stem, ext] = StemAndExtension(AfxNameOf(m_file));
    const std::string backupStem = AfxNameOf(m_file);
    std::vector<ConflictCopy> copies;
    for (const std::string& name : AfxFolderNames(AfxFolderOf(m_file))) {
        const bool bOfFile = IsConflictName(name, stem, ext);
        if (bOfFile || IsConflictName(name, backupStem, ".bak"))
            copies.push_back({AfxFolderOf(m_file) + "/" + name, !bOfFile});
    }
    std::sort(copies.begin(), copies.end(),
              [](const ConflictCopy& a, const ConflictCopy& b) { return a.path < b.path; });
    return copies;
}

BOOL CKeptVersions::Tidy(const ConflictCopy& copy) const {
    const std::string folder = HistoryFolder();
    if (folder.empty())
        return FALSE;
    const std::string name = AfxNameOf(copy.path);
    for (int n = 0; n < 1000; ++n) {
        const std::string to = Numbered(folder + "/" + name, n);
        if (Exists(to)) {
            // The same copy kept already (another machine tidied it first): this one adds
            // nothing.
            if (SameBytes(copy.path, to))
                return ::unlink(copy.path.c_str()) == 0;
            continue;
        }
        // Never over anything: a name taken meanwhile is tried again with the next number.
        if (::link(copy.path.c_str(), to.c_str()) == 0)
            return ::unlink(copy.path.c_str()) == 0;
        if (errno != EEXIST)
            return ::rename(copy.path.c_str(), to.c_str()) == 0;
    }
    return FALSE;
}
