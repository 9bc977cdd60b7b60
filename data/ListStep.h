// CListStep: one change of the garment list, as what it takes to go back. A step names its
// garments: its row numbers are only where to look first, so that it still finds them after
// another writer's version has moved rows, and never takes away what that writer added.
#pragma once

#include "data/Data.h"

#include <cstdint>
#include <utility>
#include <vector>

class CListStep {
public:
    enum Kind { replaced, removed, appended, reordered };

    // The garment at row became another (a tick, an edit).
    static CListStep Replaced(int row, CData before, CData after);
    // Garments taken out, each with the row it had, in ascending rows.
    static CListStep Removed(std::vector<std::pair<int, CData>> removed);
    // Garments put in, each at its row, in ascending rows: at the end for a new garment or a
    // paste.
    static CListStep Appended(std::vector<std::pair<int, CData>> added);
    // A new order of the same garments: row i stood at order[i] before.
    static CListStep Reordered(std::vector<std::uint32_t> order);

    Kind GetKind() const { return m_kind; }
    // What came into the list and what went out of it with this step.
    std::vector<CData> GarmentsIn() const;
    std::vector<CData> GarmentsOut() const;
    // The one row rewritten in place, when that is all the step did; -1 otherwise.
    int GetRow() const;
    // Only the box and the date of a garment changed: a tick, or a tick taken back.
    BOOL IsTickOnly() const;
    // The step is a change taken back (what Undo did), not one the user made.
    BOOL IsTakenBack() const { return m_bTakenBack; }

    // Takes the step back on the list and says what that did; the result is empty (no
    // garment in or out, no new order) when nothing of the step was left to take back.
    CListStep Undo(std::vector<CData>& items) const;
    BOOL IsEmpty() const;

    // Row numbers stop meaning what they did when another writer's version replaces the list:
    // a new order then keeps its garments in their earlier order, taken from itemsAfter, the
    // list as it stood right after this step.
    void KeepGarments(const std::vector<CData>& itemsAfter);
    BOOL CountsOnRows() const { return m_kind == reordered && !m_order.empty(); }

private:
    Kind m_kind = replaced;
    BOOL m_bTakenBack = FALSE;
    // replaced: one garment each; removed: before; appended: after; reordered: before, the
    // garments in their earlier order once they no longer count on rows.
    std::vector<std::pair<int, CData>> m_before;
    std::vector<std::pair<int, CData>> m_after;
    std::vector<std::uint32_t> m_order;
};

// The row nearest to hint that holds this garment, or -1.
int FindGarment(const std::vector<CData>& items, const CData& garment, int hint);
