#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

AFX_RESOURCE VersionResource() {
    static const AFX_VERSIONINFO version{
        {1, 0, 0, 1},
        {1, 0, 0, 1},
        0x3F,
        0,
        4, // VOS__WINDOWS32
        1, // VFT_APP
        0,
        0x0409, // U.S. English
        1200,   // Unicode
        {
            {u"CompanyName", u""},
            {u"FileDescription", u"VestoryList WCE MFC Application"},
            {u"FileVersion", u"1, 0, 0, 1"},
            {u"InternalName", u"VestoryList"},
            {u"LegalCopyright", u"Copyright (C) 2026 The VestoryList authors"},
            {u"LegalTrademarks", u""},
            {u"OriginalFilename", u"VestoryList.EXE"},
            {u"ProductName", u"VestoryList"},
            {u"ProductVersion", u"1, 0, 0, 1"},
        }};
    return {RT_VERSION, VS_VERSION_INFO, &version, 0};
}
