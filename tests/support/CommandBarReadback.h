// The command bar's buttons as the user sees them, and pressing them.
#pragma once

#include "platform/core/String.h"

#include "tests/support/SourceLine.h"
#include <vector>

class CWnd;

struct BarButton {
    CString text; // empty for a picture button
    CString toolTip;
    bool enabled;
    bool hasPicture;
    bool opensMenu;
};

std::vector<BarButton> CommandBarButtons(CWnd* pBar);
// Presses button i (a menu bar button opens its pop-up: arm an action for it first).
void PressCommandBarButton(CWnd* pBar, int i, SourceLine where = SourceLine::current());

// One item of a pop-up as shown: its text (empty for a separator) and whether it is enabled.
struct MenuEntry {
    CString text;
    bool enabled;
    friend bool operator==(const MenuEntry& a, const MenuEntry& b) {
        return a.text == b.text && a.enabled == b.enabled;
    }
};
// Reads the items of the pop-up shown by the current modal handle's widget.
class ModalHandle;
std::vector<MenuEntry> MenuEntries(const ModalHandle& handle);
