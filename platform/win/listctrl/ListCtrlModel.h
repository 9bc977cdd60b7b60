// CListCtrlModel: the list control's ("SysListView32") columns, rows, states and selection,
// answering its window messages; the widget only draws it and feeds it input.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/win/CommCtrl.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
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
        char16_t* pTexts = nullptr; // the row's block in the text pool; none while all are empty
        UINT state = 0;
        int iImage = 0;
        LPARAM lParam = 0;
    };

    // Answers a list-control message; FALSE when msg is not one of them.
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        LRESULT lResult = 0;
        OnWndMsg(msg, wParam, lParam, &lResult);
        return lResult;
    }

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
    // The text shown in cell (row, column), following the column's sub-item; valid until the
    // list changes.
    std::u16string_view GetCellText(int iRow, int iCol) const;
    // 1-based index into the state image list, 0 for none.
    int GetStateImage(int iRow) const {
        return int((GetRow(iRow).state & LVIS_STATEIMAGEMASK) >> 12);
    }

    // Notifications leave through the sink; the windowing code addresses them to the parent.
    void SetNotifySink(std::function<LRESULT(NMHDR*)> sink) { m_notifySink = std::move(sink); }
    // Called after a change that shows, so that the widget can repaint: once, until the widget
    // says it has caught up (a rebuild is hundreds of thousands of changes).
    void SetChangeObserver(std::function<void()> observer) {
        m_changeObserver = std::move(observer);
        m_bChangeTold = false;
    }
    void CaughtUp() { m_bChangeTold = false; }

private:
    // The rows' texts. A row keeps all of its texts in one block, the sub-items' lengths and
    // characters one after another, and blocks are cut from large pages rather than allocated
    // one by one: a list of 100,000 rows would otherwise hold 400,000 strings. A block grows
    // where it lies while it is the last one written, as when a row is filled cell by cell.
    class TextPool {
    public:
        TextPool() = default;
        TextPool(const TextPool&) = delete;
        TextPool& operator=(const TextPool&) = delete;

        static std::u16string_view Get(const char16_t* pBlock, int iSubItem);
        // Sets one text of the block at pBlock, which may move (or come into being).
        void Set(char16_t*& pBlock, int iSubItem, std::u16string_view text);
        void Drop(char16_t*& pBlock);
        void Clear();
        // Moves the rows' blocks together once more than half the pool is dropped blocks.
        void CompactIfWasted(std::vector<Row>& rows) {
            if (m_nWaste > m_nLive + kPageUnits)
                Compact(rows);
        }
        // Units of a page; a block larger than a quarter of it gets a page of its own.
        static constexpr std::size_t kPageUnits = 16384;

    private:
        char16_t* Allocate(std::size_t nUnits);
        // Set's general case: any sub-item of any block.
        void Rewrite(char16_t*& pBlock, std::size_t sub, std::u16string_view text);
        void Compact(std::vector<Row>& rows);

        std::vector<std::unique_ptr<char16_t[]>> m_pages;
        char16_t* m_pTail = nullptr; // the last block cut from the current page
        char16_t* m_pFree = nullptr; // the current page's room, up to m_pEnd
        char16_t* m_pEnd = nullptr;
        std::size_t m_nLive = 0;  // units in the rows' blocks
        std::size_t m_nWaste = 0; // units of dropped blocks and of pages' unused ends
    };

    bool IsRow(int iItem) const { return iItem >= 0 && iItem < GetItemCount(); }
    bool IsColumn(int iCol) const { return iCol >= 0 && iCol < GetColumnCount(); }
    bool IsSubItem(int iSubItem) const;
    // Loops over every row use this: a row whose bits stay as they are costs a comparison.
    void ApplyState(Row& row, UINT state, UINT mask) {
        const UINT now = (row.state & ~mask) | (state & mask);
        if (now == row.state)
            return;
        m_nSelected += int((now & LVIS_SELECTED) != 0) - int((row.state & LVIS_SELECTED) != 0);
        row.state = now;
    }
    void SetRowState(int iItem, UINT state, UINT mask);
    void SetText(int iItem, int iSubItem, LPCWSTR pszText);
    int SubItemAt(int xClient) const;
    LRESULT Notify(UINT code, int iItem, int iSubItem, POINT pt);
    void Changed() const {
        if (!m_bChangeTold && m_changeObserver) {
            m_bChangeTold = true;
            m_changeObserver();
        }
    }

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    TextPool m_texts;
    int m_iMark = -1;
    int m_nSelected = 0; // rows with LVIS_SELECTED, which the edit commands ask for on every idle
    DWORD m_dwStyle = LVS_REPORT;
    DWORD m_dwExStyle = 0;
    HIMAGELIST m_hImageLists[3] = {};
    LISTCTRLLAYOUT m_layout;
    std::function<LRESULT(NMHDR*)> m_notifySink;
    std::function<void()> m_changeObserver;
    mutable bool m_bChangeTold = false;
};
