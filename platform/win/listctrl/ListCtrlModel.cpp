#include "platform/win/listctrl/ListCtrlModel.h"

#include "platform/win/WinUser.h"

#include <algorithm>

namespace {

// Copies text into a caller's buffer of cchMax characters, terminator included, and returns
// the number of characters copied.
int CopyText(const std::u16string& text, LPWSTR pszBuffer, int cchMax) {
    if (!pszBuffer || cchMax <= 0)
        return 0;
    const int n = std::min(int(text.size()), cchMax - 1);
    std::copy_n(text.data(), n, pszBuffer);
    pszBuffer[n] = u'\0';
    return n;
}

const std::u16string kEmpty;

} // namespace

BOOL CListCtrlModel::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pItem = reinterpret_cast<LVITEM*>(lParam);
    LRESULT lResult = 0;
    switch (msg) {
    case LVM_SETIMAGELIST:
        lResult = OnSetImageList(int(wParam), reinterpret_cast<HIMAGELIST>(lParam));
        break;
    case LVM_GETIMAGELIST:
        lResult = OnGetImageList(int(wParam));
        break;
    case LVM_GETITEMCOUNT:
        lResult = OnGetItemCount();
        break;
    case LVM_DELETEITEM:
        lResult = OnDeleteItem(int(wParam));
        break;
    case LVM_DELETEALLITEMS:
        lResult = OnDeleteAllItems();
        break;
    case LVM_GETNEXTITEM:
        lResult = OnGetNextItem(int(wParam), UINT(LOWORD(std::uintptr_t(lParam))));
        break;
    case LVM_HITTEST:
        lResult = OnHitTest(reinterpret_cast<LVHITTESTINFO*>(lParam));
        break;
    case LVM_GETCOLUMNWIDTH:
        lResult = OnGetColumnWidth(int(wParam));
        break;
    case LVM_SETCOLUMNWIDTH:
        lResult = OnSetColumnWidth(int(wParam), short(LOWORD(std::uintptr_t(lParam))));
        break;
    case LVM_SETITEMSTATE:
        lResult = OnSetItemState(int(wParam), pItem);
        break;
    case LVM_GETITEMSTATE:
        lResult = OnGetItemState(int(wParam), UINT(lParam));
        break;
    case LVM_GETSELECTEDCOUNT:
        lResult = OnGetSelectedCount();
        break;
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        lResult = OnSetExtendedStyle(DWORD(wParam), DWORD(lParam));
        break;
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        lResult = OnGetExtendedStyle();
        break;
    case LVM_GETSELECTIONMARK:
        lResult = OnGetSelectionMark();
        break;
    case LVM_SETSELECTIONMARK:
        lResult = OnSetSelectionMark(int(lParam));
        break;
    case LVM_GETITEMW:
        lResult = OnGetItem(pItem);
        break;
    case LVM_SETITEMW:
        lResult = OnSetItem(pItem);
        break;
    case LVM_INSERTITEMW:
        lResult = OnInsertItem(pItem);
        break;
    case LVM_GETCOLUMNW:
        lResult = OnGetColumn(int(wParam), reinterpret_cast<LVCOLUMN*>(lParam));
        break;
    case LVM_INSERTCOLUMNW:
        lResult = OnInsertColumn(int(wParam), reinterpret_cast<const LVCOLUMN*>(lParam));
        break;
    case LVM_GETITEMTEXTW:
        lResult = OnGetItemText(int(wParam), pItem);
        break;
    case LVM_SETITEMTEXTW:
        lResult = OnSetItemText(int(wParam), pItem);
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = lResult;
    return TRUE;
}

LRESULT CListCtrlModel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    OnWndMsg(msg, wParam, lParam, &lResult);
    return lResult;
}

LRESULT CListCtrlModel::OnSetImageList(int nImageList, HIMAGELIST hImageList) {
    if (nImageList < LVSIL_NORMAL || nImageList > LVSIL_STATE)
        return 0;
    HIMAGELIST hOld = m_hImageLists[nImageList];
    m_hImageLists[nImageList] = hImageList;
    Changed();
    return reinterpret_cast<LRESULT>(hOld);
}

LRESULT CListCtrlModel::OnGetImageList(int nImageList) const {
    if (nImageList < LVSIL_NORMAL || nImageList > LVSIL_STATE)
        return 0;
    return reinterpret_cast<LRESULT>(m_hImageLists[nImageList]);
}

LRESULT CListCtrlModel::OnGetItemCount() const {
    return GetItemCount();
}

