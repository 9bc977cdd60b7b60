// CTime: a moment, and its fields in the local calendar.
#pragma once

#include "platform/core/WinTypes.h"

#include <ctime>

class CTime {
public:
    explicit CTime(std::time_t t = 0) : m_time(t) {}
    static CTime GetCurrentTime();
    // Local calendar fields as the C library gives them: tm_mday 1-31, tm_mon 0-11,
    // tm_year years since 1900.
    struct std::tm* GetLocalTm(struct std::tm* ptm) const;
    std::time_t GetTime() const { return m_time; }

    // Tests pin "now" to a moment; 0 (the default) follows the clock.
    static void SetCurrentTimeForTesting(std::time_t t);

private:
    std::time_t m_time;
};

// Waits dwMilliseconds, as the system's Sleep does.
void Sleep(DWORD dwMilliseconds);
