// The column sort of the garment list.
//
// A tap on a header has always given the order of a bubble scan that restarts after every
// exchange: records are exchanged only when strictly out of order, so records with equal keys
// keep their order. That order is exactly a stable sort by the same key; sorting the keys with
// their positions and then moving the records once keeps the result and drops the cubic cost.
#include "data/VestoryListDoc.h"
#include "platform/core/WideText.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

struct SortKey {
    LONG value; // flag or quantity; unused for names
    LPCTSTR name;
    std::size_t index;
};

// CData has no move operations of its own; exchanging the fields moves the texts without
// copying them.
void SwapRecords(CData& a, CData& b) {
    std::swap(a.m_bAtCleaners, b.m_bAtCleaners);
    std::swap(a.m_strItemName, b.m_strItemName);
    std::swap(a.m_strQty, b.m_strQty);
    std::swap(a.m_strSize, b.m_strSize);
    std::swap(a.m_strNote, b.m_strNote);
    std::swap(a.m_nMonth, b.m_nMonth);
    std::swap(a.m_nDay, b.m_nDay);
    std::swap(a.m_nYear, b.m_nYear);
}

} // namespace

void CVestoryListDoc::SortByColumn(int column) {
    if (column < 0 || column > 2)
        return;

    std::vector<SortKey> keys(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const CData& item = m_items[i];
        keys[i].index = i;
        keys[i].name = item.m_strItemName;
        if (column == 0)
            keys[i].value = item.m_bAtCleaners;
        else if (column == 2)
            keys[i].value = _wtoi(item.m_strQty);
        else
            keys[i].value = 0;
    }

    // The keys say "a goes before b" exactly when the scan would have exchanged b and a.
    switch (column) {
    case 0:
        std::stable_sort(keys.begin(), keys.end(),
                         [](const SortKey& a, const SortKey& b) { return a.value > b.value; });
        break;
    case 1:
        std::stable_sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
            return lstrcmp(a.name, b.name) < 0;
        });
        break;
    default:
        std::stable_sort(keys.begin(), keys.end(),
                         [](const SortKey& a, const SortKey& b) { return a.value < b.value; });
        break;
    }

    std::vector<CData> sorted(m_items.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        SwapRecords(sorted[i], m_items[keys[i].index]);
    m_items.swap(sorted);

    RefreshView();
}
