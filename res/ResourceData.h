// The resources of each res/ source file, as entries of the program's resource module.
#pragma once

#include "platform/core/Resource.h"

#include <utility>
#include <vector>

AFX_RESOURCE StringTableResource();
AFX_RESOURCE MainMenuResource();
AFX_RESOURCE PopupMenuResource();
AFX_RESOURCE MainMenuBarResource();
AFX_RESOURCE PopupMenuBarResource();
AFX_RESOURCE ToolBarResource();
AFX_RESOURCE AcceleratorResource();
AFX_RESOURCE AboutDialogResource();
AFX_RESOURCE ItemDialogResource();
AFX_RESOURCE ItemDialogInitResource();
AFX_RESOURCE VersionResource();
AFX_RESOURCE ToolBarBitmapResource();
AFX_RESOURCE CheckBoxBitmapResource();
AFX_RESOURCE IconResource();

// The resources of one language besides English: string table, menus and dialogs.
std::vector<AFX_RESOURCE> GermanResources();
std::vector<AFX_RESOURCE> FrenchResources();

// A menu's entries as the resource script writes them.
inline AFX_MENU_ITEM Popup(LPCTSTR text, std::vector<AFX_MENU_ITEM> items) {
    return {MF_POPUP, 0, text, std::move(items)};
}
inline AFX_MENU_ITEM Item(UINT id, LPCTSTR text) {
    return {MF_STRING, id, text, {}};
}
inline AFX_MENU_ITEM Separator() {
    return {MF_SEPARATOR, 0, nullptr, {}};
}
