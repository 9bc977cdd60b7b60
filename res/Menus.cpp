#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

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
