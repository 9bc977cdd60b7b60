// CUndoSteps: the changes of this session, newest last, for Ctrl+Z to take back one by one.
#pragma once

#include "data/ListStep.h"

#include <vector>

class CUndoSteps {
public:
    void Push(CListStep step);
    BOOL CanUndo() const { return !m_steps.empty(); }
    void RemoveAll();

    // Takes back the newest step on items and returns what that did. A step none of whose
    // garments is left (another writer changed or removed them) is dropped on the way, so the
    // result is empty only when no step is left.
    CListStep Undo(std::vector<CData>& items);

    // Another writer's version is about to replace items, the list as the steps left it.
    void BeforeOtherVersion(const std::vector<CData>& items);

private:
    std::vector<CListStep> m_steps;
};
