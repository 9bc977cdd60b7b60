#include "platform/core/Archive.h"

#include "platform/core/Exception.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

namespace {
// Windows-1252 in 0x80-0x9F; the five unassigned bytes keep their own value, as the
// handheld's conversion does. Every other byte is its Latin-1 character.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr UINT kMaxChunk = 1u << 30;
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(UINT(std::max(nBufSize, 16))) {
    if (lpBuf) {
        m_lpBufStart = static_cast<BYTE*>(lpBuf);
    } else {
        m_ownBuf = std::make_unique<BYTE[]>(m_nBufSize);
        m_lpBufStart = m_ownBuf.get();
    }
    m_nBufBase = pFile->GetPosition();
    m_lpBufCur = m_lpBufStart;
    if (IsLoading()) {
        m_lpBufMax = m_lpBufStart;
        m_nFileLength = pFile->GetLength();
    } else {
        m_lpBufMax = m_lpBufStart + m_nBufSize;
    }
}

CArchive::~CArchive() {
    if (m_pFile && IsStoring()) {
        try {
            Flush();
        } catch (...) { // NOLINT: a destructor must not throw; Close() reports
        }
    }
}

void CArchive::Flush() {
    if (!IsStoring() || m_lpBufCur == m_lpBufStart)
        return;
    UINT n = UINT(m_lpBufCur - m_lpBufStart);
    m_pFile->Write(m_lpBufStart, n);
    m_nBufBase += n;
    m_lpBufCur = m_lpBufStart;
}

void CArchive::FillBuffer(UINT nBytesNeeded) {
    UINT unread = UINT(m_lpBufMax - m_lpBufCur);
    if (std::uint64_t(unread) + nBytesNeeded > m_nBufSize)
        throw CArchiveException(CArchiveException::generic, GetPosition());
    // Keep the unread bytes at the front and top up the rest of the buffer from the file.
    if (m_lpBufCur != m_lpBufStart) {
        std::memmove(m_lpBufStart, m_lpBufCur, unread);
        m_nBufBase += std::uint64_t(m_lpBufCur - m_lpBufStart);
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart + unread;
    }
    m_lpBufMax += m_pFile->Read(m_lpBufMax, m_nBufSize - unread);
    if (UINT(m_lpBufMax - m_lpBufCur) < unread + nBytesNeeded)
        throw CArchiveException(CArchiveException::endOfFile, GetPosition());
}

void CArchive::Close() {
    if (!m_pFile)
        return;
    try {
        Flush();
    } catch (...) {
        m_pFile = nullptr;
        throw;
    }
    m_pFile = nullptr;
}

std::uint64_t CArchive::GetRemaining() const {
    if (!IsLoading())
        return 0;
    std::uint64_t fileOffset = m_nBufBase + std::uint64_t(m_lpBufMax - m_lpBufStart);
    std::uint64_t inFile = m_nFileLength > fileOffset ? m_nFileLength - fileOffset : 0;
    return std::uint64_t(m_lpBufMax - m_lpBufCur) + inFile;
}

BOOL CArchive::IsAtEnd() const {
    return GetRemaining() == 0;
}

std::uint64_t CArchive::GetPosition() const {
    return m_nBufBase + std::uint64_t(m_lpBufCur - m_lpBufStart);
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    auto* dst = static_cast<BYTE*>(lpBuf);
    UINT done = std::min(nMax, UINT(m_lpBufMax - m_lpBufCur));
    std::memcpy(dst, m_lpBufCur, done);
    m_lpBufCur += done;
    if (done == nMax)
        return done;
    // The buffer is empty now: large reads go straight to the caller, small ones refill.
    m_nBufBase += std::uint64_t(m_lpBufMax - m_lpBufStart);
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
    UINT rest = nMax - done;
    if (rest >= m_nBufSize) {
        UINT got = m_pFile->Read(dst + done, rest);
        m_nBufBase += got;
        return done + got;
    }
    m_lpBufMax += m_pFile->Read(m_lpBufStart, m_nBufSize);
    UINT take = std::min(rest, UINT(m_lpBufMax - m_lpBufCur));
    std::memcpy(dst + done, m_lpBufCur, take);
    m_lpBufCur += take;
    return done + take;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    const auto* src = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_lpBufCur == m_lpBufMax)
            Flush();
        UINT n = std::min(nMax, UINT(m_lpBufMax - m_lpBufCur));
        std::memcpy(m_lpBufCur, src, n);
        m_lpBufCur += n;
        src += n;
        nMax -= n;
    }
}

