// Finds resources of the program's module by type, number and language.
#pragma once

#include "platform/core/Resource.h"
#include "res/Resources.h"

#include <gtest/gtest.h>

#include <span>

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);

inline const AFX_RESOURCE* FindProgramResource(UINT nType, UINT nID, LANGID wLanguage = kEnglish) {
    const AFX_RESOURCE* found = nullptr;
    for (const AFX_RESOURCE& res : VestoryListResources()->resources) {
        if (res.nType == nType && res.nID == nID && res.wLanguage == wLanguage) {
            EXPECT_EQ(found, nullptr)
                << "resource " << nType << "/" << nID << "/" << wLanguage << " is there twice";
            found = &res;
        }
    }
    return found;
}

template <typename T> std::span<const T> ResourceWords(const AFX_RESOURCE& res) {
    return {static_cast<const T*>(res.pData), res.nSize / sizeof(T)};
}
