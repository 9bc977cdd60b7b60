#include "platform/core/Object.h"

#include <cstring>

namespace {
// Zero-initialised before any static constructor runs, so classes may enter in any order.
CRuntimeClass* g_pFirstClass = nullptr;
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr,
                                       nullptr};

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
    for (const CRuntimeClass* p = g_pFirstClass; p; p = p->m_pNextClass)
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    return nullptr;
}

// A class may be entered from more than one translation unit (the program enters its
// serialisable classes ahead of its application object); it is listed once all the same.
AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
    for (const CRuntimeClass* p = g_pFirstClass; p; p = p->m_pNextClass)
        if (p == pNewClass)
            return;
    pNewClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pNewClass;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}
