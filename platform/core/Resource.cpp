#include "platform/core/Resource.h"

#include <algorithm>

namespace {
HINSTANCE g_hResource = nullptr;
}

HINSTANCE AfxGetResourceHandle() {
    return g_hResource;
}
HINSTANCE AfxGetInstanceHandle() {
    return g_hResource;
}
void AfxSetResourceHandle(HINSTANCE hInst) {
    g_hResource = hInst;
}

const AFX_RESOURCE* AfxFindResource(HINSTANCE hInst, UINT nID, UINT nType) {
    if (!hInst)
        return nullptr;
    for (const AFX_RESOURCE& r : hInst->resources)
        if (r.nType == nType && r.nID == nID)
            return &r;
    return nullptr;
}

int LoadString(HINSTANCE hInstance, UINT uID, LPTSTR lpBuffer, int nBufferMax) {
    if (!lpBuffer || nBufferMax <= 0)
        return 0;
    lpBuffer[0] = 0;
    const AFX_RESOURCE* table = AfxFindResource(hInstance, 0, RT_STRING);
    if (!table)
        return 0;
    const auto* entries = static_cast<const AFX_STRING_ENTRY*>(table->pData);
    for (std::size_t i = 0; i < table->nSize; ++i) {
        if (entries[i].nID != uID)
            continue;
        LPCTSTR text = entries[i].lpszText;
        int n = 0;
        // Cut to fit, as the core library does, always leaving room for the terminator.
        while (text[n] && n < nBufferMax - 1) {
            lpBuffer[n] = text[n];
            ++n;
        }
        lpBuffer[n] = 0;
        return n;
    }
    return 0;
}
