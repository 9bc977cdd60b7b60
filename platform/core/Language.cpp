#include "platform/core/Language.h"

#include "platform/core/Resource.h"

#include <cstdlib>
#include <string_view>

namespace {

// The languages the platform knows by name.
constexpr struct {
    std::string_view code;
    WORD wPrimary;
} kLanguages[] = {{"de", LANG_GERMAN}, {"en", LANG_ENGLISH}, {"fr", LANG_FRENCH}};

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);

LANGID g_wLanguage = 0; // 0 until picked

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string_view CodeOf(std::string_view locale) {
    return locale.substr(0, locale.find_first_of("_.@"));
}

// C and POSIX ("C.UTF-8" too) are the untranslated program.
bool IsC(std::string_view locale) {
    return CodeOf(locale) == "C" || CodeOf(locale) == "POSIX";
}

// "de_AT.UTF-8@euro" is German.
WORD PrimaryOf(std::string_view locale) {
    if (IsC(locale))
        return LANG_ENGLISH;
    const std::string_view code = CodeOf(locale);
    for (const auto& language : kLanguages) {
        if (language.code == code)
            return language.wPrimary;
    }
    return LANG_NEUTRAL;
}

// The module's own language of that primary language, or 0 when it has none.
LANGID InModule(HINSTANCE hInst, WORD wPrimary) {
    if (!hInst || wPrimary == LANG_NEUTRAL)
        return 0;
    for (const AFX_RESOURCE& r : hInst->resources) {
        if (PRIMARYLANGID(r.wLanguage) == wPrimary)
            return r.wLanguage;
    }
    return 0;
}

// As gettext reads the environment: the locale's own language, or the LANGUAGE list in its
// place unless the locale is C.
LANGID PickUserLanguage(HINSTANCE hInst) {
    std::string_view locale = Variable("LC_ALL");
    if (locale.empty())
        locale = Variable("LC_MESSAGES");
    if (locale.empty())
        locale = Variable("LANG");
    if (locale.empty() || IsC(locale))
        return kEnglish;
    std::string_view list = Variable("LANGUAGE");
    if (list.empty())
        list = locale;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        if (const LANGID wLanguage = InModule(hInst, PrimaryOf(list.substr(0, colon))))
            return wLanguage;
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return kEnglish;
}

} // namespace

LANGID GetThreadUILanguage() {
    if (!g_wLanguage) {
        const HINSTANCE hInst = AfxGetResourceHandle();
        const LANGID wLanguage = PickUserLanguage(hInst);
        if (!hInst)
            return wLanguage; // picked again once the resources are there
        g_wLanguage = wLanguage;
    }
    return g_wLanguage;
}

LANGID SetThreadUILanguage(LANGID wLanguage) {
    g_wLanguage = wLanguage;
    return GetThreadUILanguage();
}

std::string AfxLanguageCode(LANGID wLanguage) {
    for (const auto& language : kLanguages) {
        if (language.wPrimary == PRIMARYLANGID(wLanguage))
            return std::string(language.code);
    }
    return {};
}
