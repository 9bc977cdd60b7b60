// CReplaceFile: writes a whole new version of a file beside it and puts it in place at once.
#pragma once

#include "platform/core/ContentHash.h"
#include "platform/core/File.h"

#include <string>
#include <sys/stat.h>
#include <vector>

// Open() follows symbolic links to the file they lead to (the target), removes new files that
// killed saves left beside it and starts a new file there (creating the list's missing
// folders), with the target's permission bits and, where the process may set them, its owner
// and group. Commit() makes it durable and renames it over the target: the target is always
// either the old file or the new one, whole, and never missing; a link stays a link.
// Abandon() (or destruction without Commit) removes the new file. A folder, FIFO, socket or
// device in the target's place is never replaced.
class CKeptVersions;

class CReplaceFile : public CFile {
public:
    ~CReplaceFile() override;
    // FALSE when no new file can be started or the target must not be replaced; pError, when
    // given, is a CFileException that receives why.
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags = modeCreate | modeWrite,
              void* pError = nullptr) override;
    // Throws CFileException; on failure the target is untouched and the new file removed. A
    // file that keeps versions (a list) has pVersions keep the one it replaces.
    void Commit(const CKeptVersions* pVersions = nullptr);
    void Abandon();
    void Close() override { Abandon(); }
    // Gathered in memory and written in large pieces: the archive hands over 4 KB at a time.
    void Write(const void* lpBuf, UINT nCount) override;
    // The fingerprint of what was written since Open.
    std::uint64_t GetContentHash() const { return m_hash.GetValue(); }
    // After Commit: the file it put in place (device, inode, size, times) as it was written,
    // whatever another writer has put there since.
    const struct stat& GetCommittedStatus() const { return m_committed; }

private:
    void WritePending();

    std::string m_targetHostPath;
    std::vector<BYTE> m_pending;
    CContentHash m_hash;
    struct stat m_committed {};
};
