// Internal to platform/win: menus on screen.
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>

class QMenu;

// Fills pMenu with the items of hMenu, pop-ups as sub-menus; each command's action carries its
// identifier as data.
void AfxFillQMenu(QMenu* pMenu, HMENU hMenu);
// Enables each command of pMenu (and its sub-menus) for which isEnabled says so; items that the
// menu itself greys stay grey.
void AfxUpdateQMenu(QMenu* pMenu, const std::function<bool(UINT)>& isEnabled);
// The command an action of AfxFillQMenu stands for.
UINT AfxCommandOfAction(const class QAction* pAction);
