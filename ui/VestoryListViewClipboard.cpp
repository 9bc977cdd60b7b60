// CVestoryListView, the edit commands: the selected garments to and from the clipboard as
// table text that a spreadsheet splits into columns.
#include "data/GarmentText.h"
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/CmdUI.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/shell/Clipboard.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

BOOL CVestoryListView::CopySelection() {
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty())
        return FALSE;
    std::vector<CData> items;
    items.reserve(rows.size());
    for (int row : rows)
        items.push_back(GetDocument()->GetItem(row));
    return AfxSetClipboardText(CString::FromUtf8(garment_text::Write(items, '\t', "\n")));
}

void CVestoryListView::OnEditCopy() {
    CopySelection();
}

// Cut asks nothing: Undo brings the garments back.
void CVestoryListView::OnEditCut() {
    if (CopySelection())
        DeleteSelection(FALSE);
}

void CVestoryListView::OnEditPaste() {
    CString text;
    if (!AfxGetClipboardText(text))
        return;
    std::vector<CData> items;
    std::string why;
    if (!garment_text::ReadPasted(text.ToUtf8(), &items, &why)) {
        CString text;
        text.Format(IDP_NOTHING_PASTED, LPCTSTR(CString::FromUtf8(why)));
        AfxMessageBox(text, MB_ICONINFORMATION);
        return;
    }
    const int first = GetDocument()->GetItemCount();
    const int count = int(items.size());
    GetDocument()->AddItems(std::move(items));
    // The new garments are selected, the keyboard on the first of them.
    LVITEM state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    for (int row = first; row < first + count && IsListedItem(row); ++row)
        SendMessage(LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
    if (IsListedItem(first)) {
        state.stateMask = state.state = LVIS_FOCUSED;
        SendMessage(LVM_SETITEMSTATE, WPARAM(first), reinterpret_cast<LPARAM>(&state));
        SendMessage(LVM_SETSELECTIONMARK, 0, first);
    }
}

void CVestoryListView::OnEditSelectAll() {
    LVITEM state{};
    state.state = LVIS_SELECTED;
    state.stateMask = LVIS_SELECTED;
    SendMessage(LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
}

void CVestoryListView::OnUpdateNeedSelection(CCmdUI* pCmdUI) {
    pCmdUI->Enable(SendMessage(LVM_GETSELECTEDCOUNT) > 0);
}

void CVestoryListView::OnUpdateEditPaste(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsClipboardFormatAvailable(CF_UNICODETEXT));
}
