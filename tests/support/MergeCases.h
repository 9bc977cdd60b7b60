// The merge rule's cases, shared by every way a merge is made (vsl merge, the document). A
// garment is written in short: "Shirt" a garment, "Shirt+" the same garment ticked on one day,
// "Shirt/starch" the same garment with a note.
#pragma once

#include "data/Data.h"

#include <string>
#include <vector>

struct MergeCase {
    const char* name;
    std::vector<const char*> base, ours, theirs, merged;
    bool bChangedOnBoth = false;
};

inline CData ShortGarment(const std::string& spec) {
    CData d;
    std::string name = spec;
    if (std::size_t slash = name.find('/'); slash != std::string::npos) {
        d.m_strNote = CString::FromUtf8(name.substr(slash + 1));
        name.erase(slash);
    }
    if (!name.empty() && name.back() == '+') {
        name.pop_back();
        d.m_bAtCleaners = 1;
        d.m_nMonth = 12;
        d.m_nDay = 8;
        d.m_nYear = 2026;
    }
    d.m_strItemName = CString::FromUtf8(name);
    d.m_strSize = u"M";
    return d;
}

inline std::vector<CData> ShortGarments(const std::vector<const char*>& specs) {
    std::vector<CData> items;
    for (const char* spec : specs)
        items.push_back(ShortGarment(spec));
    return items;
}

inline const std::vector<MergeCase>& MergeCases() {
    static const std::vector<MergeCase> cases = {
        {"a tick here, a new garment there",
         {"A", "B"},
         {"A+", "B"},
         {"A", "B", "C"},
         {"A+", "B", "C"}},
        {"a deletion against no change", {"A", "B", "C"}, {"A", "C"}, {"A", "B", "C"}, {"A", "C"}},
        {"no change against a deletion", {"A", "B", "C"}, {"A", "B", "C"}, {"A", "C"}, {"A", "C"}},
        {"a change against a deletion keeps the change",
         {"A", "B"},
         {"A", "B+"},
         {"A"},
         {"A", "B+"}},
        {"a deletion against a change keeps the change",
         {"A", "B"},
         {"A"},
         {"A", "B/starch"},
         {"A", "B/starch"}},
        {"changed differently on both: both kept",
         {"A", "B"},
         {"A", "B+"},
         {"A", "B/starch"},
         {"A", "B/starch", "B+"},
         true},
        {"renamed here, ticked there: both kept",
         {"A", "B"},
         {"A", "Bee"},
         {"A", "B+"},
         {"A", "B+", "Bee"},
         true},
        {"the same change on both", {"A", "B"}, {"A+", "B"}, {"A+", "B"}, {"A+", "B"}},
        {"the same deletion on both", {"A", "B"}, {"A"}, {"A"}, {"A"}},
        {"a duplicate added here, one of two removed there",
         {"A", "A"},
         {"A", "A", "A"},
         {"A"},
         {"A", "A"}},
        {"a duplicate added on both", {"A"}, {"A", "A"}, {"A", "A"}, {"A", "A"}},
        {"one and two of three removed", {"A", "A", "A"}, {"A", "A"}, {"A"}, {"A"}},
        {"theirs sorted: ours' order stays",
         {"C", "A", "B"},
         {"C", "A", "B", "D"},
         {"A", "B", "C"},
         {"C", "A", "B", "D"}},
        {"ours sorted: theirs' new garment after the one before it",
         {"C", "A", "B"},
         {"A", "B", "C"},
         {"C", "A", "B", "D"},
         {"A", "B", "D", "C"}},
        {"theirs' new garments in a row, and one at the top that goes last",
         {"A", "B"},
         {"A", "B"},
         {"Z", "A", "X", "Y", "B"},
         {"A", "X", "Y", "B", "Z"}},
        {"theirs' new garment after one ours deleted goes last",
         {"A", "B", "C"},
         {"B", "C"},
         {"A", "X", "B", "C"},
         {"B", "C", "X"}},
        {"all empty", {}, {}, {}, {}},
        {"no base", {}, {"A"}, {"B"}, {"A", "B"}},
        {"everything deleted here", {"A", "B"}, {}, {"A", "B", "C"}, {"C"}},
        {"everything deleted on both", {"A"}, {}, {}, {}},
    };
    return cases;
}
