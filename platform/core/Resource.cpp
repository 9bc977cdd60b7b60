#include "platform/core/Resource.h"

#include "platform/core/Afx.h"

#include <cstdarg>

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

namespace {

const AFX_RESOURCE* FindInLanguage(HINSTANCE hInst, UINT nID, UINT nType, WORD wPrimary) {
    for (const AFX_RESOURCE& r : hInst->resources)
        if (r.nType == nType && r.nID == nID && PRIMARYLANGID(r.wLanguage) == wPrimary)
            return &r;
    return nullptr;
}

LPCTSTR FindString(HINSTANCE hInst, UINT nID) {
    if (!hInst)
        return nullptr;
    for (const WORD wPrimary : {PRIMARYLANGID(GetThreadUILanguage()), LANG_ENGLISH}) {
        const AFX_RESOURCE* table = FindInLanguage(hInst, 0, RT_STRING, wPrimary);
        if (!table)
            continue;
        const auto* entries = static_cast<const AFX_STRING_ENTRY*>(table->pData);
        for (std::size_t i = 0; i < table->nSize; ++i)
            if (entries[i].nID == nID)
                return entries[i].lpszText;
    }
    return nullptr;
}

} // namespace

const AFX_RESOURCE* AfxFindResource(HINSTANCE hInst, UINT nID, UINT nType) {
    if (!hInst)
        return nullptr;
    const AFX_RESOURCE* r = FindInLanguage(hInst, nID, nType, PRIMARYLANGID(GetThreadUILanguage()));
    return r ? r : FindInLanguage(hInst, nID, nType, LANG_ENGLISH);
}

int LoadString(HINSTANCE hInstance, UINT uID, LPTSTR lpBuffer, int nBufferMax) {
    if (!lpBuffer || nBufferMax <= 0)
        return 0;
    lpBuffer[0] = 0;
    LPCTSTR text = FindString(hInstance, uID);
    if (!text)
        return 0;
    int n = 0;
    // Cut to fit, as the core library does, always leaving room for the terminator.
    while (text[n] && n < nBufferMax - 1) {
        lpBuffer[n] = text[n];
        ++n;
    }
    lpBuffer[n] = 0;
    return n;
}

// Defined with the resources, as the framework defines it, so that strings need nothing more.
BOOL CString::LoadString(UINT nID) {
    LPCTSTR text = FindString(AfxGetResourceHandle(), nID);
    *this = text ? text : u"";
    return text != nullptr;
}

void CString::Format(UINT nFormatID, ...) {
    CString format;
    format.LoadString(nFormatID);
    std::va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}
