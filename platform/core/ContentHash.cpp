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

// Eight bytes at a time, little-endian, each word folded into the state by a multiply and a
// rotation: several gigabytes a second, which a list of any size needs after every save.
void CContentHash::Add(const void* pData, std::size_t nBytes) {
    const auto* p = static_cast<const unsigned char*>(pData);
    m_nBytes += nBytes;
    auto fold = [this](const unsigned char* word) {
        std::uint64_t w = 0;
        std::memcpy(&w, word, 8);
        m_state = ((m_state ^ w) * kMultiplier);
        m_state = (m_state << 27) | (m_state >> 37);
    };
    while (m_nPending > 0 && nBytes > 0) {
        m_pending[m_nPending++] = *p++;
        --nBytes;
        if (m_nPending == 8) {
            fold(m_pending);
            m_nPending = 0;
        }
    }
    for (; nBytes >= 8; p += 8, nBytes -= 8)
        fold(p);
    std::memcpy(m_pending, p, nBytes);
    m_nPending = nBytes;
}

std::uint64_t CContentHash::GetValue() const {
    std::uint64_t last = 0;
    std::memcpy(&last, m_pending, m_nPending);
    return Mix(Mix(m_state ^ last) ^ m_nBytes);
}
