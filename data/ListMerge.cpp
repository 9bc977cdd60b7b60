#include "data/ListMerge.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace list_merge {

namespace {

void AppendNumber(std::string& key, LONG n) {
    const auto u = std::uint32_t(n);
    for (int shift = 0; shift < 32; shift += 8)
        key += char((u >> shift) & 0xFF);
}

void AppendText(std::string& key, const CString& text) {
    const std::u16string_view s = text.str();
    AppendNumber(key, LONG(s.size()));
    for (char16_t c : s) {
        key += char(c & 0xFF);
        key += char(c >> 8);
    }
}

struct Tally {
    int b = 0;
    int o = 0;
    int t = 0;
    int m = 0; // in the merge
    // Where the occurrences kept from ours stand among the records kept from ours.
    std::vector<std::size_t> oursKeptAt;
};

int MergedCount(int b, int o, int t) {
    const int dOurs = o - b;
    const int dTheirs = t - b;
    if (dOurs >= 0 && dTheirs >= 0)
        return b + std::max(dOurs, dTheirs);
    if (dOurs <= 0 && dTheirs <= 0)
        return b + std::min(dOurs, dTheirs);
    return o + t - b;
}

std::vector<std::string> Keys(const std::vector<CData>& items) {
    std::vector<std::string> keys;
    keys.reserve(items.size());
    for (const CData& d : items)
        keys.push_back(RecordKey(d));
    return keys;
}

// A record that one side added and the other did not, as what it can be told apart by: its
// name, and the place it holds in that side's list.
struct Added {
    std::unordered_set<std::u16string> names;
    std::unordered_set<std::size_t> places;
};

Added AddedOnlyBy(const std::vector<CData>& side, const std::vector<std::string>& keys,
                  const std::unordered_map<std::string, Tally>& tally, bool bOurs) {
    Added added;
    for (std::size_t i = 0; i < side.size(); ++i) {
        const Tally& n = tally.at(keys[i]);
        const int mine = bOurs ? n.o : n.t;
        const int other = bOurs ? n.t : n.o;
        if (mine > std::max(n.b, other)) {
            added.names.emplace(side[i].m_strItemName.str());
            added.places.insert(i);
        }
    }
    return added;
}

// A base record that both sides removed counts as changed on both when each side added a
// record of its own in its stead: one with the same name (a tick, a new note) or in the same
// place (a renamed garment).
bool ChangedOnBoth(const std::vector<CData>& base, const std::vector<std::string>& baseKeys,
                   const Added& ours, const Added& theirs,
                   const std::unordered_map<std::string, Tally>& tally) {
    for (std::size_t i = 0; i < base.size(); ++i) {
        const Tally& n = tally.at(baseKeys[i]);
        if (n.o >= n.b || n.t >= n.b)
            continue;
        const std::u16string name(base[i].m_strItemName.str());
        if ((ours.names.count(name) || ours.places.count(i)) &&
            (theirs.names.count(name) || theirs.places.count(i)))
            return true;
    }
    return false;
}

} // namespace

std::string RecordKey(const CData& data) {
    std::string key;
    key.reserve(16 +
                2 * std::size_t(data.m_strItemName.GetLength() + data.m_strQty.GetLength() +
                                data.m_strSize.GetLength() + data.m_strNote.GetLength()) +
                16);
    AppendNumber(key, data.m_bAtCleaners);
    AppendText(key, data.m_strItemName);
    AppendText(key, data.m_strQty);
    AppendText(key, data.m_strSize);
    AppendText(key, data.m_strNote);
    AppendNumber(key, data.m_nMonth);
    AppendNumber(key, data.m_nDay);
    AppendNumber(key, data.m_nYear);
    return key;
}

Result Merge(const std::vector<CData>& base, const std::vector<CData>& ours,
             const std::vector<CData>& theirs) {
    const std::vector<std::string> baseKeys = Keys(base);
    const std::vector<std::string> oursKeys = Keys(ours);
    const std::vector<std::string> theirsKeys = Keys(theirs);
    // Only looked up, never walked: the order of the result comes from the lists alone.
    std::unordered_map<std::string, Tally> tally;
    for (const std::string& k : baseKeys)
        ++tally[k].b;
    for (const std::string& k : oursKeys)
        ++tally[k].o;
    for (const std::string& k : theirsKeys)
        ++tally[k].t;
    for (auto& [key, n] : tally)
        n.m = MergedCount(n.b, n.o, n.t);

    // Ours' records, each as often as the merge holds it, the first occurrences first.
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        Tally& n = tally[oursKeys[i]];
        if (int(n.oursKeptAt.size()) < n.m) {
            n.oursKeptAt.push_back(kept.size());
            kept.push_back(i);
        }
    }

    // What theirs adds, gathered behind the kept record it follows, in theirs' order; with no
    // record before it in the merge, at the end.
    constexpr std::size_t kAtEnd = SIZE_MAX;
    std::unordered_map<std::size_t, std::vector<std::size_t>> behind;
    std::unordered_map<std::string, int> seen;
    std::size_t previousSlot = kAtEnd; // where the record before this one in theirs went
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        const Tally& n = tally[theirsKeys[i]];
        const int occurrence = seen[theirsKeys[i]]++;
        if (occurrence < int(n.oursKeptAt.size())) {
            previousSlot = n.oursKeptAt[std::size_t(occurrence)];
        } else if (occurrence < n.m) {
            behind[previousSlot].push_back(i);
        } else {
            previousSlot = kAtEnd;
        }
    }

    Result result;
    result.items.reserve(kept.size() + theirs.size());
    auto appendBehind = [&](std::size_t slot) {
        auto it = behind.find(slot);
        if (it != behind.end())
            for (std::size_t i : it->second)
                result.items.push_back(theirs[i]);
    };
    for (std::size_t k = 0; k < kept.size(); ++k) {
        result.items.push_back(ours[kept[k]]);
        appendBehind(k);
    }
    appendBehind(kAtEnd);

    result.bChangedOnBoth = ChangedOnBoth(base, baseKeys, AddedOnlyBy(ours, oursKeys, tally, true),
                                          AddedOnlyBy(theirs, theirsKeys, tally, false), tally);
    return result;
}

} // namespace list_merge
