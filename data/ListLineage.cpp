#include "data/ListLineage.h"

#include "data/FingerprintedFile.h"
#include "platform/core/Archive.h"
#include "platform/core/ContentHash.h"
#include "platform/core/CopyFile.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/UserFolders.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Enough to reach back over a long partition of many changes; the bytes of the newest few.
constexpr std::size_t kVersions = 64;
constexpr std::size_t kContents = 8;

std::string Hex(std::uint64_t n) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, n);
    return text;
}

} // namespace

CListLineage::CListLineage(const std::string& listFile) {
    const std::string state = AfxGetUserStateFolder();
    if (state.empty())
        return;
    CContentHash key;
    key.Add(listFile.data(), listFile.size());
    const std::string lists = state + "/lists";
    ::mkdir(lists.c_str(), 0700);
    m_folder = lists + "/" + Hex(key.GetValue());
    if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST) {
        m_folder.clear();
        return;
    }
    Load();
}

std::string CListLineage::ContentPath(std::uint64_t nHash) const {
    return m_folder + "/" + Hex(nHash) + ".vsl";
}

void CListLineage::Load() {
    std::ifstream in(m_folder + "/versions");
    std::string hash;
    char kind = 0;
    while (in >> hash >> kind) {
        if (hash.size() != 16 || (kind != 's' && kind != 'o'))
            break; // a damaged record ends what is known
        m_versions.push_back({std::stoull(hash, nullptr, 16), kind == 's'});
    }
}

void CListLineage::Store() const {
    // Written beside and renamed, so that a crash leaves the old record or the new one.
    const std::string path = m_folder + "/versions";
    const std::string fresh = path + ".new";
    {
        std::ofstream out(fresh, std::ios::trunc);
        for (const Version& v : m_versions)
            out << Hex(v.nHash) << ' ' << (v.bShared ? 's' : 'o') << '\n';
        if (!out)
            return;
    }
    std::rename(fresh.c_str(), path.c_str());

    // Bytes are kept for the newest versions only, and for the oldest of this machine's own
    // where no version is known to be shared.
    std::set<std::string> keep;
    std::size_t n = 0;
    for (auto it = m_versions.rbegin(); it != m_versions.rend() && n < kContents; ++it, ++n)
        keep.insert(Hex(it->nHash) + ".vsl");
    if (!m_versions.empty())
        keep.insert(Hex(m_versions.front().nHash) + ".vsl");
    // The newest shared versions, back to the first older than those kept above: the base of
    // a merge with any of them.
    for (std::size_t i = m_versions.size(); i-- > 0;) {
        if (m_versions[i].bShared) {
            keep.insert(Hex(m_versions[i].nHash) + ".vsl");
            if (m_versions.size() - i > kContents)
                break;
        }
    }
    for (const std::string& name : AfxFolderNames(m_folder)) {
        if (name.size() == 20 && name.compare(16, 4, ".vsl") == 0 && !keep.count(name))
            ::unlink((m_folder + "/" + name).c_str());
    }
}

void CListLineage::Note(std::uint64_t nHash, BOOL bShared, const std::string& path) {
    if (!m_versions.empty() && m_versions.back().nHash == nHash) {
        // The same version still: what is known of it only grows.
        if (bShared && !m_versions.back().bShared) {
            m_versions.back().bShared = TRUE;
            Store();
        }
        return;
    }
    Append(nHash, bShared, path);
}

void CListLineage::NoteCopy(std::uint64_t nHash, const std::string& path) {
    for (auto it = m_versions.rbegin(); it != m_versions.rend(); ++it) {
        if (it->nHash == nHash) {
            if (!it->bShared) {
                it->bShared = TRUE;
                Store();
            }
            return;
        }
    }
    Append(nHash, TRUE, path);
}

void CListLineage::Append(std::uint64_t nHash, BOOL bShared, const std::string& path) {
    if (m_folder.empty())
        return;
    m_versions.push_back({nHash, bShared});
    if (m_versions.size() > kVersions)
        m_versions.erase(m_versions.begin(), m_versions.end() - kVersions);
    // A hard link costs nothing and lives on when the list file is replaced; a copy is made
    // only of a version other writers had, which a merge may need as its base.
    const std::string content = ContentPath(nHash);
    if (::linkat(AT_FDCWD, path.c_str(), AT_FDCWD, content.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
        errno != EEXIST && bShared)
        AfxCopyNewFile(path, content);
    Store();
}

BOOL CListLineage::IsNewest(std::uint64_t nHash) const {
    return !m_versions.empty() && m_versions.back().nHash == nHash;
}

BOOL CListLineage::IsOnlyHere(std::uint64_t nHash) const {
    for (auto it = m_versions.rbegin(); it != m_versions.rend(); ++it) {
        if (it->nHash == nHash)
            return !it->bShared;
    }
    return FALSE;
}

BOOL CListLineage::ReadContent(std::uint64_t nHash, std::vector<CData>* pItems) const {
    CFingerprintedFile file;
    if (!file.Open(AfxDevicePathFromHostPath(ContentPath(nHash)), CFile::modeRead))
        return FALSE;
    std::vector<CData> items;
    try {
        CArchive ar(&file, CArchive::load);
        while (!ar.IsAtEnd()) {
            items.emplace_back();
            items.back().Serialize(ar);
        }
        ar.Close();
    } catch (const CException&) {
        return FALSE;
    }
    // A link whose file another program rewrote in place holds another version now.
    if (file.GetContentHash() != nHash)
        return FALSE;
    pItems->swap(items);
    return TRUE;
}

std::vector<CData> CListLineage::BaseFor(std::uint64_t nList, std::uint64_t nCopy) const {
    auto newest = [this](std::uint64_t nHash) {
        for (std::size_t i = m_versions.size(); i-- > 0;) {
            if (m_versions[i].nHash == nHash)
                return std::ptrdiff_t(i);
        }
        return std::ptrdiff_t(-1);
    };
    const std::ptrdiff_t list = newest(nList);
    std::ptrdiff_t copy = newest(nCopy);
    // The copy's bytes as a version this machine had before a shared one that the list's
    // version came after: another machine made the same bytes anew.
    for (std::ptrdiff_t i = copy + 1; copy >= 0 && i < list; ++i) {
        if (m_versions[std::size_t(i)].bShared)
            copy = -1;
    }
    // The older of the two that this machine knows; the other grew from it or beside it.
    std::ptrdiff_t limit = std::ptrdiff_t(m_versions.size()) - 1;
    if (list >= 0 && copy >= 0)
        limit = std::min(list, copy);
    else if (list >= 0 || copy >= 0)
        limit = std::max(list, copy);
    std::vector<CData> base;
    for (std::ptrdiff_t i = limit; i >= 0; --i) {
        if (m_versions[std::size_t(i)].bShared &&
            ReadContent(m_versions[std::size_t(i)].nHash, &base))
            return base;
    }
    // Nothing known to be shared: this machine's oldest version, which the other writers are
    // likeliest to have had. Too old a base brings back a deletion now and then; too new a
    // one would lose changes.
    for (std::ptrdiff_t i = 0; i <= limit; ++i) {
        if (ReadContent(m_versions[std::size_t(i)].nHash, &base))
            return base;
    }
    return {};
}
