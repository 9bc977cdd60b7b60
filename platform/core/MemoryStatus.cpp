#include "platform/core/MemoryStatus.h"

#include <fstream>
#include <limits>
#include <string>
#include <sys/resource.h>

namespace {
// The values of /proc/meminfo and /proc/self/status are in kB.
ULONGLONG ProcValue(const char* file, const std::string& key) {
    std::ifstream in(file);
    std::string name;
    ULONGLONG kb = 0;
    while (in >> name) {
        if (name == key) {
            in >> kb;
            return kb * 1024;
        }
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return 0;
}

ULONGLONG Limit(int resource) {
    rlimit rl{};
    if (::getrlimit(resource, &rl) != 0 || rl.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<ULONGLONG>::max();
    return ULONGLONG(rl.rlim_cur);
}
} // namespace

void GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer) {
    MEMORYSTATUS& ms = *lpBuffer;
    ms.dwLength = sizeof(MEMORYSTATUS);
    ms.dwTotalPhys = ProcValue("/proc/meminfo", "MemTotal:");
    ms.dwAvailPhys = ProcValue("/proc/meminfo", "MemAvailable:");
    ms.dwTotalPageFile = ProcValue("/proc/meminfo", "SwapTotal:");
    ms.dwAvailPageFile = ProcValue("/proc/meminfo", "SwapFree:");
    ms.dwMemoryLoad = ms.dwTotalPhys == 0 ? 0 : DWORD(100 - ms.dwAvailPhys * 100 / ms.dwTotalPhys);
    // A limit on the address space (ulimit -v) or on the data segment bounds the process
    // before the machine does.
    const auto left = [](ULONGLONG limit, ULONGLONG used) {
        return limit > used ? limit - used : 0;
    };
    const ULONGLONG asLimit = Limit(RLIMIT_AS);
    const ULONGLONG dataLimit = Limit(RLIMIT_DATA);
    const ULONGLONG asLeft = left(asLimit, ProcValue("/proc/self/status", "VmSize:"));
    const ULONGLONG dataLeft = left(dataLimit, ProcValue("/proc/self/status", "VmData:"));
    ms.dwTotalVirtual = asLimit < dataLimit ? asLimit : dataLimit;
    ms.dwAvailVirtual = asLeft < dataLeft ? asLeft : dataLeft;
}
