#include "platform/core/String.h"

#include <cstdarg>

CString& CString::operator=(LPCTSTR psz) {
    if (psz)
        m_str.assign(psz);
    else
        m_str.clear();
    return *this;
}

int CString::Compare(LPCTSTR psz) const {
    int c = m_str.compare(psz ? psz : u"");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

namespace {
void AppendPadded(std::u16string& out, std::u16string_view text, int width, bool left,
                  char16_t pad) {
    std::size_t fill = width > int(text.size()) ? std::size_t(width) - text.size() : 0;
    if (left) {
        out += text;
        out.append(fill, u' ');
    } else if (pad == u'0' && !text.empty() && text[0] == u'-') {
        // The zero padding goes between the sign and the digits.
        out += u'-';
        out.append(fill, u'0');
        out += text.substr(1);
    } else {
        out.append(fill, pad);
        out += text;
    }
}

std::u16string Decimal(long long v) {
    std::string digits = std::to_string(v);
    return std::u16string(digits.begin(), digits.end());
}
} // namespace

void CString::Format(LPCTSTR pszFormat, ...) {
    std::va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCTSTR pszFormat, std::va_list args) {
    std::u16string out;
    for (LPCTSTR p = pszFormat; *p; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
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
        switch (*p) {
        case u'd':
        case u'i':
            AppendPadded(out, Decimal(va_arg(args, int)), width, left, pad);
            break;
        case u'u':
            AppendPadded(out, Decimal(va_arg(args, unsigned)), width, left, pad);
            break;
        case u's': {
            LPCTSTR s = va_arg(args, LPCTSTR);
            AppendPadded(out, s ? s : u"(null)", width, left, u' ');
            break;
        }
        case u'%':
            out += u'%';
            break;
        case 0:
            --p; // a lone '%' at the end is dropped
            break;
        default: // unknown conversions are copied as written
            out += u'%';
            out += *p;
        }
    }
    m_str = std::move(out);
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
    std::string out;
    out.reserve(m_str.size());
    for (std::size_t i = 0; i < m_str.size(); ++i) {
        char32_t cp = m_str[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < m_str.size() && m_str[i + 1] >= 0xDC00 &&
            m_str[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (m_str[i + 1] - 0xDC00);
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
