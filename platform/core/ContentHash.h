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
    std::uint64_t m_state = 0x9E3779B97F4A7C15ull;
    std::uint64_t m_nBytes = 0;
    unsigned char m_pending[8] = {};
    std::size_t m_nPending = 0;
};
