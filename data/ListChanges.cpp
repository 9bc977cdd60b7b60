// The document's changes of several garments at once, taking changes back, and the one place
// where changes end.
#include "data/VestoryListDoc.h"
#include "platform/core/CmdUI.h"

#include <algorithm>
#include <iterator>

void CVestoryListDoc::RecordChange(CListStep step) {
    // Until a save succeeds, the file lacks the change: a merge needs to know it.
    for (CData& data : step.GarmentsIn())
        m_unsavedIn.push_back(std::move(data));
    for (CData& data : step.GarmentsOut())
        m_unsavedOut.push_back(std::move(data));
    if (step.GetKind() == CListStep::reordered && !step.IsEmpty())
        m_bOrderUnsaved = TRUE;
    if (!step.IsTakenBack() && !step.IsEmpty())
        m_undo.Push(std::move(step));
}

// The document's own primitives keep the contracts that the list screen relies on: AddItem,
// AddItems and ToggleAtCleaners leave showing and saving to their callers, and DeleteItem saves
// and leaves the rows to its caller. Every other change ends here, kept for Ctrl+Z unless it is one
// taken back.
void CVestoryListDoc::EndChange(CListStep step) {
    // Shown: a tick, or a tick taken back, rewrites its row; anything else rebuilds the rows.
    const int row = step.GetRow();
    const BOOL bOneRow = step.IsTickOnly() && row >= 0 && row < GetItemCount();
    // Saved: every change but the header's new order, which goes with the next change.
    const BOOL bSave = step.GetKind() != CListStep::reordered || step.IsTakenBack();
    RecordChange(std::move(step));
    if (bOneRow)
        UpdateViewRow(row);
    else
        RefreshView();
    if (bSave)
        SaveList();
}

CListStep CVestoryListDoc::TakeOut(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::erase_if(indices, [this](int i) { return i < 0 || i >= GetItemCount(); });
    // One pass, whatever the rows: the garments kept close up behind one another.
    std::vector<std::pair<int, CData>> removed;
    removed.reserve(indices.size());
    std::size_t next = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (next < indices.size() && std::size_t(indices[next]) == i) {
            removed.emplace_back(int(i), std::move(m_items[i]));
            ++next;
        } else {
            if (kept != i)
                m_items[kept] = std::move(m_items[i]);
            ++kept;
        }
    }
    m_items.erase(m_items.begin() + std::ptrdiff_t(kept), m_items.end());
    return CListStep::Removed(std::move(removed));
}

void CVestoryListDoc::AddItems(std::vector<CData> items) {
    if (items.empty())
        return;
    std::vector<std::pair<int, CData>> added;
    added.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        added.emplace_back(GetItemCount() + int(i), items[i]);
    m_items.reserve(m_items.size() + items.size());
    const std::size_t nHeld = m_items.size();
    const std::size_t nUnsaved = m_unsavedIn.size();
    std::move(items.begin(), items.end(), std::back_inserter(m_items));
    try {
        RecordChange(CListStep::Appended(std::move(added)));
    } catch (const std::bad_alloc&) {
        // What was added goes again: a paste is all or nothing.
        m_items.erase(m_items.begin() + std::ptrdiff_t(nHeld), m_items.end());
        m_unsavedIn.erase(m_unsavedIn.begin() + std::ptrdiff_t(nUnsaved), m_unsavedIn.end());
        throw;
    }
}

void CVestoryListDoc::DeleteItems(std::vector<int> indices) {
    EndChange(TakeOut(std::move(indices)));
}

void CVestoryListDoc::Undo() {
    if (!m_undo.CanUndo())
        return;
    EndChange(m_undo.Undo(m_items));
}

void CVestoryListDoc::OnEditUndo() {
    Undo();
}

void CVestoryListDoc::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(CanUndo());
}