LRESULT CListCtrlModel::OnDeleteItem(int iItem) {
    if (!IsRow(iItem))
        return FALSE;
    m_rows.erase(m_rows.begin() + iItem);
    if (m_iMark == iItem)
        m_iMark = -1;
    else if (m_iMark > iItem)
        --m_iMark;
    Changed();
    return TRUE;
}

LRESULT CListCtrlModel::OnDeleteAllItems() {
    m_rows.clear();
    m_iMark = -1;
    Changed();
    return TRUE;
}

LRESULT CListCtrlModel::OnGetNextItem(int iStart, UINT flags) const {
    // LVNI_FOCUSED and LVNI_SELECTED have the values of the state bits they ask for.
    const UINT need = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    for (int i = std::max(iStart + 1, 0); i < GetItemCount(); ++i) {
        if ((m_rows[std::size_t(i)].state & need) == need)
            return i;
    }
    return -1;
}

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

LRESULT CListCtrlModel::OnGetColumnWidth(int iCol) const {
    return IsColumn(iCol) ? m_columns[std::size_t(iCol)].cx : 0;
}

LRESULT CListCtrlModel::OnSetColumnWidth(int iCol, int cx) {
    // The automatic widths (negative cx) would need text measurement, which is the widget's.
    if (!IsColumn(iCol) || cx < 0)
        return FALSE;
    m_columns[std::size_t(iCol)].cx = cx;
    Changed();
    return TRUE;
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
    return std::count_if(m_rows.begin(), m_rows.end(),
                         [](const Row& row) { return (row.state & LVIS_SELECTED) != 0; });
}

LRESULT CListCtrlModel::OnSetExtendedStyle(DWORD dwMask, DWORD dwStyle) {
    const DWORD dwOld = m_dwExStyle;
    if (dwMask == 0)
        dwMask = ~DWORD(0);
    m_dwExStyle = (m_dwExStyle & ~dwMask) | (dwStyle & dwMask);
    Changed();
    return LRESULT(dwOld);
}

LRESULT CListCtrlModel::OnGetExtendedStyle() const {
    return LRESULT(m_dwExStyle);
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

LRESULT CListCtrlModel::OnGetItem(LVITEM* pItem) const {
    if (!pItem || !IsRow(pItem->iItem) || pItem->iSubItem < 0)
        return FALSE;
    const Row& row = m_rows[std::size_t(pItem->iItem)];
    if (pItem->mask & LVIF_TEXT) {
        const auto sub = std::size_t(pItem->iSubItem);
        CopyText(sub < row.texts.size() ? row.texts[sub] : kEmpty, pItem->pszText,
                 pItem->cchTextMax);
    }
    if (pItem->mask & LVIF_IMAGE)
        pItem->iImage = row.iImage;
    if (pItem->mask & LVIF_PARAM)
        pItem->lParam = row.lParam;
    if (pItem->mask & LVIF_STATE)
        pItem->state = row.state & pItem->stateMask;
    return TRUE;
}

LRESULT CListCtrlModel::OnSetItem(const LVITEM* pItem) {
    if (!pItem || !IsRow(pItem->iItem) || !IsSubItem(pItem->iSubItem))
        return FALSE;
    Row& row = m_rows[std::size_t(pItem->iItem)];
    if (pItem->mask & LVIF_TEXT)
        SetText(row, pItem->iSubItem, pItem->pszText);
    // Image, data and state belong to the row, so only sub-item 0 carries them.
    if (pItem->iSubItem == 0) {
        if (pItem->mask & LVIF_IMAGE)
            row.iImage = pItem->iImage;
        if (pItem->mask & LVIF_PARAM)
            row.lParam = pItem->lParam;
        if (pItem->mask & LVIF_STATE)
            SetRowState(pItem->iItem, pItem->state, pItem->stateMask);
    }
    Changed();
    return TRUE;
}

LRESULT CListCtrlModel::OnInsertItem(const LVITEM* pItem) {
    if (!pItem || pItem->iItem < 0 || pItem->iSubItem != 0)
        return -1;
    const int iPos = std::min(pItem->iItem, GetItemCount());
    Row row;
    // Room for every column's text at once: rows are filled cell by cell right after this.
    row.texts.reserve(std::max<std::size_t>(m_columns.size(), 1));
    if (pItem->mask & LVIF_TEXT)
        SetText(row, 0, pItem->pszText);
    if (pItem->mask & LVIF_IMAGE)
        row.iImage = pItem->iImage;
    if (pItem->mask & LVIF_PARAM)
        row.lParam = pItem->lParam;
    m_rows.insert(m_rows.begin() + iPos, std::move(row));
    if (m_iMark >= iPos)
        ++m_iMark;
    if (pItem->mask & LVIF_STATE)
        SetRowState(iPos, pItem->state, pItem->stateMask);
    Changed();
    return iPos;
}

LRESULT CListCtrlModel::OnGetColumn(int iCol, LVCOLUMN* pColumn) const {
    if (!pColumn || !IsColumn(iCol))
        return FALSE;
    const Column& col = m_columns[std::size_t(iCol)];
    if (pColumn->mask & LVCF_FMT)
        pColumn->fmt = col.fmt;
    if (pColumn->mask & LVCF_WIDTH)
        pColumn->cx = col.cx;
    if (pColumn->mask & LVCF_TEXT)
        CopyText(col.strTitle, pColumn->pszText, pColumn->cchTextMax);
    if (pColumn->mask & LVCF_SUBITEM)
        pColumn->iSubItem = col.iSubItem;
    return TRUE;
}

LRESULT CListCtrlModel::OnInsertColumn(int iCol, const LVCOLUMN* pColumn) {
    if (!pColumn || iCol < 0)
        return -1;
    const int iPos = std::min(iCol, GetColumnCount());
    Column col;
    col.iSubItem = (pColumn->mask & LVCF_SUBITEM) ? std::max(pColumn->iSubItem, 0) : iPos;
    if (pColumn->mask & LVCF_FMT)
        col.fmt = pColumn->fmt;
    if (pColumn->mask & LVCF_WIDTH)
        col.cx = std::max(pColumn->cx, 0);
    if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText)
        col.strTitle = pColumn->pszText;
    m_columns.insert(m_columns.begin() + iPos, std::move(col));
    Changed();
    return iPos;
}