BYTE CArchive::ReadByte() {
    if (m_lpBufCur >= m_lpBufMax)
        FillBuffer(1);
    return *m_lpBufCur++;
}

WORD CArchive::ReadWord() {
    if (m_lpBufCur + 2 > m_lpBufMax)
        FillBuffer(UINT(2 - (m_lpBufMax - m_lpBufCur)));
    WORD w = WORD(m_lpBufCur[0] | (m_lpBufCur[1] << 8));
    m_lpBufCur += 2;
    return w;
}

DWORD CArchive::ReadDword() {
    if (m_lpBufCur + 4 > m_lpBufMax)
        FillBuffer(UINT(4 - (m_lpBufMax - m_lpBufCur)));
    DWORD d = LoadLE32(m_lpBufCur);
    m_lpBufCur += 4;
    return d;
}

std::uint64_t CArchive::ReadLength() {
    BYTE b = ReadByte();
    if (b < 0xFF)
        return b;
    WORD w = ReadWord();
    if (w < 0xFFFF)
        return w;
    DWORD d = ReadDword();
    if (d < 0xFFFFFFFF)
        return d;
    std::uint64_t lo = ReadDword();
    return lo | (std::uint64_t(ReadDword()) << 32);
}

void CArchive::WriteLength(std::uint64_t n) {
    BYTE bytes[15];
    std::size_t k = 0;
    auto put = [&](std::uint64_t v, int count) {
        for (int i = 0; i < count; ++i)
            bytes[k++] = BYTE(v >> (8 * i));
    };
    if (n < 0xFF) {
        put(n, 1);
    } else if (n < 0xFFFE) {
        put(0xFF, 1);
        put(n, 2);
    } else if (n < 0xFFFFFFFF) {
        put(0xFF, 1);
        put(0xFFFF, 2);
        put(n, 4);
    } else {
        put(0xFF, 1);
        put(0xFFFF, 2);
        put(0xFFFFFFFF, 4);
        put(n, 8);
    }
    Write(bytes, UINT(k));
}

CArchive& CArchive::operator<<(const CString& s) {
    const std::u16string_view text = s.str();
    // Most texts are short: tag, one length byte and the code units straight into the buffer.
    if constexpr (std::endian::native == std::endian::little) {
        if (text.size() < 0xFF && std::size_t(m_lpBufMax - m_lpBufCur) >= 4 + 2 * text.size()) {
            m_lpBufCur[0] = 0xFF;
            m_lpBufCur[1] = 0xFE;
            m_lpBufCur[2] = 0xFF;
            m_lpBufCur[3] = BYTE(text.size());
            std::memcpy(m_lpBufCur + 4, text.data(), 2 * text.size());
            m_lpBufCur += 4 + 2 * text.size();
            return *this;
        }
    }
    static constexpr BYTE kWideTag[3] = {0xFF, 0xFE, 0xFF};
    Write(kWideTag, 3);
    WriteLength(text.size());
    if constexpr (std::endian::native == std::endian::little) {
        const auto* p = reinterpret_cast<const BYTE*>(text.data());
        std::size_t bytes = text.size() * 2;
        for (std::size_t off = 0; off < bytes; off += kMaxChunk)
            Write(p + off, UINT(std::min<std::size_t>(kMaxChunk, bytes - off)));
    } else {
        for (char16_t c : text) {
            BYTE le[2] = {BYTE(c), BYTE(c >> 8)};
            Write(le, 2);
        }
    }
    return *this;
}

namespace {
// A text's code units as they lie in the archive's buffer, little-endian.
struct BufferedText {
    const BYTE* p;
    std::size_t n;
    char16_t operator[](std::size_t i) const { return char16_t(p[2 * i] | (p[2 * i + 1] << 8)); }
    std::size_t size() const { return n; }
};

// The length, the first character and the last four tell a list's texts apart well enough
// (numbered names differ at their ends); the texts themselves are compared after the hash.
template <class Text> std::uint32_t SharedHash(const Text& text) {
    const std::size_t n = text.size();
    std::uint32_t hash = std::uint32_t(n) * 2654435761u;
    if (n != 0)
        hash = (hash ^ text[0]) * 16777619u;
    for (std::size_t k = n > 4 ? n - 4 : 0; k < n; ++k)
        hash = (hash ^ text[k]) * 16777619u;
    return hash;
}

template <class Text> bool SameText(const CString& s, const Text& text) {
    if (std::size_t(s.GetLength()) != text.size())
        return false;
    for (std::size_t i = text.size(); i-- > 0;)
        if (s[int(i)] != text[i])
            return false;
    return true;
}
} // namespace

