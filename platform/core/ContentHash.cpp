#include "platform/core/ContentHash.h"

#include <cstring>

namespace {
constexpr std::uint64_t kMultiplier = 0xBF58476D1CE4E5B9ull;

std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 31;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 29);
}
} // namespace

// 32 bytes at a time, each little-endian word folded into its lane by a multiply and a
// rotation: several gigabytes a second, which a list of any size needs at every save and read.
void CContentHash::Fold(const unsigned char* pBlock) {
    for (int lane = 0; lane < 4; ++lane) {
        std::uint64_t w = 0;
        std::memcpy(&w, pBlock + 8 * lane, 8);
        std::uint64_t x = (m_lanes[lane] ^ w) * kMultiplier;
        m_lanes[lane] = (x << 27) | (x >> 37);
    }
}

void CContentHash::Add(const void* pData, std::size_t nBytes) {
    const auto* p = static_cast<const unsigned char*>(pData);
    m_nBytes += nBytes;
    if (m_nPending > 0) {
        const std::size_t n = nBytes < 32 - m_nPending ? nBytes : 32 - m_nPending;
        std::memcpy(m_pending + m_nPending, p, n);
        m_nPending += n;
        p += n;
        nBytes -= n;
        if (m_nPending < 32)
            return;
        Fold(m_pending);
        m_nPending = 0;
    }
    for (; nBytes >= 32; p += 32, nBytes -= 32)
        Fold(p);
    std::memcpy(m_pending, p, nBytes);
    m_nPending = nBytes;
}

std::uint64_t CContentHash::GetValue() const {
    unsigned char last[32] = {};
    std::memcpy(last, m_pending, m_nPending);
    std::uint64_t value = m_nBytes;
    for (int lane = 0; lane < 4; ++lane) {
        std::uint64_t w = 0;
        std::memcpy(&w, last + 8 * lane, 8);
        value = Mix(value ^ Mix(m_lanes[lane] ^ w));
    }
    return value;
}
