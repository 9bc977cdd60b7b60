// CListCtrlModel, rows and texts: the messages' dispatch, columns, rows, their texts and the
// image lists.
#include "platform/win/listctrl/ListCtrlModel.h"

#include "platform/win/WinUser.h"

#include <algorithm>

namespace {

// Copies text into a caller's buffer of cchMax characters, terminator included, and returns
// the number of characters copied.
int CopyText(std::u16string_view text, LPWSTR pszBuffer, int cchMax) {
    if (!pszBuffer || cchMax <= 0)
        return 0;
    const int n = std::min(int(text.size()), cchMax - 1);
    std::copy_n(text.data(), n, pszBuffer);
    pszBuffer[n] = u'\0';
    return n;
}

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
    case LVM_GETITEMRECT:
        lResult = OnGetItemRect(int(wParam), reinterpret_cast<RECT*>(lParam));
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
    m_texts.Drop(m_rows[std::size_t(iItem)].pTexts);
    if (m_rows[std::size_t(iItem)].state & LVIS_SELECTED)
        --m_nSelected;
    m_rows.erase(m_rows.begin() + iItem);
    m_texts.CompactIfWasted(m_rows);
    if (m_iMark == iItem)
        m_iMark = -1;
    else if (m_iMark > iItem)
        --m_iMark;
    Changed();
    return TRUE;
}

LRESULT CListCtrlModel::OnDeleteAllItems() {
    m_rows.clear();
    m_texts.Clear();
    m_nSelected = 0;
    m_iMark = -1;
    Changed();
    return TRUE;
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

LRESULT CListCtrlModel::OnGetItem(LVITEM* pItem) const {
    if (!pItem || !IsRow(pItem->iItem) || pItem->iSubItem < 0)
        return FALSE;
    const Row& row = m_rows[std::size_t(pItem->iItem)];
    if (pItem->mask & LVIF_TEXT)
        CopyText(TextPool::Get(row.pTexts, pItem->iSubItem), pItem->pszText, pItem->cchTextMax);
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
    if (pItem->mask & LVIF_TEXT)
        SetText(pItem->iItem, pItem->iSubItem, pItem->pszText);
    Row& row = m_rows[std::size_t(pItem->iItem)];
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
    if (pItem->mask & LVIF_IMAGE)
        row.iImage = pItem->iImage;
    if (pItem->mask & LVIF_PARAM)
        row.lParam = pItem->lParam;
    if (iPos == GetItemCount())
        m_rows.push_back(row);
    else
        m_rows.insert(m_rows.begin() + iPos, row);
    if (m_iMark >= iPos)
        ++m_iMark;
    if (pItem->mask & LVIF_TEXT)
        SetText(iPos, 0, pItem->pszText);
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
        return CopyText({}, pItem->pszText, pItem->cchTextMax);
    return CopyText(TextPool::Get(m_rows[std::size_t(iItem)].pTexts, pItem->iSubItem),
                    pItem->pszText, pItem->cchTextMax);
}

LRESULT CListCtrlModel::OnSetItemText(int iItem, const LVITEM* pItem) {
    if (!pItem || !IsRow(iItem) || !IsSubItem(pItem->iSubItem))
        return FALSE;
    SetText(iItem, pItem->iSubItem, pItem->pszText);
    Changed();
    return TRUE;
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

std::u16string_view CListCtrlModel::GetCellText(int iRow, int iCol) const {
    if (!IsRow(iRow) || !IsColumn(iCol))
        return {};
    return TextPool::Get(m_rows[std::size_t(iRow)].pTexts, m_columns[std::size_t(iCol)].iSubItem);
}

bool CListCtrlModel::IsSubItem(int iSubItem) const {
    if (iSubItem == 0 || (iSubItem > 0 && iSubItem < GetColumnCount()))
        return true;
    return std::any_of(m_columns.begin(), m_columns.end(),
                       [iSubItem](const Column& col) { return col.iSubItem == iSubItem; });
}

void CListCtrlModel::SetText(int iItem, int iSubItem, LPCWSTR pszText) {
    m_texts.Set(m_rows[std::size_t(iItem)].pTexts, iSubItem,
                pszText ? std::u16string_view(pszText) : std::u16string_view());
    m_texts.CompactIfWasted(m_rows);
}
