// CListCtrlModel, selection and focus: the rows' state bits and the selection mark.
#include "platform/win/listctrl/ListCtrlModel.h"

#include <algorithm>

LRESULT CListCtrlModel::OnGetNextItem(int iStart, UINT flags) const {
    // LVNI_FOCUSED and LVNI_SELECTED have the values of the state bits they ask for.
    const UINT need = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    for (int i = std::max(iStart + 1, 0); i < GetItemCount(); ++i) {
        if ((m_rows[std::size_t(i)].state & need) == need)
            return i;
    }
    return -1;
}

LRESULT CListCtrlModel::OnSetItemState(int iItem, const LVITEM* pItem) {
    if (!pItem)
        return FALSE;
    if (iItem == -1) {
        for (Row& row : m_rows)
            ApplyState(row, pItem->state, pItem->stateMask);
    } else if (IsRow(iItem)) {
        SetRowState(iItem, pItem->state, pItem->stateMask);
    } else {
        return FALSE;
    }
    Changed();
    return TRUE;
}

LRESULT CListCtrlModel::OnGetItemState(int iItem, UINT mask) const {
    return IsRow(iItem) ? LRESULT(m_rows[std::size_t(iItem)].state & mask) : 0;
}

LRESULT CListCtrlModel::OnGetSelectedCount() const {
    return m_nSelected;
}

LRESULT CListCtrlModel::OnGetSelectionMark() const {
    return m_iMark;
}

LRESULT CListCtrlModel::OnSetSelectionMark(int iMark) {
    const int iOld = m_iMark;
    // A mark that names no row would send its reader out of range later.
    m_iMark = IsRow(iMark) ? iMark : -1;
    return iOld;
}

void CListCtrlModel::SetRowState(int iItem, UINT state, UINT mask) {
    // Only one row has the focus, and only one is selected under LVS_SINGLESEL.
    UINT others = 0;
    if ((mask & state & LVIS_FOCUSED) != 0)
        others |= LVIS_FOCUSED;
    if ((mask & state & LVIS_SELECTED) != 0 && (m_dwStyle & LVS_SINGLESEL))
        others |= LVIS_SELECTED;
    if (others != 0) {
        for (Row& row : m_rows)
            ApplyState(row, 0, others);
    }
    ApplyState(m_rows[std::size_t(iItem)], state, mask);
}
