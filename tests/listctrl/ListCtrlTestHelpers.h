// Sending the list control's messages the way the program does, and reading the list back.
#pragma once

#include "platform/win/listctrl/ListCtrlModel.h"

#include <string>
#include <vector>

inline LRESULT Send(CListCtrlModel& list, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return list.WindowProc(msg, wParam, lParam);
}
template <class T> LPARAM Ptr(T* p) {
    return reinterpret_cast<LPARAM>(p);
}

inline LRESULT InsertColumn(CListCtrlModel& list, int iCol, const char16_t* pszTitle, int cx) {
    LVCOLUMN col{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM,
                 LVCFMT_LEFT,
                 cx,
                 const_cast<LPWSTR>(pszTitle),
                 0,
                 iCol};
    return Send(list, LVM_INSERTCOLUMNW, WPARAM(iCol), Ptr(&col));
}

inline LRESULT InsertRow(CListCtrlModel& list, int iPos, const char16_t* pszText,
                         UINT mask = LVIF_TEXT | LVIF_IMAGE, UINT state = 0, UINT stateMask = 0) {
    LVITEM item{mask, iPos, 0, state, stateMask, const_cast<LPWSTR>(pszText), 0, 0, 0};
    return Send(list, LVM_INSERTITEMW, 0, Ptr(&item));
}

inline LRESULT SetState(CListCtrlModel& list, int iRow, UINT state, UINT mask) {
    LVITEM item{};
    item.state = state;
    item.stateMask = mask;
    return Send(list, LVM_SETITEMSTATE, WPARAM(iRow), Ptr(&item));
}

inline UINT GetState(CListCtrlModel& list, int iRow, UINT mask = ~0U) {
    return UINT(Send(list, LVM_GETITEMSTATE, WPARAM(iRow), LPARAM(mask)));
}

inline LRESULT SetText(CListCtrlModel& list, int iRow, int iSub, const char16_t* pszText) {
    LVITEM item{};
    item.iSubItem = iSub;
    item.pszText = const_cast<LPWSTR>(pszText);
    return Send(list, LVM_SETITEMTEXTW, WPARAM(iRow), Ptr(&item));
}

inline std::u16string GetText(CListCtrlModel& list, int iRow, int iSub) {
    char16_t buffer[256] = u"x";
    LVITEM item{};
    item.iSubItem = iSub;
    item.pszText = buffer;
    item.cchTextMax = 256;
    Send(list, LVM_GETITEMTEXTW, WPARAM(iRow), Ptr(&item));
    return buffer;
}

// Texts of one sub-item, top to bottom.
inline std::vector<std::u16string> Column(CListCtrlModel& list, int iSub) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < int(Send(list, LVM_GETITEMCOUNT)); ++i)
        texts.push_back(GetText(list, i, iSub));
    return texts;
}

// The program's four columns.
inline void InsertProgramColumns(CListCtrlModel& list) {
    InsertColumn(list, 0, u"AC", 30);
    InsertColumn(list, 1, u"Item Name", 100);
    InsertColumn(list, 2, u"Qty", 35);
    InsertColumn(list, 3, u"Date", 80);
}
