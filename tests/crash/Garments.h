// The garments the crash test saves: each is fully determined by its number, so a list read
// back can be checked record by record against the numbers that were saved.
#pragma once

#include "tests/support/ListFile.h"

#include <string>
#include <vector>

inline CData GarmentNumber(int id) {
    CData d;
    d.m_strItemName = CString::FromUtf8("Garment " + std::to_string(id));
    d.m_strQty = CString::FromUtf8(std::to_string(id % 20 + 1));
    static const char* const kSizes[] = {"S", "M", "L", "XL"};
    d.m_strSize = CString::FromUtf8(kSizes[id % 4]);
    // Notes of varying length make a list span several archive buffers, so a save is many
    // writes long and a kill can land between any two of them.
    d.m_strNote = CString::FromUtf8("Zip stuck \xE2\x80\x94 ask\r\n" +
                                    std::string(std::size_t(id * 37 % 400), char('a' + id % 26)));
    d.m_bAtCleaners = id % 2;
    d.m_nDay = d.m_bAtCleaners ? id % 28 + 1 : 0;
    d.m_nMonth = d.m_bAtCleaners ? id % 12 + 1 : 0;
    d.m_nYear = d.m_bAtCleaners ? 2000 + id % 30 : 0;
    return d;
}

// The number of a garment made by GarmentNumber, or -1 when the record is not one of them.
inline int NumberOfGarment(const CData& d) {
    std::string name = d.m_strItemName.ToUtf8();
    const std::string prefix = "Garment ";
    if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size() || name.size() > 16)
        return -1;
    int id = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return -1;
        id = id * 10 + (c - '0');
    }
    return SameRecord(d, GarmentNumber(id)) ? id : -1;
}

// "3,7,12": a list as the saver announces it.
inline std::string ListText(const std::vector<int>& ids) {
    std::string s;
    for (int id : ids) {
        if (!s.empty())
            s += ',';
        s += std::to_string(id);
    }
    return s;
}