LRESULT CListCtrlModel::OnGetItemText(int iItem, LVITEM* pItem) const {
    if (!pItem)
        return 0;
    if (!IsRow(iItem) || pItem->iSubItem < 0)
        return CopyText(kEmpty, pItem->pszText, pItem->cchTextMax);
    const Row& row = m_rows[std::size_t(iItem)];
    const auto sub = std::size_t(pItem->iSubItem);
    return CopyText(sub < row.texts.size() ? row.texts[sub] : kEmpty, pItem->pszText,
                    pItem->cchTextMax);
}

LRESULT CListCtrlModel::OnSetItemText(int iItem, const LVITEM* pItem) {
    if (!pItem || !IsRow(iItem) || !IsSubItem(pItem->iSubItem))
        return FALSE;
    SetText(m_rows[std::size_t(iItem)], pItem->iSubItem, pItem->pszText);
    Changed();
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

int CListCtrlModel::GetShownWidth(int iCol) const {
    if (!IsColumn(iCol))
        return 0;
    const int cx = m_columns[std::size_t(iCol)].cx;
    // Until the widget has said how wide the rows are there is no room to fill.
    if (!(m_columns[std::size_t(iCol)].fmt & LVCFMT_FILL) || m_layout.cxRows >= 0x7FFF)
        return cx;
    int cxAll = 0;
    for (const Column& col : m_columns)
        cxAll += col.cx;
    return cx + std::max(0, m_layout.cxRows - cxAll);
}

void CListCtrlModel::SetStyle(DWORD dwStyle) {
    m_dwStyle = dwStyle;
    Changed();
}

const std::u16string& CListCtrlModel::GetCellText(int iRow, int iCol) const {
    if (!IsRow(iRow) || !IsColumn(iCol))
        return kEmpty;
    const Row& row = m_rows[std::size_t(iRow)];
    const auto sub = std::size_t(m_columns[std::size_t(iCol)].iSubItem);
    return sub < row.texts.size() ? row.texts[sub] : kEmpty;
}

bool CListCtrlModel::IsSubItem(int iSubItem) const {
    if (iSubItem == 0 || (iSubItem > 0 && iSubItem < GetColumnCount()))
        return true;
    return std::any_of(m_columns.begin(), m_columns.end(),
                       [iSubItem](const Column& col) { return col.iSubItem == iSubItem; });
}

void CListCtrlModel::ApplyState(Row& row, UINT state, UINT mask) {
    row.state = (row.state & ~mask) | (state & mask);
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

void CListCtrlModel::SetText(Row& row, int iSubItem, LPCWSTR pszText) {
    const auto sub = std::size_t(iSubItem);
    if (row.texts.size() <= sub)
        row.texts.resize(sub + 1);
    row.texts[sub] = pszText ? pszText : u"";
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

void CListCtrlModel::Changed() const {
    if (m_changeObserver)
        m_changeObserver();
}
