// One running program per device: a second start brings the first one's window to the front and
// ends, so two processes never hold the same list in memory.
#pragma once

#include "platform/core/WinTypes.h"

// Called by the main routine before the start-up routine. TRUE: this process goes on starting
// (no other one runs on this device). FALSE: this one ends at once with *pExitCode, nothing
// created: 0 when the running program was asked to show its window (and to open
// lpszFileToOpen as File Open does, when it is not empty), 1 when it did not answer in time
// (stopped, or busy), which the user is told.
// The device is the host folder of "\My Documents", so separate device roots never meet. Only a
// program of the same user answers, and only the same user's starts are answered.
BOOL AfxClaimSingleInstance(LPCTSTR lpszFileToOpen, int* pExitCode);
// Gives the claim up when the main routine ends, so that the next start runs.
void AfxReleaseSingleInstance();
