// CFingerprintedFile: a list file opened for reading that keeps the fingerprint of the bytes
// read, so that a version is known by its bytes without reading them twice.
#pragma once

#include "platform/core/ContentHash.h"
#include "platform/core/File.h"

#include <sys/stat.h>

class CFingerprintedFile : public CFile {
public:
    UINT Read(void* lpBuf, UINT nCount) override {
        const UINT nGot = CFile::Read(lpBuf, nCount);
        m_hash.Add(lpBuf, nGot);
        return nGot;
    }
    std::uint64_t GetContentHash() const { return m_hash.GetValue(); }
    // Which file on the disk was opened, whatever its name is now.
    BOOL GetStatus(struct stat* pStatus) const { return ::fstat(m_fd, pStatus) == 0; }

private:
    CContentHash m_hash;
};
