#include "data/ListStep.h"

#include "data/ListMerge.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <string>
#include <unordered_map>

namespace {
std::vector<CData> GarmentsOf(const std::vector<std::pair<int, CData>>& rows) {
    std::vector<CData> garments;
    garments.reserve(rows.size());
    for (const auto& [row, garment] : rows)
        garments.push_back(garment);
    return garments;
}
} // namespace

int FindGarment(const std::vector<CData>& items, const CData& garment, int hint) {
    const int count = int(items.size());
    hint = std::clamp(hint, 0, std::max(count - 1, 0));
    // Outwards from where it stood: of two equal garments, the one the step meant.
    for (int d = 0; d < count; ++d) {
        if (hint - d < 0 && hint + d >= count)
            break;
        if (hint + d < count && items[std::size_t(hint + d)] == garment)
            return hint + d;
        if (d > 0 && hint - d >= 0 && items[std::size_t(hint - d)] == garment)
            return hint - d;
    }
    return -1;
}

CListStep CListStep::Replaced(int row, CData before, CData after) {
    CListStep step;
    step.m_kind = replaced;
    step.m_before.emplace_back(row, std::move(before));
    step.m_after.emplace_back(row, std::move(after));
    return step;
}

CListStep CListStep::Removed(std::vector<std::pair<int, CData>> removed) {
    CListStep step;
    step.m_kind = CListStep::removed;
    step.m_before = std::move(removed);
    return step;
}

CListStep CListStep::Appended(std::vector<std::pair<int, CData>> added) {
    CListStep step;
    step.m_kind = appended;
    step.m_after = std::move(added);
    return step;
}

CListStep CListStep::Reordered(std::vector<std::uint32_t> order) {
    CListStep step;
    step.m_kind = reordered;
    step.m_order = std::move(order);
    return step;
}

std::vector<CData> CListStep::GarmentsIn() const {
    return GarmentsOf(m_after);
}

std::vector<CData> CListStep::GarmentsOut() const {
    return m_kind == reordered ? std::vector<CData>() : GarmentsOf(m_before);
}

int CListStep::GetRow() const {
    return m_kind == replaced && !m_after.empty() ? m_after.front().first : -1;
}

BOOL CListStep::IsTickOnly() const {
    if (m_kind != replaced || m_before.empty())
        return FALSE;
    const CData& a = m_before.front().second;
    const CData& b = m_after.front().second;
    return a.m_strItemName == b.m_strItemName && a.m_strQty == b.m_strQty &&
           a.m_strSize == b.m_strSize && a.m_strNote == b.m_strNote;
}

BOOL CListStep::IsEmpty() const {
    switch (m_kind) {
    case replaced: // an edit that changed nothing, too
        return m_before.empty() || m_before.front().second == m_after.front().second;
    case removed:
        return m_before.empty();
    case appended:
        return m_after.empty();
    case reordered: // a sort that moved nothing, too (a permutation in order is no change)
        return m_before.empty() && std::is_sorted(m_order.begin(), m_order.end());
    }
    return TRUE;
}

CListStep CListStep::Undo(std::vector<CData>& items) const {
    CListStep done;
    switch (m_kind) {
    case replaced: {
        const auto& [row, after] = m_after.front();
        const int at = FindGarment(items, after, row);
        if (at >= 0) {
            CData& garment = items[std::size_t(at)];
            CData was = std::move(garment);
            garment = m_before.front().second;
            done = Replaced(at, std::move(was), garment);
        }
        break;
    }
    case removed: {
        // Each goes back in front of what followed it, at the end where the list has grown
        // shorter.
        std::vector<std::pair<int, CData>> back;
        const auto rising = [](const auto& a, const auto& b) { return a.first >= b.first; };
        if (std::adjacent_find(m_before.begin(), m_before.end(), rising) != m_before.end()) {
            // Rows each counted after the one before it went back (an undone paste whose
            // garments another writer had moved): in turn.
            for (const auto& [row, garment] : m_before) {
                const int at = std::min(row, int(items.size()));
                items.insert(items.begin() + at, garment);
                back.emplace_back(at, garment);
            }
            done = Appended(std::move(back));
            break;
        }
        // Rising rows, as a deletion leaves them: in one pass over the list.
        std::vector<CData> merged;
        merged.reserve(items.size() + m_before.size());
        auto from = items.begin();
        for (const auto& [row, garment] : m_before) {
            while (from != items.end() && int(merged.size()) < row)
                merged.push_back(std::move(*from++));
            back.emplace_back(int(merged.size()), garment);
            merged.push_back(garment);
        }
        std::move(from, items.end(), std::back_inserter(merged));
        items.swap(merged);
        done = Appended(std::move(back));
        break;
    }
    case appended: {
        // From the last, so that the rows of those before it still hold.
        std::vector<std::pair<int, CData>> out;
        for (auto it = m_after.rbegin(); it != m_after.rend(); ++it) {
            const int at = FindGarment(items, it->second, it->first);
            if (at < 0)
                continue;
            out.emplace_back(at, std::move(items[std::size_t(at)]));
            items.erase(items.begin() + at);
        }
        std::reverse(out.begin(), out.end());
        done = Removed(std::move(out));
        break;
    }
    case reordered: {
        // earlier[i]: the row that what now stands at row i goes back to.
        std::vector<std::uint32_t> back;
        if (!m_order.empty() && m_order.size() == items.size()) {
            back = m_order;
        } else if (!m_before.empty()) {
            // The garments' earlier ranks, taken up in turn by equal garments.
            std::unordered_map<std::string, std::deque<std::size_t>> ranks;
            for (std::size_t k = 0; k < m_before.size(); ++k)
                ranks[list_merge::RecordKey(m_before[k].second)].push_back(k);
            std::vector<std::uint32_t> places;
            std::vector<std::size_t> placeRanks;
            for (std::uint32_t i = 0; i < items.size(); ++i) {
                auto found = ranks.find(list_merge::RecordKey(items[i]));
                if (found == ranks.end() || found->second.empty())
                    continue;
                places.push_back(i);
                placeRanks.push_back(found->second.front());
                found->second.pop_front();
            }
            // The places keep holding the step's garments, now in their earlier order; what
            // another writer added stays where it is.
            std::vector<std::uint32_t> byRank(places.size());
            for (std::uint32_t j = 0; j < byRank.size(); ++j)
                byRank[j] = j;
            std::sort(byRank.begin(), byRank.end(), [&](std::uint32_t a, std::uint32_t b) {
                return placeRanks[a] < placeRanks[b];
            });
            back.resize(items.size());
            for (std::uint32_t i = 0; i < back.size(); ++i)
                back[i] = i;
            for (std::size_t j = 0; j < places.size(); ++j)
                back[places[byRank[j]]] = places[j];
        }
        if (back.empty())
            break;
        std::vector<CData> before(items.size());
        std::vector<std::uint32_t> undone(items.size());
        for (std::uint32_t i = 0; i < back.size(); ++i) {
            before[back[i]] = std::move(items[i]);
            undone[back[i]] = i;
        }
        items.swap(before);
        done = Reordered(std::move(undone));
        break;
    }
    }
    done.m_bTakenBack = TRUE;
    return done;
}

void CListStep::KeepGarments(const std::vector<CData>& itemsAfter) {
    if (m_order.empty() || m_order.size() != itemsAfter.size())
        return;
    m_before.assign(m_order.size(), {});
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_before[m_order[i]] = {int(m_order[i]), itemsAfter[i]};
    m_order.clear();
    m_order.shrink_to_fit();
}
