// The document and the other writers of its list file: a sync engine putting another machine's
// version in place, or leaving a conflict copy beside it. The window follows the file, merges
// garment by garment, and never saves over a version that it has not seen.
#include "data/VestoryListDoc.h"

#include "data/ListMerge.h"
#include "data/RowsMoved.h"
#include "platform/core/Afx.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/KeptVersions.h"
#include "res/resource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unordered_map>

namespace {
// Where each garment of from stands in to, or -1; equal garments are matched in turn. Most rows
// of another version are where they were, and are matched where they stand.
std::vector<int> NewRows(const std::vector<CData>& from, const std::vector<CData>& to) {
    std::vector<int> moved(from.size(), -1);
    std::vector<bool> taken(to.size(), false);
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i) {
        if (from[i] == to[i]) {
            moved[i] = int(i);
            taken[i] = true;
        }
    }
    std::unordered_map<std::string, std::deque<int>> rows;
    for (int i = 0; i < int(to.size()); ++i) {
        if (!taken[std::size_t(i)])
            rows[list_merge::RecordKey(to[std::size_t(i)])].push_back(i);
    }
    if (rows.empty())
        return moved;
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (moved[i] >= 0)
            continue;
        auto found = rows.find(list_merge::RecordKey(from[i]));
        if (found != rows.end() && !found->second.empty()) {
            moved[i] = found->second.front();
            found->second.pop_front();
        }
    }
    return moved;
}

// How many more times each garment is in a than in b (negative: fewer), with a garment of
// each kind to stand for it.
std::map<std::string, std::pair<int, CData>> CountDifference(const std::vector<CData>& a,
                                                             const std::vector<CData>& b) {
    std::map<std::string, std::pair<int, CData>> difference;
    for (const CData& data : a) {
        auto& entry = difference[list_merge::RecordKey(data)];
        if (entry.first++ == 0)
            entry.second = data;
    }
    for (const CData& data : b) {
        auto& entry = difference[list_merge::RecordKey(data)];
        if (entry.first-- == 0)
            entry.second = data;
    }
    return difference;
}
} // namespace

CVestoryListDoc::FileVersion CVestoryListDoc::FileVersionOf(const struct stat& st,
                                                            std::uint64_t nHash) {
    return {std::uint64_t(st.st_dev),
            std::uint64_t(st.st_ino),
            std::uint64_t(st.st_size),
            std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            nHash,
            TRUE};
}

BOOL CVestoryListDoc::FileVersion::IsSameFile(const FileVersion& other) const {
    return bKnown && other.bKnown && nDevice == other.nDevice && nInode == other.nInode &&
           nSize == other.nSize && nModified == other.nModified;
}

std::string CVestoryListDoc::ListHostPath() const {
    return AfxHostPathFromDevicePath(kListFile);
}

void CVestoryListDoc::WatchListFile() {
    // The folder of the file itself, links followed: that is where sync engines write.
    const std::string folder =
        std::filesystem::path(CKeptVersions(ListHostPath()).GetFilePath()).parent_path().string();
    if (!m_watch.IsWatching() || m_watch.GetFolder() != folder)
        m_watch.Watch(folder, ID_LIST_FILE_CHANGED);
}

void CVestoryListDoc::OnListFileChanged() {
    // A look already under way (asking the user something) looks again when it is done.
    if (m_nLooking > 0) {
        m_bLookAgain = TRUE;
        return;
    }
    ++m_nLooking;
    do {
        m_bLookAgain = FALSE;
        std::vector<CData> theirs;
        FileVersion version;
        // A list that is gone, or one half written: the window keeps its list and looks again
        // at the next change. Conflict copies wait too: a sync engine moves the list aside as
        // a copy just before it puts the other machine's version in its place, and the copy
        // is merged into that version, not into what this window held.
        const FileState state = ReadIfChanged(&theirs, &version);
        if (state == fileChanged)
            TakeIn(std::move(theirs), version, TRUE);
        if (state == fileSame || state == fileChanged)
            MergeConflictCopies();
    } while (m_bLookAgain);
    --m_nLooking;
}

