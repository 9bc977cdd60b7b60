#include "data/ListMemory.h"

#include "platform/core/MemoryStatus.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace list_memory {

std::uint64_t MemoryLeft() {
    MEMORYSTATUS ms{};
    GlobalMemoryStatus(&ms);
    if (ms.dwTotalPhys == 0) // the system does not tell
        return std::numeric_limits<std::uint64_t>::max();
    return std::min(ms.dwAvailPhys + ms.dwAvailPageFile, ms.dwAvailVirtual);
}

std::uint64_t TextBytes(const CData& data) {
    return 2 * std::uint64_t(data.m_strItemName.GetLength() + data.m_strQty.GetLength() +
                             data.m_strSize.GetLength() + data.m_strNote.GetLength());
}

std::uint64_t ReadBytes(std::uint64_t nRecords, std::uint64_t nTextBytes) {
    return nTextBytes + std::bit_ceil(std::max<std::uint64_t>(nRecords, 1)) * sizeof(CData);
}

bool ReadableAtStart(std::uint64_t nRecords, std::uint64_t nTextBytes) {
    return ReadBytes(nRecords, nTextBytes) <= MemoryLeft() / kShareOfMemoryLeft;
}

} // namespace list_memory
