// CVestoryListView, input side: taps on rows and headers, and the pop-up menu's commands.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/StdIds.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/Menu.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

namespace {

// The check box of every row lies at the screen's left edge, as wide as the "AC" column
// starts out. The zone is tested on the screen, so it stays put when the column is dragged
// or the list scrolled.
constexpr LONG kCheckBoxZoneRight = 30;

} // namespace

BEGIN_MESSAGE_MAP(CVestoryListView, CListView)
ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
ON_COMMAND(ID_POPUP_EDIT, OnListEdit)
ON_COMMAND(ID_POPUP_NEW, OnListNew)
ON_COMMAND(ID_POPUP_DELETE, OnListDelete)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
ON_NOTIFY_REFLECT(NM_RETURN, OnReturn)
ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedSelection)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_WM_DESTROY()
END_MESSAGE_MAP()

// The list control's rows and the document's records are the same rows, but an index that
// the control hands back (a stale selection mark, say) is checked against both before it is
// used for anything.
BOOL CVestoryListView::IsListedItem(int index) {
    return index >= 0 && index < GetDocument()->GetItemCount() &&
           index < int(SendMessage(LVM_GETITEMCOUNT));
}

void CVestoryListView::OnClick(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;

    // Where the stylus came down, not what the notification says.
    const DWORD pos = GetMessagePos();
    const POINT screen = {LONG(LOWORD(pos)), LONG(HIWORD(pos))};
    LVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(&hit.pt);
    const int row = int(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!IsListedItem(row))
        return;

    if (screen.x <= kCheckBoxZoneRight) {
        ToggleRow(row);
        return;
    }
    TrackRowMenu(screen);
}

void CVestoryListView::ToggleRow(int index) {
    CVestoryListDoc* pDoc = GetDocument();
    pDoc->ToggleAtCleaners(index);
    UpdateRow(index);
    pDoc->SaveList();
}

void CVestoryListView::TrackRowMenu(POINT screen) {
    // Loaded for this tap only; the menu object destroys it on the way out.
    CMenu menu;
    if (!menu.LoadMenu(IDR_POPUP_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return;
    pPopup->TrackPopupMenu(0, screen.x, screen.y, this);
}

void CVestoryListView::OnListNew() {
    GetDocument()->OnNewItem();
}

// The pop-up's row is the one the tap made the selection mark.
void CVestoryListView::OnListEdit() {
    const int mark = int(SendMessage(LVM_GETSELECTIONMARK));
    if (!IsListedItem(mark))
        return;
    GetDocument()->EditItem(mark);
}

void CVestoryListView::OnListDelete() {
    const int mark = int(SendMessage(LVM_GETSELECTIONMARK));
    if (!IsListedItem(mark))
        return;
    const CData chosen = GetDocument()->GetItem(mark);
    if (AfxMessageBox(IDP_DELETE_RECORD, MB_YESNO) != IDYES)
        return;
    // Another writer's version may have moved the rows while the question was open: the
    // garment is found again by its record, and one that is gone is not deleted twice.
    const int index = GetDocument()->FindItem(chosen, mark);
    if (index < 0)
        return;
    GetDocument()->DeleteItem(index);
    RefreshList();
}

void CVestoryListView::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* pView = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    GetDocument()->SortByColumn(pView->iSubItem);
    *pResult = 0;
}