template <class Text> void CArchive::SetShared(CString& s, const Text& text) {
    const std::size_t n = text.size();
    if (n == 0 || (n == 1 && text[0] < 128)) { // shared by every string already
        const char16_t c = n == 0 ? u'\0' : text[0];
        s = CString(std::u16string_view(&c, n));
        return;
    }
    const std::uint32_t hash = SharedHash(text);
    const std::size_t i = (hash >> 16) % std::size(m_shared);
    CString& slot = m_shared[i];
    if (m_sharedHash[i] == hash && SameText(slot, text)) {
        s = slot;
        return;
    }
    LPTSTR p = s.GetBufferSetLength(int(n));
    for (std::size_t k = 0; k < n; ++k)
        p[k] = text[k];
    slot = s;
    m_sharedHash[i] = hash;
}

CArchive& CArchive::operator>>(CString& s) {
    if constexpr (std::endian::native == std::endian::little) {
        // The common case, a short tagged text wholly in the buffer, is taken straight out.
        const std::size_t buffered = std::size_t(m_lpBufMax - m_lpBufCur);
        if (buffered >= 4 && m_lpBufCur[0] == 0xFF && m_lpBufCur[1] == 0xFE &&
            m_lpBufCur[2] == 0xFF && m_lpBufCur[3] < 0xFF &&
            buffered >= 4 + 2 * std::size_t(m_lpBufCur[3])) {
            const std::size_t length = m_lpBufCur[3];
            const BYTE* p = m_lpBufCur + 4;
            if (length <= kSharedLength) {
                SetShared(s, BufferedText{p, length});
            } else {
                LPTSTR text = s.GetBufferSetLength(int(length));
                for (std::size_t i = 0; i < length; ++i, p += 2)
                    text[i] = char16_t(p[0] | (p[1] << 8));
            }
            m_lpBufCur += 4 + 2 * length;
            return *this;
        }
    }
    const std::uint64_t start = GetPosition();
    bool wide = false;
    std::uint64_t length;
    BYTE b = ReadByte();
    if (b < 0xFF) {
        length = b;
    } else {
        WORD w = ReadWord();
        if (w == 0xFFFE) {
            wide = true;
            length = ReadLength();
        } else if (w < 0xFFFF) {
            length = w;
        } else {
            DWORD d = ReadDword();
            if (d < 0xFFFFFFFF) {
                length = d;
            } else {
                std::uint64_t lo = ReadDword();
                length = lo | (std::uint64_t(ReadDword()) << 32);
            }
        }
    }
    // A length the rest of the file cannot hold is damage; never allocate for it.
    const std::uint64_t unit = wide ? 2 : 1;
    if (length > GetRemaining() / unit)
        throw CArchiveException(CArchiveException::badLength, start);
    if (length >= std::uint64_t(std::numeric_limits<int>::max()))
        throw std::bad_alloc();

    // Read into a text of its own: s keeps its value if the file ends early.
    CString read;
    LPTSTR text = read.GetBufferSetLength(int(length));
    std::size_t bytes = std::size_t(length * unit);
    BYTE* dst = wide ? reinterpret_cast<BYTE*>(text) : nullptr;
    std::string narrow;
    if (!wide) {
        narrow.resize(bytes);
        dst = reinterpret_cast<BYTE*>(narrow.data());
    }
    for (std::size_t off = 0; off < bytes;) {
        UINT chunk = UINT(std::min<std::size_t>(kMaxChunk, bytes - off));
        UINT got = Read(dst + off, chunk);
        if (got != chunk)
            throw CArchiveException(CArchiveException::endOfFile, start);
        off += got;
    }
    if (wide) {
        if constexpr (std::endian::native != std::endian::little)
            for (std::size_t i = 0; i < length; ++i)
                text[i] = char16_t((text[i] >> 8) | (text[i] << 8));
    } else {
        for (std::size_t i = 0; i < bytes; ++i) {
            auto c = BYTE(narrow[i]);
            text[i] = c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : char16_t(c);
        }
    }
    if (length <= kSharedLength) {
        SetShared(s, read.str());
    } else {
        s = std::move(read);
    }
    return *this;
}
