// PinnedClock: "now", as the program reads it, pinned to a local time while the object lives,
// then the real clock again.
#pragma once

#include "platform/core/Time.h"

#include <ctime>

class PinnedClock {
public:
    PinnedClock(int year, int month, int day, int hour = 12, int minute = 0) {
        Set(year, month, day, hour, minute);
    }
    ~PinnedClock() { CTime::SetCurrentTimeForTesting(0); }
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

    void Set(int year, int month, int day, int hour = 12, int minute = 0) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_isdst = -1;
        CTime::SetCurrentTimeForTesting(std::mktime(&tm));
    }
};
