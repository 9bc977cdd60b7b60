// CListLineage: what this machine knows of a list file's versions, to find the base of a merge
// with a version that another machine wrote.
#pragma once

#include "data/Data.h"

#include <cstdint>
#include <string>
#include <vector>

// The versions this machine read or wrote, oldest first, each with whether other writers are
// known to have had it, and the bytes of the latest of them. Kept in the user's state folder
// under the list's real path, never beside the list: a synced folder would carry one
// machine's knowledge to the other. A version is known by the fingerprint of its bytes.
class CListLineage {
public:
    CListLineage() = default;
    // listFile: the list's real path, links followed.
    explicit CListLineage(const std::string& listFile);

    // The list file now holds the version whose bytes the file at path holds: one this
    // machine wrote, or one it read. bShared: another writer had it too (it came from there,
    // or both machines make it alike). The same bytes again later are a version of their own.
    void Note(std::uint64_t nHash, BOOL bShared, const std::string& path);
    // A conflict copy at path holds a version that other writers had.
    void NoteCopy(std::uint64_t nHash, const std::string& path);
    // Whether the list file's newest version known here has these bytes.
    BOOL IsNewest(std::uint64_t nHash) const;
    // Whether this machine wrote the version with these bytes and no other writer is known to
    // have had it.
    BOOL IsOnlyHere(std::uint64_t nHash) const;

    // The base for merging a conflict copy into the list: the newest version that other
    // writers had too, of those that this machine had up to the older of the two versions
    // (the copy's bytes count as known only when no shared version came after them: the
    // same bytes again are another machine's new version). With neither known, the newest
    // such version at all. Without one, the oldest version this machine has before them, and
    // else none (an empty list, which keeps everything).
    std::vector<CData> BaseFor(std::uint64_t nList, std::uint64_t nCopy) const;

private:
    struct Version {
        std::uint64_t nHash;
        BOOL bShared;
    };
    void Append(std::uint64_t nHash, BOOL bShared, const std::string& path);
    void Load();
    void Store() const;
    std::string ContentPath(std::uint64_t nHash) const;
    // The version's garments, when its bytes are kept and still read as that version.
    BOOL ReadContent(std::uint64_t nHash, std::vector<CData>* pItems) const;

    std::string m_folder; // empty: nothing is kept
    std::vector<Version> m_versions;
};
