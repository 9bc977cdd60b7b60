// CListCtrlModel, input: taps, keys, the header and its dividers, and what lies where.
#include "platform/win/listctrl/ListCtrlModel.h"

#include "platform/win/WinUser.h"

#include <algorithm>

LRESULT CListCtrlModel::OnHitTest(LVHITTESTINFO* pInfo) const {
    if (!pInfo)
        return -1;
    const POINT pt = pInfo->pt;
    const LISTCTRLLAYOUT& l = m_layout;
    pInfo->flags = 0;
    pInfo->iItem = -1;
    pInfo->iSubItem = -1;
    if (pt.x < l.xRows)
        pInfo->flags |= LVHT_TOLEFT;
    if (pt.x >= l.xRows + l.cxRows)
        pInfo->flags |= LVHT_TORIGHT;
    if (pt.y < 0)
        pInfo->flags |= LVHT_ABOVE;
    if (pt.y >= l.yRows + l.cyRows)
        pInfo->flags |= LVHT_BELOW;
    if (pInfo->flags != 0)
        return -1;
    pInfo->flags = LVHT_NOWHERE;
    if (pt.y < l.yRows || l.cyRow <= 0) // on the header
        return -1;
    const int iRow = (pt.y - l.yRows + l.yScroll) / l.cyRow;
    const int iSub = SubItemAt(pt.x);
    if (!IsRow(iRow) || (iSub < 0 && !(m_dwExStyle & LVS_EX_FULLROWSELECT)))
        return -1;
    pInfo->flags = LVHT_ONITEMLABEL;
    pInfo->iItem = iRow;
    pInfo->iSubItem = iSub;
    return iRow;
}

