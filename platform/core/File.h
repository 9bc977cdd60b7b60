// CFile: an unbuffered file. Device paths ("\My Documents\...") are mapped onto the host.
#pragma once

#include "platform/core/String.h"

#include <cstdint>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
    };

    CFile() = default;
    virtual ~CFile(); // closes a file still open
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Returns FALSE, raising nothing, when the file cannot be opened; pError, when given, is a
    // CFileException that receives why, with the host path. Opening for reading only never
    // waits and takes regular files only.
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, void* pError = nullptr);
    virtual void Close();
    std::uint64_t GetLength() const;
    std::uint64_t GetPosition() const;
    // Reads up to nCount bytes; fewer only at the end of the file. Throws CFileException.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws CFileException.
    virtual void Write(const void* lpBuf, UINT nCount);
    // Makes what was written durable (fsync). Throws CFileException.
    void Flush();
    const CString& GetFilePath() const { return m_strFileName; }
    BOOL IsOpen() const { return m_fd >= 0; }

protected:
    int m_fd = -1;
    CString m_strFileName;
    std::string m_hostPath;
};
