// CVestoryListView, the edit commands: the selected garments to and from the clipboard as
// table text that a spreadsheet splits into columns.
#include "data/GarmentText.h"
#include "data/ListMemory.h"
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/CmdUI.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/shell/Clipboard.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

#include <cstdint>
#include <new>

// FALSE when nothing was copied; memory running out is said, and Cut then deletes nothing.
BOOL CVestoryListView::CopySelection() {
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty())
        return FALSE;
    try {
        std::vector<CData> items;
        items.reserve(rows.size());
        for (int row : rows)
            items.push_back(GetDocument()->GetItem(row));
        return AfxSetClipboardText(CString::FromUtf8(garment_text::Write(items, '\t', "\n")));
    } catch (const std::bad_alloc&) {
        CString reason, text;
        reason.LoadString(IDS_PASTE_NO_MEMORY);
        text.Format(IDP_NOTHING_COPIED, LPCTSTR(reason));
        AfxMessageBox(text, MB_ICONINFORMATION);
        return FALSE;
    }
}

void CVestoryListView::OnEditCopy() {
    CopySelection();
}

// Cut asks nothing: Undo brings the garments back.
void CVestoryListView::OnEditCut() {
    if (CopySelection())
        DeleteSelection(FALSE);
}

namespace {
// The clipboard's garments, when the list with them added is one the program reads back at its
// next start. FALSE with *pWhy when not (empty when the clipboard holds no text); throws
// std::bad_alloc when the memory runs out on the way.
BOOL ReadClipboard(const CVestoryListDoc& doc, std::vector<CData>* pItems, std::string* pWhy) {
    std::string text;
    {
        CString clipboard;
        if (!AfxGetClipboardText(clipboard))
            return FALSE;
        text = clipboard.ToUtf8();
    }
    if (!garment_text::ReadPasted(text, pItems, pWhy))
        return FALSE;
    std::string().swap(text);
    std::uint64_t nTextBytes = 0;
    for (const CData& data : *pItems)
        nTextBytes += list_memory::TextBytes(data);
    const int nHeld = doc.GetItemCount();
    for (int i = 0; i < nHeld; ++i)
        nTextBytes += list_memory::TextBytes(doc.GetItem(i));
    if (!list_memory::ReadableAtStart(std::uint64_t(nHeld) + pItems->size(), nTextBytes)) {
        CString reason;
        reason.LoadString(IDS_PASTE_TOO_LARGE);
        *pWhy = reason.ToUtf8();
        return FALSE;
    }
    return TRUE;
}
} // namespace

// A paste adds all of the clipboard's garments or none, and never ends the program: text that
// cannot be read, or that would leave a list too large to open again, is refused with the reason.
void CVestoryListView::OnEditPaste() {
    std::vector<CData> items;
    std::string why;
    int first = 0;
    int count = 0;
    try {
        if (!ReadClipboard(*GetDocument(), &items, &why)) {
            if (!why.empty()) {
                CString text;
                text.Format(IDP_NOTHING_PASTED, LPCTSTR(CString::FromUtf8(why)));
                AfxMessageBox(text, MB_ICONINFORMATION);
            }
            return;
        }
        first = GetDocument()->GetItemCount();
        count = int(items.size());
        GetDocument()->AddItems(std::move(items));
        RefreshList();
    } catch (const std::bad_alloc&) {
        std::vector<CData>().swap(items);
        CString reason, text;
        reason.LoadString(IDS_PASTE_NO_MEMORY);
        text.Format(IDP_NOTHING_PASTED, LPCTSTR(reason));
        AfxMessageBox(text, MB_ICONINFORMATION);
        return;
    }
    // The new garments are selected, the keyboard on the first of them, before the save: one that
    // takes in another writer's version moves the selection with the garments.
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
    GetDocument()->SaveList();
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
