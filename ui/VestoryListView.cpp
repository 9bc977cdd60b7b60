// CVestoryListView, output side: the window, the columns and state pictures, and the rows.
#include "ui/VestoryListView.h"

#include "data/RowsMoved.h"
#include "data/VestoryListDoc.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/shell/WinApp.h"
#include "res/resource.h"

#include <algorithm>

namespace {

struct ColumnInfo {
    LPCTSTR lpszTitle;
    UINT nTitleID; // the title shown, in the user's language
    int cx;
};
// Sub-item i is column i.
constexpr ColumnInfo kColumns[] = {
    {u"AC", IDS_COLUMN_AC, 30},
    {u"Item Name", IDS_COLUMN_ITEM_NAME, 100},
    {u"Qty", IDS_COLUMN_QTY, 35},
    {u"Date", IDS_COLUMN_DATE, 80},
};

// The widths the user gave the columns, by English title whatever the language, for the next
// start.
constexpr LPCTSTR kColumnsSection = u"Columns";

constexpr COLORREF kMaskRed = RGB(255, 0, 0);
constexpr UINT kStateTicked = 0x2000;   // state picture 2: the ticked box
constexpr UINT kStateUnticked = 0x1000; // state picture 1: the empty box

} // namespace

IMPLEMENT_DYNCREATE(CVestoryListView, CListView)

CVestoryListView::CVestoryListView() = default;

CVestoryListView::~CVestoryListView() = default;

CVestoryListDoc* CVestoryListView::GetDocument() const {
    return static_cast<CVestoryListDoc*>(m_pDocument);
}

BOOL CVestoryListView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= LONG(LVS_REPORT);
    cs.style &= ~LONG(LVS_SHOWSELALWAYS);
    return CListView::PreCreateWindow(cs);
}

void CVestoryListView::OnInitialUpdate() {
    CListView::OnInitialUpdate();

    m_imageList.Create(IDB_CHECKBOXES, 16, 1, kMaskRed);
    SendMessage(LVM_SETIMAGELIST, LVSIL_STATE,
                reinterpret_cast<LPARAM>(static_cast<HIMAGELIST>(m_imageList)));
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);

    // The framework's new and open commands run this again on the same window; its columns
    // are there already then.
    LVCOLUMN probe{};
    probe.mask = LVCF_WIDTH;
    if (!SendMessage(LVM_GETCOLUMN, 0, reinterpret_cast<LPARAM>(&probe))) {
        for (int i = 0; i < int(std::size(kColumns)); ++i) {
            LVCOLUMN column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            // The name gets whatever room a wider window has.
            column.fmt = i == 1 ? LVCFMT_LEFT | LVCFMT_FILL : LVCFMT_LEFT;
            const int cx = int(
                AfxGetApp()->GetProfileInt(kColumnsSection, kColumns[i].lpszTitle, kColumns[i].cx));
            column.cx = cx >= 0 && cx <= 0x7FFF ? cx : kColumns[i].cx;
            CString title;
            title.LoadString(kColumns[i].nTitleID);
            column.pszText = const_cast<LPWSTR>(LPCTSTR(title));
            column.iSubItem = i;
            SendMessage(LVM_INSERTCOLUMN, WPARAM(i), reinterpret_cast<LPARAM>(&column));
        }
    }

    RefreshList();
}

void CVestoryListView::OnDraw(CDC* /*pDC*/) {}

void CVestoryListView::OnDestroy() {
    // A view that never had its columns (a start that failed) has no widths to keep.
    LVCOLUMN probe{};
    probe.mask = LVCF_WIDTH;
    if (!SendMessage(LVM_GETCOLUMN, 0, reinterpret_cast<LPARAM>(&probe)))
        return;
    for (int i = 0; i < int(std::size(kColumns)); ++i)
        AfxGetApp()->WriteProfileInt(kColumnsSection, kColumns[i].lpszTitle,
                                     int(SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(i))));
}

void CVestoryListView::OnUpdate(CView* /*pSender*/, LPARAM lHint, CObject* pHint) {
    if (lHint != CRowsMoved::kHint || !pHint) {
        RefreshList();
        return;
    }
    const std::vector<int>& newRow = static_cast<const CRowsMoved*>(pHint)->m_newRow;
    const auto moved = [&newRow](int row) {
        return row >= 0 && row < int(newRow.size()) ? newRow[std::size_t(row)] : -1;
    };
    const int focused = moved(int(SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)));
    const int mark = moved(int(SendMessage(LVM_GETSELECTIONMARK)));
    std::vector<int> selected;
    for (int row : GetSelectedRows())
        selected.push_back(moved(row));
    RefreshList();
    LVITEM state{};
    state.stateMask = state.state = LVIS_SELECTED;
    for (int row : selected) {
        if (row >= 0)
            SendMessage(LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
    }
    if (focused >= 0) {
        state.stateMask = state.state = LVIS_FOCUSED;
        SendMessage(LVM_SETITEMSTATE, WPARAM(focused), reinterpret_cast<LPARAM>(&state));
    }
    if (mark >= 0)
        SendMessage(LVM_SETSELECTIONMARK, 0, mark);
}

void CVestoryListView::RefreshList() {
    // The keyboard stays on its row through a rebuild (after a dialog, an undo, a sort).
    const int focused = int(SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    SendMessage(LVM_DELETEALLITEMS);
    for (int i = 0; i < GetDocument()->GetItemCount(); ++i) {
        LVITEM item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = const_cast<LPWSTR>(u"");
        SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        UpdateRow(i);
    }
    const int count = GetDocument()->GetItemCount();
    if (focused >= 0 && count > 0) {
        LVITEM state{};
        state.state = LVIS_FOCUSED;
        state.stateMask = LVIS_FOCUSED;
        SendMessage(LVM_SETITEMSTATE, WPARAM(std::min(focused, count - 1)),
                    reinterpret_cast<LPARAM>(&state));
    }
}

void CVestoryListView::UpdateRow(int index) {
    const CData data = GetDocument()->GetItem(index);

    LVITEM state{};
    state.state = data.m_bAtCleaners ? kStateTicked : kStateUnticked;
    state.stateMask = LVIS_STATEIMAGEMASK;
    SendMessage(LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&state));

    const auto setText = [this, index](int iSubItem, LPCTSTR lpszText) {
        LVITEM item{};
        item.iSubItem = iSubItem;
        item.pszText = const_cast<LPWSTR>(lpszText);
        SendMessage(LVM_SETITEMTEXT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    };
    setText(1, data.m_strItemName);
    setText(2, data.m_strQty);

    // A year of 0 means no date; the empty text still clears a date shown before.
    CString date;
    if (data.m_nYear != 0)
        date.Format(u"%02d/%02d/%04d", data.m_nMonth, data.m_nDay, data.m_nYear);
    setText(3, date);
}
