// The Pocket PC shell's services that the program calls.
#pragma once

#include "platform/core/WinTypes.h"

// What a window would like the soft input panel to do while it is active.
enum SIPSTATE { SIP_UP = 0, SIP_DOWN, SIP_FORCEDOWN, SIP_UNCHANGED, SIP_INPUTDIALOG };

// Asks the shell to show or hide the soft input panel for hwnd. A desktop has a real keyboard
// and no panel, so the wish is granted by doing nothing.
BOOL SHSipPreference(HWND hwnd, SIPSTATE st);
