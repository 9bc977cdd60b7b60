// GlobalMemoryStatus: how much memory the program can still get, so that a list too large
// for it is refused instead of ending the program.
#pragma once

#include "platform/core/WinTypes.h"

struct MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;        // per cent of physical memory in use
    ULONGLONG dwTotalPhys;     // bytes
    ULONGLONG dwAvailPhys;     // free and reclaimable bytes
    ULONGLONG dwTotalPageFile; // swap
    ULONGLONG dwAvailPageFile;
    ULONGLONG dwTotalVirtual; // the process's address-space limit
    ULONGLONG dwAvailVirtual; // what is left of it
};
using LPMEMORYSTATUS = MEMORYSTATUS*;

void GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer);
