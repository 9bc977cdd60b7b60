// CContentHash: a 64-bit fingerprint of a file's bytes, fed piece by piece as they are read or
// written; the same bytes give the same value however they are cut.
#pragma once

#include <cstddef>
#include <cstdint>

class CContentHash {
public:
    void Add(const void* pData, std::size_t nBytes);
    std::uint64_t GetValue() const;

private:
    void Fold(const unsigned char* pBlock);

    // Four lanes, each folding every fourth word: they do not wait on one another.
    std::uint64_t m_lanes[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                                0x27D4EB2F165667C5ull};
    std::uint64_t m_nBytes = 0;
    unsigned char m_pending[32] = {};
    std::size_t m_nPending = 0;
};
