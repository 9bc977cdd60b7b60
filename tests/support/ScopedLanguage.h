// The program's texts in another language for as long as the object lives; English, the
// language the test programs run in, comes back when it goes.
#pragma once

#include "platform/core/Language.h"

class ScopedLanguage {
public:
    explicit ScopedLanguage(LANGID wLanguage) : m_wInForce(SetThreadUILanguage(wLanguage)) {}
    ~ScopedLanguage() { SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT)); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

    LANGID InForce() const { return m_wInForce; }

private:
    LANGID m_wInForce;
};
