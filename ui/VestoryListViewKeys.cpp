// CVestoryListView, keyboard and right mouse button: the list's keys and the pop-up menu.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/win/CommCtrl.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

#include <algorithm>

int CVestoryListView::GetFocusedRow() {
    const int row = int(SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    return IsListedItem(row) ? row : -1;
}

std::vector<int> CVestoryListView::GetSelectedRows() {
    std::vector<int> rows;
    for (int row = int(SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); row >= 0;
         row = int(SendMessage(LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED))) {
        if (IsListedItem(row))
            rows.push_back(row);
    }
    return rows;
}

// Each key does what the stylus does to the focused row: Space is a tap in its box, Enter
// and F2 the pop-up's Edit, the menu key (or Shift+F10) opens the pop-up over it. Delete
// asks once for all the selected rows.
void CVestoryListView::OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const auto* pKey = reinterpret_cast<const NMLVKEYDOWN*>(pNMHDR);
    const int row = GetFocusedRow();
    switch (pKey->wVKey) {
    case VK_SPACE:
        if (row >= 0)
            ToggleRow(row);
        break;
    case VK_F2:
        if (row >= 0)
            GetDocument()->EditItem(row);
        break;
    case VK_DELETE:
        DeleteSelection(TRUE);
        break;
    case VK_APPS: {
        if (row < 0)
            break;
        // The pop-up's commands act on the selection mark: the focused row becomes it.
        LVITEM state{};
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessage(LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
        SendMessage(LVM_SETSELECTIONMARK, 0, row);
        // Opened at the row's name, below its top edge; at the list's top for a row not shown.
        RECT client;
        GetClientRect(&client);
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        LONG y = 0;
        if (SendMessage(LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&bounds)) &&
            bounds.bottom > 0 && bounds.top < client.bottom)
            y = std::max(bounds.top, LONG(0));
        POINT screen{40, y + 4};
        ClientToScreen(&screen);
        TrackRowMenu(screen);
        break;
    }
    default:
        break;
    }
}

void CVestoryListView::OnReturn(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    const int row = GetFocusedRow();
    if (row >= 0)
        GetDocument()->EditItem(row);
}

// A right click has selected its row; the pop-up opens where the pointer is, never a tick.
void CVestoryListView::OnRClick(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    const DWORD pos = GetMessagePos();
    const POINT screen = {LONG(LOWORD(pos)), LONG(HIWORD(pos))};
    LVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(&hit.pt);
    if (IsListedItem(int(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)))))
        TrackRowMenu(screen);
}

void CVestoryListView::DeleteSelection(BOOL bAsk) {
    std::vector<int> rows = GetSelectedRows();
    // After a rebuild the keyboard's row is the one meant.
    if (rows.empty() && GetFocusedRow() >= 0)
        rows.push_back(GetFocusedRow());
    if (rows.empty())
        return;
    // The garments chosen, found again after the question by their records.
    std::vector<CData> chosen;
    for (int row : rows)
        chosen.push_back(GetDocument()->GetItem(row));
    if (bAsk && AfxMessageBox(IDP_DELETE_RECORD, MB_YESNO) != IDYES)
        return;
    const int first = rows.front();
    for (std::size_t k = 0; k < rows.size(); ++k)
        rows[k] = GetDocument()->FindItem(chosen[k], rows[k]);
    GetDocument()->DeleteItems(std::move(rows));
    // The keyboard stays where the first deleted row was.
    const int count = int(SendMessage(LVM_GETITEMCOUNT));
    if (count > 0) {
        LVITEM state{};
        state.state = LVIS_FOCUSED;
        state.stateMask = LVIS_FOCUSED;
        SendMessage(LVM_SETITEMSTATE, WPARAM(std::min(first, count - 1)),
                    reinterpret_cast<LPARAM>(&state));
    }
}
