// CArchive: buffered, typed reading and writing of a CFile in the framework's layout.
#pragma once

#include "platform/core/File.h"

#include <cstring>
#include <memory>

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // A storing archive writes out what is still buffered. Errors on that path are swallowed
    // here; call Close() to see them.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Storing: writes the buffer out. Throws CFileException.
    void Flush();
    // Loading: makes nBytesNeeded more unread bytes available in the buffer than it holds now,
    // or throws CArchiveException(endOfFile) when the file holds fewer.
    void FillBuffer(UINT nBytesNeeded);
    // Storing: flushes; the archive is then detached from its file. Throws.
    void Close();

    // True when no unread byte is left, neither buffered nor in the file.
    BOOL IsAtEnd() const;
    // Loading: bytes not yet read, buffered or in the file.
    std::uint64_t GetRemaining() const;
    // Offset in the file of the next byte to be read or written.
    std::uint64_t GetPosition() const;

    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    CArchive& operator<<(const CString& s);
    CArchive& operator>>(CString& s);

    // 32-bit integers work on the buffer directly, flushing or filling when fewer than four
    // bytes remain. Little-endian, as on the handheld.
    CArchive& operator<<(LONG l) {
        if (m_lpBufCur + sizeof(LONG) > m_lpBufMax)
            Flush();
        StoreLE32(m_lpBufCur, DWORD(l));
        m_lpBufCur += sizeof(LONG);
        return *this;
    }
    CArchive& operator>>(LONG& l) {
        if (m_lpBufCur + sizeof(LONG) > m_lpBufMax)
            FillBuffer(UINT(sizeof(LONG) - (m_lpBufMax - m_lpBufCur)));
        l = LONG(LoadLE32(m_lpBufCur));
        m_lpBufCur += sizeof(LONG);
        return *this;
    }

    // The buffer: the next byte to read or write, and the end of the buffered data (loading)
    // or of the buffer (storing).
    BYTE* m_lpBufCur = nullptr;
    BYTE* m_lpBufMax = nullptr;

private:
    static void StoreLE32(BYTE* p, DWORD v) {
        p[0] = BYTE(v);
        p[1] = BYTE(v >> 8);
        p[2] = BYTE(v >> 16);
        p[3] = BYTE(v >> 24);
    }
    static DWORD LoadLE32(const BYTE* p) {
        return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
    }
    BYTE ReadByte();
    WORD ReadWord();
    DWORD ReadDword();
    std::uint64_t ReadLength(); // the length escapes shared by both string layouts
    void WriteLength(std::uint64_t n);
    // Loading: s becomes text, sharing the buffer of an equal short text read before, as
    // quantities, sizes and notes repeat from garment to garment.
    template <class Text> void SetShared(CString& s, const Text& text);
    static constexpr std::size_t kSharedLength = 32;

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nBufSize;
    std::unique_ptr<BYTE[]> m_ownBuf;
    BYTE* m_lpBufStart;
    std::uint64_t m_nBufBase = 0;    // file offset of the first byte of the buffer
    std::uint64_t m_nFileLength = 0; // loading: the file's length when the archive began
    CString m_shared[64];            // loading: short texts read last, by a hash of their text
    std::uint32_t m_sharedHash[64] = {};
};
