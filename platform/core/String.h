// CString: the framework's wide (UTF-16) string. As the framework's own, copies share one
// reference-counted buffer until one of them changes, and every empty string shares one static
// buffer, so records, rows and copies hold a text once. The count is a plain integer: the
// program and its tool run on one thread.
#pragma once

#include "platform/core/WinTypes.h"

#include <array>
#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() noexcept : m_pchData(EmptyBuffer()) {}
    CString(const CString& s) noexcept : m_pchData(s.m_pchData) { AddRef(); }
    CString(CString&& s) noexcept : m_pchData(s.m_pchData) { s.m_pchData = EmptyBuffer(); }
    CString(LPCTSTR psz) : CString() { // NOLINT: implicit as in the framework
        if (psz && *psz && !psz[1] && *psz < 128)
            m_pchData = s_oneChar[*psz].chars;
        else if (psz && *psz)
            Assign(psz);
    }
    CString(std::u16string_view s);
    CString(const std::u16string& s) : CString(std::u16string_view(s)) {}
    ~CString() { Release(); }

    CString& operator=(const CString& s) noexcept {
        s.AddRef();
        Release();
        m_pchData = s.m_pchData;
        return *this;
    }
    CString& operator=(CString&& s) noexcept {
        if (this != &s) {
            Release();
            m_pchData = s.m_pchData;
            s.m_pchData = EmptyBuffer();
        }
        return *this;
    }
    CString& operator=(LPCTSTR psz);
    CString& operator+=(const CString& s) { return Append(s.str()); }
    CString& operator+=(LPCTSTR psz) { return psz ? Append(psz) : *this; }
    friend CString operator+(CString a, const CString& b) { return a += b; }

    int GetLength() const { return Data()->nDataLength; }
    BOOL IsEmpty() const { return GetLength() == 0; }
    void Empty();
    TCHAR operator[](int i) const { return m_pchData[i]; }
    operator LPCTSTR() const { return m_pchData; } // NOLINT: as in the framework
    int Compare(LPCTSTR psz) const;

    // A buffer of its own with room for nNewLength characters, which become the text: the
    // caller writes them (the text's first ones are there already). The terminator is set.
    LPTSTR GetBufferSetLength(int nNewLength);

    // printf-style formatting of the patterns the program uses (%d with width and
    // zero flag, %s for wide text, %%); the pattern may be a string resource.
    void Format(LPCTSTR pszFormat, ...);
    void Format(UINT nFormatID, ...);
    void FormatV(LPCTSTR pszFormat, std::va_list args);

    // String nID of the resources' string table; FALSE and empty when there is none.
    BOOL LoadString(UINT nID);

    // Conversions at the edges of the program (files, command line, terminal).
    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    std::u16string_view str() const { return {m_pchData, std::size_t(GetLength())}; }

    friend bool operator==(const CString& a, const CString& b) {
        return a.m_pchData == b.m_pchData || a.str() == b.str();
    }
    friend bool operator==(const CString& a, LPCTSTR b) {
        return a.str() == std::u16string_view(b ? b : u"");
    }

private:
    // The header in front of the characters. A count below 0 marks a buffer that is never
    // counted or freed: the empty text's, and those of the texts of one ASCII character
    // (quantities, sizes), which a list holds thousands of times.
    struct CStringData {
        int nRefs;
        int nDataLength;
        int nAllocLength;
        TCHAR* data() { return reinterpret_cast<TCHAR*>(this + 1); }
    };
    struct SharedData {
        CStringData header;
        TCHAR chars[2];
    };
    static inline constinit SharedData s_empty = {{-1, 0, 0}, {0, 0}};
    static std::array<SharedData, 128> s_oneChar;
    static constexpr std::array<SharedData, 128> OneCharBuffers();

    static LPTSTR EmptyBuffer() noexcept { return s_empty.chars; }
    CStringData* Data() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    void AddRef() const noexcept {
        if (Data()->nRefs >= 0)
            ++Data()->nRefs;
    }
    void Release() noexcept {
        CStringData* p = Data();
        if (p->nRefs >= 0 && --p->nRefs == 0)
            Free(p);
    }
    static void Free(CStringData* p) noexcept;
    // A new buffer with room for nLength characters and the terminator, counted once.
    static LPTSTR Allocate(std::size_t nLength);
    void Assign(std::u16string_view s);
    CString& Append(std::u16string_view s);

    LPTSTR m_pchData;
};
