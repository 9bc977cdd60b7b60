#include "platform/core/Time.h"

#include <chrono>
#include <thread>

namespace {
std::time_t g_pinnedNow = 0;
}

CTime CTime::GetCurrentTime() {
    return CTime(g_pinnedNow ? g_pinnedNow : std::time(nullptr));
}

struct std::tm* CTime::GetLocalTm(struct std::tm* ptm) const {
    return localtime_r(&m_time, ptm);
}

void CTime::SetCurrentTimeForTesting(std::time_t t) {
    g_pinnedNow = t;
}

void Sleep(DWORD dwMilliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}
