#include "platform/core/String.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

constexpr std::array<CString::SharedData, 128> CString::OneCharBuffers() {
    static_assert(offsetof(SharedData, chars) == sizeof(CStringData), "the header's layout");
    std::array<SharedData, 128> a{};
    for (int c = 0; c < 128; ++c)
        a[std::size_t(c)] = {{-1, 1, 1}, {TCHAR(c), 0}};
    return a;
}

// Ready before any constructor runs, so that static strings elsewhere may use them.
constinit std::array<CString::SharedData, 128> CString::s_oneChar = OneCharBuffers();

LPTSTR CString::Allocate(std::size_t nLength) {
    if (nLength >= std::size_t(std::numeric_limits<int>::max()))
        throw std::bad_alloc();
    void* p = std::malloc(sizeof(CStringData) + (nLength + 1) * sizeof(TCHAR));
    if (!p)
        throw std::bad_alloc();
    auto* pData = static_cast<CStringData*>(p);
    pData->nRefs = 1;
    pData->nDataLength = int(nLength);
    pData->nAllocLength = int(nLength);
    pData->data()[nLength] = 0;
    return pData->data();
}

void CString::Free(CStringData* p) noexcept {
    std::free(p);
}

CString::CString(std::u16string_view s) : CString() {
    Assign(s);
}

CString& CString::operator=(LPCTSTR psz) {
    Assign(psz ? std::u16string_view(psz) : std::u16string_view());
    return *this;
}

void CString::Empty() {
    Release();
    m_pchData = EmptyBuffer();
}

