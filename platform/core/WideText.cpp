#include "platform/core/WideText.h"

#include <unicode/ucol.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

namespace {
// The locale's name as ICU knows it: "de_DE.UTF-8@euro" is "de_DE". C and POSIX (and an
// unset locale) sort by the root collation, which knows every script, rather than by code.
std::string CollationLocale() {
    const char* name = nullptr;
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        name = std::getenv(variable);
        if (name && *name)
            break;
    }
    std::string locale = name ? name : "";
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX")
        locale.clear();
    return locale;
}

struct CollatorClose {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using Collator = std::unique_ptr<UCollator, CollatorClose>;

Collator OpenCollator() {
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(CollationLocale().c_str(), &status));
    if (U_FAILURE(status))
        return nullptr;
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_TERTIARY, &status);
    ucol_setAttribute(collator.get(), UCOL_CASE_FIRST, UCOL_LOWER_FIRST, &status);
    // A name typed with a combining accent sorts as the same name typed precomposed.
    ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    return U_SUCCESS(status) ? std::move(collator) : nullptr;
}

Collator& TheCollator() {
    static Collator collator = OpenCollator();
    return collator;
}
} // namespace

int lstrcmp(LPCTSTR a, LPCTSTR b) {
    a = a ? a : u"";
    b = b ? b : u"";
    if (const Collator& collator = TheCollator())
        return ucol_strcoll(collator.get(), a, -1, b, -1);
    // Without ICU's data every text still has its place: code unit order.
    for (; *a && *a == *b; ++a, ++b) {
    }
    return int(*a) - int(*b);
}

// For tests that change the collation locale: declared in their support, not above.
void ResetCollationForTesting();
void ResetCollationForTesting() {
    TheCollator() = OpenCollator();
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
