// The document's changes of several garments at once, and taking changes back.
#include "data/VestoryListDoc.h"
#include "platform/core/CmdUI.h"

#include <algorithm>
#include <iterator>

void CVestoryListDoc::AddItems(std::vector<CData> items) {
    if (items.empty())
        return;
    UndoStep step;
    step.nAdded = int(items.size());
    m_items.insert(m_items.end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    m_undo.push_back(std::move(step));
    RefreshView();
    SaveList();
}

void CVestoryListDoc::DeleteItems(std::vector<int> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::erase_if(indices, [this](int i) { return i < 0 || i >= GetItemCount(); });
    if (!indices.empty()) {
        UndoStep step;
        step.bRemoved = true;
        // Moved out from the back, so the indices still ahead stay where they are.
        step.restore.resize(indices.size());
        for (std::size_t k = indices.size(); k-- > 0;) {
            const int i = indices[k];
            step.restore[k] = {i, std::move(m_items[std::size_t(i)])};
            m_items.erase(m_items.begin() + i);
        }
        m_undo.push_back(std::move(step));
    }
    SaveList();
}

void CVestoryListDoc::Undo() {
    if (m_undo.empty())
        return;
    UndoStep step = std::move(m_undo.back());
    m_undo.pop_back();
    int nRowsChanged = -1; // the one row to rewrite, or -1 to rebuild them all
    if (step.nAdded > 0) {
        m_items.resize(m_items.size() - std::min(m_items.size(), std::size_t(step.nAdded)));
    } else if (!step.order.empty()) {
        std::vector<CData> before(m_items.size());
        for (std::size_t i = 0; i < step.order.size() && i < m_items.size(); ++i)
            before[step.order[i]] = std::move(m_items[i]);
        m_items.swap(before);
    } else if (step.bRemoved) {
        // Ascending, so each goes back in front of what followed it before.
        for (auto& [index, data] : step.restore)
            m_items.insert(m_items.begin() + std::min(index, GetItemCount()), std::move(data));
    } else {
        for (auto& [index, data] : step.restore) {
            if (index < GetItemCount())
                m_items[std::size_t(index)] = std::move(data);
        }
        if (step.restore.size() == 1)
            nRowsChanged = step.restore.front().first;
    }
    if (nRowsChanged >= 0 && nRowsChanged < GetItemCount())
        UpdateViewRow(nRowsChanged);
    else
        RefreshView();
    SaveList();
}

void CVestoryListDoc::OnEditUndo() {
    Undo();
}

void CVestoryListDoc::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(CanUndo());
}
