// The column sort of the garment list.
//
// A tap on a header has always given the order of a bubble scan that restarts after every
// exchange: records are exchanged only when strictly out of order, so records with equal keys
// keep their order. That order is exactly a stable sort by the same key; sorting the keys with
// their positions and then moving each record once keeps the result and drops the cubic cost.
#include "data/VestoryListDoc.h"
#include "platform/core/WideText.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

template <class Key> struct KeyedPosition {
    Key key;
    std::uint32_t from; // where the record stood before the sort
};
template <class Key> using Order = std::vector<KeyedPosition<Key>>;

template <class KeyOf> auto KeysOf(const std::vector<CData>& items, KeyOf keyOf) {
    Order<decltype(keyOf(items.front()))> order(items.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = {keyOf(items[i]), i};
    return order;
}

// A signed number as an unsigned one that sorts the same way, or the reverse way.
std::uint32_t Ascending(LONG n) {
    return std::uint32_t(n) ^ 0x80000000u;
}
std::uint32_t Descending(LONG n) {
    return ~Ascending(n);
}

// Stable radix sort, a byte at a time from the lowest. A byte that is the same in every key
// needs no pass, so flags and the small numbers of quantities take a single one.
void RadixSort(Order<std::uint32_t>& order) {
    Order<std::uint32_t> buffer(order.size());
    for (int shift = 0; shift < 32; shift += 8) {
        std::size_t start[257] = {};
        for (const auto& k : order)
            ++start[((k.key >> shift) & 0xFF) + 1];
        if (std::find(start + 1, start + 257, order.size()) != start + 257)
            continue;
        for (int digit = 1; digit < 257; ++digit)
            start[digit] += start[digit - 1];
        for (const auto& k : order)
            buffer[start[(k.key >> shift) & 0xFF]++] = k;
        order.swap(buffer);
    }
}

void Prefetch(const CData& d) {
    const char* p = reinterpret_cast<const char*>(&d);
    for (std::size_t line = 0; line < sizeof(CData); line += 64)
        __builtin_prefetch(p + line);
}

// Moves the records to their sorted positions, each once and in place, following every cycle
// of the permutation with one record held aside. Records further along the cycle are fetched
// ahead: a long list does not fit the cache, and each step would otherwise wait on memory.
// Returns where each row stood before, for taking the sort back.
template <class Key>
std::vector<std::uint32_t> MoveIntoPlace(std::vector<CData>& items, Order<Key>& order) {
    constexpr int kFetchAhead = 12;
    std::vector<std::uint32_t> before(order.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        before[i] = order[i].from;
    for (std::uint32_t start = 0; start < order.size(); ++start) {
        if (order[start].from == start)
            continue;
        std::uint32_t ahead = start;
        auto fetchNext = [&] {
            if (order[ahead].from == start)
                return;
            ahead = order[ahead].from;
            Prefetch(items[ahead]);
        };
        for (int k = 0; k < kFetchAhead; ++k)
            fetchNext();

        CData held = std::move(items[start]);
        std::uint32_t to = start;
        for (;;) {
            fetchNext();
            const std::uint32_t from = order[to].from;
            order[to].from = to; // filled
            if (from == start) {
                items[to] = std::move(held);
                break;
            }
            items[to] = std::move(items[from]);
            to = from;
        }
    }
    return before;
}

} // namespace

void CVestoryListDoc::SortByColumn(int column) {
    std::vector<std::uint32_t> before;
    // "a before b" holds exactly when the scan would have exchanged b and a.
    switch (column) {
    case 0: { // at the cleaners first
        auto order = KeysOf(m_items, [](const CData& d) { return Descending(d.m_bAtCleaners); });
        RadixSort(order);
        before = MoveIntoPlace(m_items, order);
        break;
    }
    case 1: {
        auto order =
            KeysOf(m_items, [](const CData& d) { return static_cast<LPCTSTR>(d.m_strItemName); });
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return lstrcmp(a.key, b.key) < 0; });
        before = MoveIntoPlace(m_items, order);
        break;
    }
    case 2: {
        auto order = KeysOf(m_items, [](const CData& d) { return Ascending(_wtoi(d.m_strQty)); });
        RadixSort(order);
        before = MoveIntoPlace(m_items, order);
        break;
    }
    default: // the Date header and anything else: the rows stay as they are
        return;
    }
    EndChange(CListStep::Reordered(std::move(before)));
}