LRESULT CListCtrlModel::OnGetItemRect(int iItem, RECT* pRect) const {
    if (!pRect || !IsRow(iItem))
        return FALSE;
    const LISTCTRLLAYOUT& l = m_layout;
    const int x = l.xRows - l.xScroll;
    const int y = l.yRows + iItem * l.cyRow - l.yScroll;
    int cxAll = 0;
    for (int i = 0; i < GetColumnCount(); ++i)
        cxAll += GetShownWidth(i);
    const int cxFirst = GetShownWidth(0);
    switch (pRect->left) {
    case LVIR_BOUNDS:
        *pRect = {x, y, x + cxAll, y + l.cyRow};
        break;
    case LVIR_ICON: // no small image list: the icon takes no room before the label
        *pRect = {x, y, x, y + l.cyRow};
        break;
    case LVIR_LABEL:
        *pRect = {x, y, x + cxFirst, y + l.cyRow};
        break;
    case LVIR_SELECTBOUNDS:
        *pRect = {x, y, x + ((m_dwExStyle & LVS_EX_FULLROWSELECT) ? cxAll : cxFirst), y + l.cyRow};
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

void CListCtrlModel::TapRow(int iRow, POINT ptClient, BOOL bControl) {
    if (!IsRow(iRow)) {
        TapEmpty(ptClient);
        return;
    }
    if (bControl && !(m_dwStyle & LVS_SINGLESEL)) {
        const UINT selected = m_rows[std::size_t(iRow)].state & LVIS_SELECTED;
        SetRowState(iRow, (selected ^ LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    } else {
        for (Row& row : m_rows)
            ApplyState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ApplyState(m_rows[std::size_t(iRow)], LVIS_SELECTED | LVIS_FOCUSED,
                   LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_iMark = iRow;
    Changed();
    // The receiver may rebuild or empty the list; nothing of it is touched afterwards.
    Notify(NM_CLICK, iRow, SubItemAt(ptClient.x), ptClient);
}

void CListCtrlModel::TapEmpty(POINT ptClient) {
    for (Row& row : m_rows)
        ApplyState(row, 0, LVIS_SELECTED);
    Changed();
    Notify(NM_CLICK, -1, -1, ptClient);
}

void CListCtrlModel::DoubleTapRow(int iRow, POINT ptClient) {
    Notify(NM_DBLCLK, IsRow(iRow) ? iRow : -1, SubItemAt(ptClient.x), ptClient);
}

void CListCtrlModel::RightTapRow(int iRow, POINT ptClient) {
    if (IsRow(iRow)) {
        if (!(m_rows[std::size_t(iRow)].state & LVIS_SELECTED)) {
            for (Row& row : m_rows)
                ApplyState(row, 0, LVIS_SELECTED);
        }
        SetRowState(iRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_iMark = iRow;
        Changed();
    }
    Notify(NM_RCLICK, IsRow(iRow) ? iRow : -1, SubItemAt(ptClient.x), ptClient);
}

void CListCtrlModel::KeyDown(WORD wVKey, BOOL bShift, int nPageRows) {
    NMLVKEYDOWN nm{};
    nm.hdr.code = LVN_KEYDOWN;
    nm.wVKey = wVKey;
    if (m_notifySink)
        m_notifySink(&nm.hdr);
    // The receiver may have rebuilt the list: everything is looked up afresh.
    if (wVKey == VK_RETURN) {
        Notify(NM_RETURN, GetFocusedRow(), -1, POINT{});
        return;
    }
    const int nRows = GetItemCount();
    if (nRows == 0)
        return;
    const int iFocus = GetFocusedRow();
    const int nPage = std::max(nPageRows - 1, 1);
    int iNew = 0;
    switch (wVKey) {
    case VK_UP:
        iNew = iFocus < 0 ? 0 : iFocus - 1;
        break;
    case VK_DOWN:
        iNew = iFocus < 0 ? 0 : iFocus + 1;
        break;
    case VK_HOME:
        iNew = 0;
        break;
    case VK_END:
        iNew = nRows - 1;
        break;
    case VK_PRIOR:
        iNew = iFocus - nPage;
        break;
    case VK_NEXT:
        iNew = iFocus < 0 ? 0 : iFocus + nPage;
        break;
    default:
        return;
    }
    iNew = std::clamp(iNew, 0, nRows - 1);
    const bool bExtend = bShift && !(m_dwStyle & LVS_SINGLESEL);
    const int iAnchor = bExtend && IsRow(m_iMark) ? m_iMark : iNew;
    const int iFirst = std::min(iAnchor, iNew);
    const int iLast = std::max(iAnchor, iNew);
    for (int i = 0; i < nRows; ++i) {
        const UINT state =
            (i >= iFirst && i <= iLast ? LVIS_SELECTED : 0) | (i == iNew ? LVIS_FOCUSED : 0);
        ApplyState(m_rows[std::size_t(i)], state, LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_iMark = iAnchor;
    Changed();
}

void CListCtrlModel::TapHeader(int iCol) {
    if (!IsColumn(iCol))
        return;
    NMLISTVIEW nm{};
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = iCol;
    if (m_notifySink)
        m_notifySink(&nm.hdr);
}

void CListCtrlModel::ResizeColumn(int iCol, int cx) {
    if (!IsColumn(iCol) || cx < 0)
        return;
    std::vector<int> shown;
    for (int i = 0; i < GetColumnCount(); ++i)
        shown.push_back(GetShownWidth(i));
    bool bChanged = false;
    for (int i = 0; i < GetColumnCount(); ++i) {
        Column& col = m_columns[std::size_t(i)];
        const int cxNew = i == iCol ? cx : shown[std::size_t(i)];
        bChanged = bChanged || col.cx != cxNew || (col.fmt & LVCFMT_FILL);
        col.cx = cxNew;
        col.fmt &= ~LVCFMT_FILL;
    }
    if (bChanged)
        Changed();
}

int CListCtrlModel::SubItemAt(int xClient) const {
    int x = xClient - m_layout.xRows + m_layout.xScroll;
    if (x < 0)
        return -1;
    for (int i = 0; i < GetColumnCount(); ++i) {
        x -= GetShownWidth(i);
        if (x < 0)
            return i;
    }
    return -1;
}

LRESULT CListCtrlModel::Notify(UINT code, int iItem, int iSubItem, POINT pt) {
    NMITEMACTIVATE nm{};
    nm.hdr.code = code;
    nm.iItem = iItem;
    nm.iSubItem = iSubItem;
    nm.ptAction = pt;
    return m_notifySink ? m_notifySink(&nm.hdr) : 0;
}
