// Two lists that grew apart from one base made one again, garment by garment. A garment is its
// whole record: the list file has no room for anything that would tell two records apart.
#pragma once

#include "data/Data.h"

#include <string>
#include <vector>

namespace list_merge {

struct Result {
    std::vector<CData> items;
    // Some garment of the base was changed on both sides into different records, and both
    // records are in the merge.
    bool bChangedOnBoth = false;
};

// For each distinct record held b times by base, o times by ours and t times by theirs, the
// merge holds it b + max(o-b, t-b) times when both sides added or kept it, b + min(o-b, t-b)
// when both removed or kept it, and o + t - b when one side added where the other removed.
// What is kept from ours stays in ours' order; each record that only theirs added follows the
// record before it in theirs, or goes to the end when there is none or it is not in the
// merge. The same three lists always give the same merge, whatever machine it runs on.
Result Merge(const std::vector<CData>& base, const std::vector<CData>& ours,
             const std::vector<CData>& theirs);

// The record as one string of all eight fields: equal exactly when the records are equal.
std::string RecordKey(const CData& data);

} // namespace list_merge
