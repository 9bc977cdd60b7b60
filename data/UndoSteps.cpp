#include "data/UndoSteps.h"

#include <algorithm>
#include <utility>

void CUndoSteps::Push(CListStep step) {
    m_steps.push_back(std::move(step));
}

void CUndoSteps::RemoveAll() {
    m_steps.clear();
}

CListStep CUndoSteps::Undo(std::vector<CData>& items) {
    CListStep done;
    while (!m_steps.empty() && done.IsEmpty()) {
        done = m_steps.back().Undo(items);
        m_steps.pop_back();
    }
    return done;
}

void CUndoSteps::BeforeOtherVersion(const std::vector<CData>& items) {
    // Only a new order counts on rows, and only one made since the last version of another
    // writer: every step above the oldest such one is exact.
    const auto oldest = std::find_if(m_steps.begin(), m_steps.end(),
                                     [](const CListStep& step) { return step.CountsOnRows(); });
    if (oldest == m_steps.end())
        return;
    // Taken back in turn on a copy, each new order meets the list as it stood right after it.
    std::vector<CData> scratch = items;
    for (auto it = m_steps.end(); it != oldest;) {
        --it;
        if (it->CountsOnRows())
            it->KeepGarments(scratch);
        if (it != oldest)
            it->Undo(scratch);
    }
}
