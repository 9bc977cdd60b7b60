#include "tests/support/ListReadback.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/frame/Wnd.h"

int ListItemCount(CWnd* pList) {
    return int(pList->SendMessage(LVM_GETITEMCOUNT));
}

CString ListItemText(CWnd* pList, int iItem, int iSubItem) {
    TCHAR szText[512] = {};
    LVITEM item{};
    item.iSubItem = iSubItem;
    item.pszText = szText;
    item.cchTextMax = 512;
    pList->SendMessage(LVM_GETITEMTEXT, WPARAM(iItem), reinterpret_cast<LPARAM>(&item));
    return szText;
}

UINT ListItemState(CWnd* pList, int iItem, UINT mask) {
    return UINT(pList->SendMessage(LVM_GETITEMSTATE, WPARAM(iItem), LPARAM(mask)));
}

int ListStateImage(CWnd* pList, int iItem) {
    return int(ListItemState(pList, iItem, LVIS_STATEIMAGEMASK) >> 12);
}

int ListColumnCount(CWnd* pList) {
    int n = 0;
    for (;; ++n) {
        LVCOLUMN column{};
        column.mask = LVCF_WIDTH;
        if (!pList->SendMessage(LVM_GETCOLUMN, WPARAM(n), reinterpret_cast<LPARAM>(&column)))
            return n;
    }
}

CString ListColumnTitle(CWnd* pList, int iCol) {
    TCHAR szText[256] = {};
    LVCOLUMN column{};
    column.mask = LVCF_TEXT;
    column.pszText = szText;
    column.cchTextMax = 256;
    pList->SendMessage(LVM_GETCOLUMN, WPARAM(iCol), reinterpret_cast<LPARAM>(&column));
    return szText;
}

int ListColumnWidth(CWnd* pList, int iCol) {
    return int(pList->SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(iCol)));
}
