// CopyFile: a copy of a file under a new name, with the original's permission bits.
#pragma once

#include "platform/core/WinTypes.h"

// Copies lpExistingFileName to lpNewFileName. An existing file of that name is never replaced
// (FALSE with errno EEXIST): the program only makes new copies, so bFailIfExists must be TRUE. The
// copy appears whole or not at all, and holes of a sparse file stay holes. FALSE (errno set) on
// failure.
BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL bFailIfExists);
