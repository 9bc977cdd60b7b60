// CReplaceFile: writes a whole new version of a file beside it and puts it in place at once.
#pragma once

#include "platform/core/File.h"

#include <vector>

// Open() removes new files that killed saves left behind and creates a new file in the
// target's folder (creating missing folders); Commit() makes it durable, keeps the previous
// version as "<name>.bak" and renames the new file over the target, so the target is always
// either the old file or the new one, whole, and never missing. Abandon() (or destruction
// without Commit) removes the new file.
class CReplaceFile : public CFile {
public:
    ~CReplaceFile() override;
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags = modeCreate | modeWrite,
              void* pError = nullptr) override;
    // Throws CFileException; on failure the target is untouched and the new file removed.
    void Commit();
    void Abandon();
    void Close() override { Abandon(); }
    // Gathered in memory and written in large pieces: the archive hands over 4 KB at a time.
    void Write(const void* lpBuf, UINT nCount) override;

private:
    void WritePending();

    std::string m_targetHostPath;
    std::vector<BYTE> m_pending;
};