void CString::Assign(std::u16string_view s) {
    if (s.empty() || (s.size() == 1 && s[0] < 128)) {
        // Picked before the old buffer goes, in which s may lie.
        const LPTSTR pNew = s.empty() ? EmptyBuffer() : s_oneChar[s[0]].chars;
        Release();
        m_pchData = pNew;
        return;
    }
    CStringData* p = Data();
    if (p->nRefs == 1 && std::size_t(p->nAllocLength) >= s.size()) {
        std::memmove(m_pchData, s.data(), s.size() * sizeof(TCHAR));
        p->nDataLength = int(s.size());
        m_pchData[s.size()] = 0;
        return;
    }
    // Filled before the old buffer goes, in which s may lie; character by character, as texts
    // are short and the library's copy cost more here (bench/app).
    LPTSTR pNew = Allocate(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        pNew[i] = s[i];
    Release();
    m_pchData = pNew;
}

CString& CString::Append(std::u16string_view s) {
    if (s.empty())
        return *this;
    const std::size_t nOld = std::size_t(GetLength());
    const std::size_t nNew = nOld + s.size();
    CStringData* p = Data();
    if (p->nRefs == 1 && std::size_t(p->nAllocLength) >= nNew) {
        std::memcpy(m_pchData + nOld, s.data(), s.size() * sizeof(TCHAR));
        p->nDataLength = int(nNew);
        m_pchData[nNew] = 0;
        return *this;
    }
    // Room to grow, as texts built by appending go on growing.
    LPTSTR pNew = Allocate(nNew + (nOld > 0 ? nNew / 2 : 0));
    std::memcpy(pNew, m_pchData, nOld * sizeof(TCHAR));
    std::memcpy(pNew + nOld, s.data(), s.size() * sizeof(TCHAR));
    reinterpret_cast<CStringData*>(pNew)[-1].nDataLength = int(nNew);
    pNew[nNew] = 0;
    Release();
    m_pchData = pNew;
    return *this;
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
    const std::size_t n = std::size_t(std::max(nNewLength, 0));
    CStringData* p = Data();
    if (p->nRefs != 1 || std::size_t(p->nAllocLength) < n) {
        if (n == 0) {
            Empty();
            return m_pchData;
        }
        LPTSTR pNew = Allocate(n);
        std::memcpy(pNew, m_pchData, std::min(n, std::size_t(GetLength())) * sizeof(TCHAR));
        Release();
        m_pchData = pNew;
        p = Data();
    }
    p->nDataLength = int(n);
    m_pchData[n] = 0;
    return m_pchData;
}

int CString::Compare(LPCTSTR psz) const {
    int c = str().compare(psz ? psz : u"");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace {
// Format writes into a buffer on the stack, which holds the texts the program formats (a date
// for every row, a message): one allocation, the string's own. A longer text is counted first
// and then written into a buffer of its length.
struct FormatCounter {
    std::size_t n = 0;
    void Put(std::u16string_view s) { n += s.size(); }
    void Fill(std::size_t count, char16_t) { n += count; }
};

struct FormatWriter {
    TCHAR* p;
    TCHAR* pEnd;
    bool bOverflow = false;
    // Pieces are a few characters: copied one by one rather than by a library call.
    void Put(std::u16string_view s) {
        if (s.size() > std::size_t(pEnd - p))
            bOverflow = true;
        else
            for (char16_t c : s)
                *p++ = c;
    }
    void Fill(std::size_t count, char16_t c) {
        if (count > std::size_t(pEnd - p))
            bOverflow = true;
        else
            for (; count > 0; --count)
                *p++ = c;
    }
};

struct Decimal {
    explicit Decimal(long long v) {
        unsigned long long u =
            v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        do {
            digits[--first] = char16_t(u'0' + u % 10);
            u /= 10;
        } while (u != 0);
        if (v < 0)
            digits[--first] = u'-';
    }
    std::u16string_view Text() const { return {digits + first, std::size(digits) - first}; }
    char16_t digits[24];
    std::size_t first = std::size(digits);
};

template <class Out>
void PutPadded(Out& out, std::u16string_view text, int width, bool left, char16_t pad) {
    std::size_t fill = width > int(text.size()) ? std::size_t(width) - text.size() : 0;
    if (left) {
        out.Put(text);
        out.Fill(fill, u' ');
    } else if (pad == u'0' && !text.empty() && text[0] == u'-') {
        // The zero padding goes between the sign and the digits.
        out.Put(text.substr(0, 1));
        out.Fill(fill, u'0');
        out.Put(text.substr(1));
    } else {
        out.Fill(fill, pad);
        out.Put(text);
    }
}

template <class Out> void FormatInto(Out& out, LPCTSTR pszFormat, std::va_list args) {
    LPCTSTR pLiteral = pszFormat;
    for (LPCTSTR p = pszFormat; *p; ++p) {
        if (*p != u'%')
            continue;
        out.Put(std::u16string_view(pLiteral, std::size_t(p - pLiteral)));
        ++p;
        bool left = false;
        char16_t pad = u' ';
        for (; *p == u'-' || *p == u'0'; ++p) {
            if (*p == u'-')
                left = true;
            else
                pad = u'0';
        }
        int width = 0;
        for (; *p >= u'0' && *p <= u'9'; ++p)
            width = width * 10 + (*p - u'0');
        pLiteral = p + 1;
        switch (*p) {
        case u'd':
        case u'i':
            PutPadded(out, Decimal(va_arg(args, int)).Text(), width, left, pad);
            break;
        case u'u':
            PutPadded(out, Decimal(va_arg(args, unsigned)).Text(), width, left, pad);
            break;
        case u's': {
            LPCTSTR s = va_arg(args, LPCTSTR);
            PutPadded(out, s ? s : u"(null)", width, left, u' ');
            break;
        }
        case u'%':
            out.Put(u"%");
            break;
        case 0:
            --p; // a lone '%' at the end is dropped
            pLiteral = p + 1;
            break;
        default: // unknown conversions are copied as written
            out.Put(u"%");
            out.Put(std::u16string_view(p, 1));
        }
    }
    out.Put(std::u16string_view(pLiteral));
}
} // namespace

void CString::Format(LPCTSTR pszFormat, ...) {
    std::va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCTSTR pszFormat, std::va_list args) {
    std::va_list again;
    va_copy(again, args);
    TCHAR buffer[256];
    FormatWriter writer{buffer, buffer + std::size(buffer)};
    FormatInto(writer, pszFormat, args);
    if (!writer.bOverflow) {
        // Copied before the old text goes: the arguments may be this string's own characters.
        Assign(std::u16string_view(buffer, std::size_t(writer.p - buffer)));
        va_end(again);
        return;
    }
    std::va_list third;
    va_copy(third, again);
    FormatCounter counter;
    FormatInto(counter, pszFormat, again);
    va_end(again);
    CString text;
    LPTSTR pText = text.GetBufferSetLength(int(counter.n));
    FormatWriter whole{pText, pText + counter.n};
    FormatInto(whole, pszFormat, third);
    va_end(third);
    *this = std::move(text);
}

CString CString::FromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        unsigned c = s[i];
        int extra = c < 0x80             ? 0
                    : (c & 0xE0) == 0xC0 ? 1
                    : (c & 0xF0) == 0xE0 ? 2
                    : (c & 0xF8) == 0xF0 ? 3
                                         : -1;
        char32_t cp = extra == 0   ? c
                      : extra == 1 ? (c & 0x1F)
                      : extra == 2 ? (c & 0x0F)
                                   : (c & 0x07);
        bool ok = extra >= 0 && i + std::size_t(extra) < n;
        for (int k = 1; ok && k <= extra; ++k) {
            if ((s[i + std::size_t(k)] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + std::size_t(k)] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not text.
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i += std::size_t(extra) + 1;
    }
    return CString(std::move(out));
}

std::string CString::ToUtf8() const {
    const std::u16string_view text = str();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
