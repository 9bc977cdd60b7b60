#include "res/ResourceData.h"
#include "res/resource.h"

namespace {

// The shell's menu bar format: menu, button count, then per button its picture, command,
// state, style, text string, 0 and the position of its pop-up in the menu.
constexpr WORD I_IMAGENONE = 0xFFFE;
constexpr WORD TBSTATE_ENABLED = 0x04;
constexpr WORD TBSTYLE_DROPDOWN_AUTOSIZE = 0x18;

// clang-format off
constexpr WORD kMainMenuBar[] = {
    IDR_MAINFRAME, 2,
    I_IMAGENONE, ID_LIST_BUTTON, TBSTATE_ENABLED, TBSTYLE_DROPDOWN_AUTOSIZE, IDS_LIST, 0, 0,
    I_IMAGENONE, ID_TOOLS_BUTTON, TBSTATE_ENABLED, TBSTYLE_DROPDOWN_AUTOSIZE, IDS_TOOLS, 0, 1,
};

constexpr WORD kPopupMenuBar[] = {
    IDR_POPUP_MENU, 1,
    I_IMAGENONE, ID_POPUP_MENU_BUTTON, TBSTATE_ENABLED, TBSTYLE_DROPDOWN_AUTOSIZE, IDS_POPUP_MENU, 0, 0,
};
// clang-format on

} // namespace

AFX_RESOURCE MainMenuBarResource() {
    return {RT_RCDATA, IDR_MAINFRAME, kMainMenuBar, sizeof kMainMenuBar};
}

AFX_RESOURCE PopupMenuBarResource() {
    return {RT_RCDATA, IDR_POPUP_MENU, kPopupMenuBar, sizeof kPopupMenuBar};
}
