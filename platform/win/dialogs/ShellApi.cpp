#include "platform/win/dialogs/ShellApi.h"

BOOL SHSipPreference(HWND hwnd, SIPSTATE st) {
    return hwnd != nullptr && st >= SIP_UP && st <= SIP_INPUTDIALOG;
}
