// CKeptVersions: the earlier versions of one file that its writers keep beside it: the backup,
// a copy a day, copies that did not read whole, and the conflict copies that sync engines leave.
#pragma once

#include "platform/core/WinTypes.h"

#include <string>
#include <vector>

// Everything is kept beside the file itself, links followed: "<file>.bak", the folder
// "<file>.history/" (a real folder of its own: a link in its place gets nothing) and
// "<file>.damaged". Only what these names say is ever removed or replaced, and only the daily
// copies are ever removed.
class CKeptVersions {
public:
    explicit CKeptVersions(const std::string& hostPath);

    // For CReplaceFile::Commit, with the new version whole on disk under the name newFile, just
    // before it replaces the file: keeps the current version as "<file>.bak" and, at the
    // first save of a day, as "<file>.history/YYYY-MM-DD<extension>", where the copies of the
    // seven newest days up to today stay. What cannot be kept is skipped: the save goes on.
    void KeepBeforeReplace(const std::string& newFile) const;

    // Keeps the file, which does not read whole, as the first free "<file>.damaged",
    // "<file>.damaged.1", ...; a copy with the same bytes is not made again. The copy's host
    // path, or an empty string when there is none.
    std::string KeepDamaged() const;

    // A copy that a sync engine made when two machines changed the file, or its backup, at
    // once (Syncthing's "sync-conflict", Nextcloud's and Dropbox's "conflicted copy").
    struct ConflictCopy {
        std::string path;
        BOOL bOfBackup;
    };
    // Those beside the file now, in name order.
    std::vector<ConflictCopy> ConflictCopies() const;
    // Moves a conflict copy into the history folder under its own name: kept, and never one of
    // the daily copies. FALSE when it stays where it is.
    BOOL Tidy(const ConflictCopy& copy) const;

    const std::string& GetFilePath() const { return m_file; }

private:
    // The history folder, made when missing; empty when there is no real folder of that name.
    std::string HistoryFolder() const;

    std::string m_file;
};
