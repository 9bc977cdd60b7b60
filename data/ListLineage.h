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

    // This machine now has the version whose bytes the file at path holds. bShared: another
    // writer had it too (it came from there, or both machines make it alike).
    void Note(std::uint64_t nHash, BOOL bShared, const std::string& path);
    BOOL Knows(std::uint64_t nHash) const;

    // The base for merging two versions that grew apart: of the two, the older one that this
    // machine knows, or the newest version before it, that other writers had too (with
    // neither known, the newest such version at all). Without one, the oldest version this
    // machine has before them, and else none (an empty list, which keeps everything).
    std::vector<CData> BaseFor(std::uint64_t nOne, std::uint64_t nOther) const;

private:
    struct Version {
        std::uint64_t nHash;
        BOOL bShared;
    };
    void Load();
    void Store() const;
    std::string ContentPath(std::uint64_t nHash) const;
    // The version's garments, when its bytes are kept and still read as that version.
    BOOL ReadContent(std::uint64_t nHash, std::vector<CData>* pItems) const;

    std::string m_folder; // empty: nothing is kept
    std::vector<Version> m_versions;
};
