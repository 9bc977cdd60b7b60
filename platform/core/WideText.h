// Wide-text helpers of the core library.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>

// Compares two texts as a person of the user's collation locale (LC_ALL, LC_COLLATE, LANG)
// sorts them; only the sign matters (above 0: a sorts after b). Case counts only between
// texts that are otherwise equal, lower case first; 0 means the texts sort as one.
int lstrcmp(LPCTSTR a, LPCTSTR b);
// Leading white space, one sign, decimal digits up to the first other character; a text
// without leading digits is 0. Saturates at the limits of a signed 32-bit integer.
int _wtoi(LPCTSTR s);
int lstrlen(LPCTSTR s);
LPTSTR lstrcpy(LPTSTR dst, LPCTSTR src);