CVestoryListDoc::FileState CVestoryListDoc::ReadIfChanged(std::vector<CData>* pTheirs,
                                                          FileVersion* pVersion, CString* pReason) {
    struct stat st {};
    if (::stat(ListHostPath().c_str(), &st) != 0) {
        if (errno == ENOENT)
            return fileMissing;
        if (pReason)
            *pReason = CString::FromUtf8(std::strerror(errno));
        return fileUnreadable;
    }
    // The file this window wrote or read last, untouched: nothing to read.
    if (FileVersionOf(st, 0).IsSameFile(m_onDisk))
        return fileSame;
    std::vector<CData> mine;
    mine.swap(m_items);
    CFileException error;
    const ReadResult result = ReadListFile(kListFile, &error, pVersion);
    pTheirs->swap(m_items);
    m_items.swap(mine);
    switch (result) {
    case readWhole:
        break;
    case readMissing:
        return fileMissing;
    case readDamaged:
        return fileNotWhole;
    default:
        if (pReason)
            *pReason = result == readTooLarge ? CString::FromUtf8(std::strerror(EFBIG))
                                              : error.GetReason();
        return fileUnreadable;
    }
    // Another file with the same bytes: another writer wrote what this window wrote, or a
    // sync engine brought it back, so the other writers have it too.
    if (m_onDisk.bKnown && pVersion->nHash == m_onDisk.nHash) {
        m_onDisk = *pVersion;
        m_lineage.Note(pVersion->nHash, TRUE, ListHostPath());
        return fileSame;
    }
    return fileChanged;
}

void CVestoryListDoc::TakeIn(std::vector<CData> theirs, const FileVersion& version, BOOL bSave) {
    const BOOL bOwnChanges = !m_unsavedIn.empty() || !m_unsavedOut.empty();
    // The version the list file held lost to another machine's in a sync engine's conflict (its
    // copy came first): this one grew beside it, not from it, and the two are merged as a
    // conflict copy would be, the list file's version first, as the other machine merges them.
    if (m_bLostToCopy && m_onDisk.nHash == m_nLostToCopy) {
        const std::uint64_t nLost = m_nLostToCopy;
        m_bLostToCopy = FALSE;
        std::vector<CData> lost = UnsavedBase();
        std::vector<CData> merged =
            list_merge::Merge(m_lineage.BaseFor(version.nHash, nLost), theirs, lost).items;
        m_lineage.Note(version.nHash, TRUE, ListHostPath());
        if (bOwnChanges)
            merged = list_merge::Merge(lost, m_items, merged).items;
        m_onDisk = version;
        ShowList(std::move(merged));
        SetUnsaved(theirs);
        m_bSharedMerge = !bOwnChanges;
        if (bSave)
            SaveList();
        return;
    }
    std::vector<CData> shown;
    if (bOwnChanges)
        shown = list_merge::Merge(UnsavedBase(), m_items, theirs).items;
    else if (m_bOrderUnsaved) // only the order is this window's own (a sort): it stays
        shown = list_merge::Merge(m_items, m_items, theirs).items;
    else
        shown = theirs;
    m_onDisk = version;
    m_lineage.Note(version.nHash, TRUE, ListHostPath());
    ShowList(std::move(shown));
    SetUnsaved(theirs);
    if (bSave && bOwnChanges)
        SaveList();
}

