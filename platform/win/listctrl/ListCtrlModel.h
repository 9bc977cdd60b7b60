// CListCtrlModel: the list control's ("SysListView32") columns, rows, states and selection,
// answering its window messages; the widget only draws it and feeds it input.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/win/CommCtrl.h"

#include <functional>
#include <string>
#include <vector>

// Where the widget shows things, in client coordinates of the whole control; the hit test
// needs it. Rows start at yRows, the first row's top scrolled up by yScroll pixels.
struct LISTCTRLLAYOUT {
    int xRows = 0;
    int yRows = 0;
    int cxRows = 0x7FFF;
    int cyRows = 0x7FFF;
    int cyRow = 16;
    int xScroll = 0;
    int yScroll = 0;
};

class CListCtrlModel {
public:
    struct Column {
        std::u16string strTitle;
        int cx = 0;
        int fmt = LVCFMT_LEFT;
        int iSubItem = 0;
    };
    struct Row {
        std::vector<std::u16string> texts; // by sub-item; missing ones are empty
        UINT state = 0;
        int iImage = 0;
        LPARAM lParam = 0;
    };

    // Answers a list-control message; FALSE when msg is not one of them.
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // One handler per message, with the message's parameters.
    LRESULT OnSetImageList(int nImageList, HIMAGELIST hImageList);
    LRESULT OnGetImageList(int nImageList) const;
    LRESULT OnGetItemCount() const;
    LRESULT OnDeleteItem(int iItem);
    LRESULT OnDeleteAllItems();
    LRESULT OnGetNextItem(int iStart, UINT flags) const;
    LRESULT OnHitTest(LVHITTESTINFO* pInfo) const;
    // The part of the row named by pRect->left (LVIR_...), in client coordinates.
    LRESULT OnGetItemRect(int iItem, RECT* pRect) const;
    LRESULT OnGetColumnWidth(int iCol) const;
    LRESULT OnSetColumnWidth(int iCol, int cx);
    LRESULT OnSetItemState(int iItem, const LVITEM* pItem);
    LRESULT OnGetItemState(int iItem, UINT mask) const;
    LRESULT OnGetSelectedCount() const;
    LRESULT OnSetExtendedStyle(DWORD dwMask, DWORD dwStyle);
    LRESULT OnGetExtendedStyle() const;
    LRESULT OnGetSelectionMark() const;
    LRESULT OnSetSelectionMark(int iMark);
    LRESULT OnGetItem(LVITEM* pItem) const;
    LRESULT OnSetItem(const LVITEM* pItem);
    LRESULT OnInsertItem(const LVITEM* pItem);
    LRESULT OnGetColumn(int iCol, LVCOLUMN* pColumn) const;
    LRESULT OnInsertColumn(int iCol, const LVCOLUMN* pColumn);
    LRESULT OnGetItemText(int iItem, LVITEM* pItem) const;
    LRESULT OnSetItemText(int iItem, const LVITEM* pItem);

    // Input from the widget. A tap selects the row alone (or, with bControl and several rows
    // allowed, toggles it), makes it the selection mark and focuses it before NM_CLICK.
    void TapRow(int iRow, POINT ptClient = {}, BOOL bControl = FALSE);
    void TapEmpty(POINT ptClient = {});
    // The second press of a double click: NM_DBLCLK, not another tap.
    void DoubleTapRow(int iRow, POINT ptClient = {});
    // A right click selects the row alone (unless it is selected already) before NM_RCLICK.
    void RightTapRow(int iRow, POINT ptClient = {});
    // A key while the list has the keyboard: LVN_KEYDOWN first, then the list's own answer
    // (arrows, Home, End and the page keys move the focus and the selection, with Shift
    // extending it from the selection mark; Enter sends NM_RETURN). nPageRows is how many
    // rows the list shows at once.
    void KeyDown(WORD wVKey, BOOL bShift, int nPageRows);
    // The row with the keyboard focus, or -1.
    int GetFocusedRow() const { return int(OnGetNextItem(-1, LVNI_FOCUSED)); }
    void TapHeader(int iCol);
    // A divider dragged by the user: every column keeps the width it shows, none fills any more.
    void ResizeColumn(int iCol, int cx);
    void SetLayout(const LISTCTRLLAYOUT& layout) { m_layout = layout; }

    void SetStyle(DWORD dwStyle);
    DWORD GetStyle() const { return m_dwStyle; }
    DWORD GetExtendedStyle() const { return m_dwExStyle; }
    HIMAGELIST GetStateImageList() const { return m_hImageLists[LVSIL_STATE]; }
    int GetItemCount() const { return int(m_rows.size()); }
    int GetColumnCount() const { return int(m_columns.size()); }
    const Row& GetRow(int iRow) const { return m_rows[std::size_t(iRow)]; }
    const Column& GetColumn(int iCol) const { return m_columns[std::size_t(iCol)]; }
    // The column's width on the screen: its own, and for a filling column the room left.
    int GetShownWidth(int iCol) const;
    // The text shown in cell (row, column), following the column's sub-item.
    const std::u16string& GetCellText(int iRow, int iCol) const;
    // 1-based index into the state image list, 0 for none.
    int GetStateImage(int iRow) const {
        return int((GetRow(iRow).state & LVIS_STATEIMAGEMASK) >> 12);
    }

    // Notifications leave through the sink; the windowing code addresses them to the parent.
    void SetNotifySink(std::function<LRESULT(NMHDR*)> sink) { m_notifySink = std::move(sink); }
    // Called after every change that shows, so that the widget can repaint.
    void SetChangeObserver(std::function<void()> observer) {
        m_changeObserver = std::move(observer);
    }

private:
    bool IsRow(int iItem) const { return iItem >= 0 && iItem < GetItemCount(); }
    bool IsColumn(int iCol) const { return iCol >= 0 && iCol < GetColumnCount(); }
    bool IsSubItem(int iSubItem) const;
    void ApplyState(Row& row, UINT state, UINT mask);
    void SetRowState(int iItem, UINT state, UINT mask);
    void SetText(Row& row, int iSubItem, LPCWSTR pszText);
    int SubItemAt(int xClient) const;
    LRESULT Notify(UINT code, int iItem, int iSubItem, POINT pt);
    void Changed() const;

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    int m_iMark = -1;
    DWORD m_dwStyle = LVS_REPORT;
    DWORD m_dwExStyle = 0;
    HIMAGELIST m_hImageLists[3] = {};
    LISTCTRLLAYOUT m_layout;
    std::function<LRESULT(NMHDR*)> m_notifySink;
    std::function<void()> m_changeObserver;
};
