// Languages, as resources carry them: the user's message language and the platform's pick of
// the one the program's texts are shown in.
#pragma once

#include "platform/core/WinTypes.h"

#include <string>

// A language: the primary language in the low 10 bits, the sublanguage above them.
using LANGID = WORD;
constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD LANG_GERMAN = 0x07;
constexpr WORD LANG_ENGLISH = 0x09;
constexpr WORD LANG_FRENCH = 0x0C;
constexpr WORD SUBLANG_DEFAULT = 0x01; // U.S. English, German of Germany, French of France
constexpr LANGID MAKELANGID(WORD wPrimary, WORD wSub) {
    return LANGID((wSub << 10) | wPrimary);
}
constexpr WORD PRIMARYLANGID(LANGID wLanguage) {
    return WORD(wLanguage & 0x3FF);
}

// The language that resources are looked up in: the first of the user's message languages
// (LANGUAGE, a list, unless LC_ALL, LC_MESSAGES or LANG says C or POSIX; else the first of
// those three that is set) in which the resource module has resources; else English.
LANGID GetThreadUILanguage();
// Puts another language in force for the rest of the run; 0 picks the user's again. Returns
// the language now in force.
LANGID SetThreadUILanguage(LANGID wLanguage);

// The language's ISO 639 code ("de"); empty for one the platform has no name for.
std::string AfxLanguageCode(LANGID wLanguage);
