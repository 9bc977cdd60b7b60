#include "platform/core/WideText.h"

#include <climits>

namespace {
// Lower-case partner of the letters the handheld's users type: ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic capitals.
char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return char16_t(c + 0x20);
    if (c < 0xC0)
        return c;
    if (c <= 0xDE && c != 0xD7)
        return char16_t(c + 0x20);
    if (c >= 0x100 && c <= 0x137 && c % 2 == 0)
        return char16_t(c + 1);
    if (c >= 0x139 && c <= 0x148 && c % 2 == 1)
        return char16_t(c + 1);
    if (c >= 0x14A && c <= 0x177 && c % 2 == 0)
        return char16_t(c + 1);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return char16_t(c + 0x20);
    if (c >= 0x410 && c <= 0x42F)
        return char16_t(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return char16_t(c + 0x50);
    return c;
}

bool IsLower(char16_t c) {
    return FoldCase(c) == c;
}
} // namespace

int lstrcmp(LPCTSTR a, LPCTSTR b) {
    a = a ? a : u"";
    b = b ? b : u"";
    int tieBreak = 0; // the first difference in case alone, lower case first
    for (;; ++a, ++b) {
        char16_t fa = FoldCase(*a);
        char16_t fb = FoldCase(*b);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        if (fa == 0)
            return tieBreak;
        if (tieBreak == 0 && *a != *b)
            tieBreak = IsLower(*a) ? -1 : 1;
    }
}

int _wtoi(LPCTSTR s) {
    if (!s)
        return 0;
    while (*s == u' ' || (*s >= u'\t' && *s <= u'\r'))
        ++s;
    bool negative = *s == u'-';
    if (*s == u'-' || *s == u'+')
        ++s;
    long long v = 0;
    for (; *s >= u'0' && *s <= u'9'; ++s) {
        v = v * 10 + (*s - u'0');
        if (v > 1LL + INT_MAX)
            v = 1LL + INT_MAX; // saturate, and keep the value from overflowing
    }
    if (negative)
        return v > INT_MAX ? INT_MIN : int(-v);
    return v > INT_MAX ? INT_MAX : int(v);
}

int lstrlen(LPCTSTR s) {
    int n = 0;
    if (s)
        while (s[n])
            ++n;
    return n;
}

LPTSTR lstrcpy(LPTSTR dst, LPCTSTR src) {
    LPTSTR d = dst;
    while ((*d++ = *src++) != 0) {
    }
    return dst;
}