void CVestoryListDoc::MergeConflictCopies() {
    const CKeptVersions versions(ListHostPath());
    const std::vector<CKeptVersions::ConflictCopy> copies = versions.ConflictCopies();
    if (copies.empty())
        return;
    const std::vector<CData> onDisk = UnsavedBase();
    std::vector<CKeptVersions::ConflictCopy> merged;
    BOOL bChanged = FALSE;
    for (const CKeptVersions::ConflictCopy& copy : copies) {
        // A backup's copy holds nothing that the list and the history lack: it is only kept.
        if (!copy.bOfBackup) {
            std::vector<CData> mine;
            mine.swap(m_items);
            CFileException error;
            FileVersion version;
            const ReadResult result =
                ReadListFile(AfxDevicePathFromHostPath(copy.path), &error, &version);
            std::vector<CData> theirs;
            theirs.swap(m_items);
            m_items.swap(mine);
            // A copy of this machine's own version, which the list file still holds: the sync
            // engine lost it to another machine's, which may come to take the list file's place
            // after the copy (another device brought the copy first). Then the two are merged.
            if (result == readWhole && version.nHash == m_onDisk.nHash &&
                m_lineage.IsOnlyHere(version.nHash)) {
                m_bLostToCopy = TRUE;
                m_nLostToCopy = version.nHash;
                merged.push_back(copy);
                continue;
            }
            if (result != readWhole) {
                // Never merged, and left where it is; the user hears of it once.
                if (m_namedCopies.insert(copy.path).second) {
                    CString text;
                    text.Format(IDP_COPY_NOT_WHOLE, LPCTSTR(CString::FromUtf8(copy.path)));
                    AfxMessageBox(text, MB_ICONINFORMATION);
                }
                continue;
            }
            // Both machines merge the same two versions in the same order (the list file's,
            // then the copy's) from the same base, and so write the same bytes.
            std::vector<CData> items =
                list_merge::Merge(m_lineage.BaseFor(m_onDisk.nHash, version.nHash), m_items, theirs)
                    .items;
            m_lineage.NoteCopy(version.nHash, copy.path);
            if (items != m_items) {
                ShowList(std::move(items));
                bChanged = TRUE;
            }
        }
        merged.push_back(copy);
    }
    if (bChanged) {
        SetUnsaved(onDisk);
        m_bSharedMerge = TRUE;
        SaveList();
    }
    // The copies stay until their merge is saved: after a failed save, a later look finds the
    // merge held already and must not tidy them while it is in memory only.
    if (m_bSaveFailed)
        return;
    for (const CKeptVersions::ConflictCopy& copy : merged)
        versions.Tidy(copy);
}

void CVestoryListDoc::ShowList(std::vector<CData> items) {
    m_undo.BeforeOtherVersion(m_items);
    CRowsMoved moved;
    moved.m_newRow = NewRows(m_items, items);
    m_items = std::move(items);
    UpdateAllViews(nullptr, CRowsMoved::kHint, &moved);
}

std::vector<CData> CVestoryListDoc::UnsavedBase() const {
    std::vector<CData> base;
    base.reserve(m_items.size() + m_unsavedOut.size());
    // The garments that came in since are left out, the later ones first; those that went
    // out are added back. The order does not matter to a merge's base.
    auto net = CountDifference(m_unsavedIn, m_unsavedOut);
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        auto found = net.find(list_merge::RecordKey(*it));
        if (found != net.end() && found->second.first > 0) {
            --found->second.first;
            continue;
        }
        base.push_back(*it);
    }
    std::reverse(base.begin(), base.end());
    for (auto& [key, entry] : net) {
        for (; entry.first < 0; ++entry.first)
            base.push_back(entry.second);
    }
    return base;
}

void CVestoryListDoc::SetUnsaved(const std::vector<CData>& onDisk) {
    m_unsavedIn.clear();
    m_unsavedOut.clear();
    if (m_items == onDisk) // another writer's version taken in as it is
        return;
    for (auto& [key, entry] : CountDifference(m_items, onDisk)) {
        for (int n = entry.first; n > 0; --n)
            m_unsavedIn.push_back(entry.second);
        for (int n = entry.first; n < 0; ++n)
            m_unsavedOut.push_back(entry.second);
    }
}
