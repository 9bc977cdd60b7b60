// One running program per device: a second start brings the first one's window to the front and
// ends, so two processes never hold the same list in memory.
#pragma once

#include "platform/core/WinTypes.h"

// Called by the main routine before the start-up routine. TRUE: this process goes on starting
// (no other one runs on this device, or the one that holds the claim does not answer). FALSE: a
// running program was asked to show its window; this one ends with nothing created.
// The device is the host folder of "\My Documents", so separate device roots never meet.
BOOL AfxClaimSingleInstance();
// Gives the claim up when the main routine ends, so that the next start runs.
void AfxReleaseSingleInstance();
