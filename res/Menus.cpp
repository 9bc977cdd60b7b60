#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

#include <utility>

namespace {

AFX_MENU_ITEM Popup(LPCTSTR text, std::vector<AFX_MENU_ITEM> items) {
    return {MF_POPUP, 0, text, std::move(items)};
}
AFX_MENU_ITEM Item(UINT id, LPCTSTR text) {
    return {MF_STRING, id, text, {}};
}
AFX_MENU_ITEM Separator() {
    return {MF_SEPARATOR, 0, nullptr, {}};
}

} // namespace

AFX_RESOURCE MainMenuResource() {
    static const AFX_MENU_ITEM menu{
        MF_STRING,
        0,
        nullptr,
        {
            Popup(u"&List", {Item(ID_LIST_NEW_ITEM, u"&New Item\tIns"), Separator(),
                             Item(ID_LIST_EXIT, u"E&xit\tCtrl+Q")}),
            Popup(u"&Tools", {Item(ID_APP_ABOUT, u"&About VestoryList...")}),
        }};
    return {RT_MENU, IDR_MAINFRAME, &menu, 0};
}

AFX_RESOURCE PopupMenuResource() {
    static const AFX_MENU_ITEM menu{
        MF_STRING,
        0,
        nullptr,
        {
            Popup(u"POPUP_MENU",
                  {Item(ID_POPUP_NEW, u"&New\tIns"), Item(ID_POPUP_EDIT, u"&Edit\tEnter"),
                   Separator(), Item(ID_POPUP_DELETE, u"&Delete\tDel")}),
        }};
    return {RT_MENU, IDR_POPUP_MENU, &menu, 0};
}
