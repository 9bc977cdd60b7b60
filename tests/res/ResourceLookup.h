// Finds resources of the program's module the way the framework does, by type and number.
#pragma once

#include "platform/core/Resource.h"
#include "res/Resources.h"

#include <gtest/gtest.h>

#include <span>

inline const AFX_RESOURCE* FindProgramResource(UINT nType, UINT nID) {
    const AFX_RESOURCE* found = nullptr;
    for (const AFX_RESOURCE& res : VestoryListResources()->resources) {
        if (res.nType == nType && res.nID == nID) {
            EXPECT_EQ(found, nullptr) << "resource " << nType << "/" << nID << " is there twice";
            found = &res;
        }
    }
    return found;
}

template <typename T> std::span<const T> ResourceWords(const AFX_RESOURCE& res) {
    return {static_cast<const T*>(res.pData), res.nSize / sizeof(T)};
}
