// CString: the framework's wide (UTF-16) string.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(LPCTSTR psz) : m_str(psz ? psz : u"") {} // NOLINT: implicit as in the framework
    CString(std::u16string s) : m_str(std::move(s)) {}
    CString(std::u16string_view s) : m_str(s) {}

    // Out of line: GCC 12 warns falsely (-Wrestrict) when this assignment is inlined.
    CString& operator=(LPCTSTR psz);
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCTSTR psz) {
        if (psz)
            m_str += psz;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) { return a += b; }

    int GetLength() const { return int(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    TCHAR operator[](int i) const { return m_str[std::size_t(i)]; }
    operator LPCTSTR() const { return m_str.c_str(); } // NOLINT: as in the framework
    int Compare(LPCTSTR psz) const;

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

    const std::u16string& str() const { return m_str; }
    std::u16string& str() { return m_str; }

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCTSTR b) { return a.m_str == (b ? b : u""); }

private:
    std::u16string m_str;
};
