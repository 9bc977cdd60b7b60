// What a list of garments takes in memory as the program reads it, and how much of the memory
// left a read may take: a list that needs more is refused at start-up as too large to read.
#pragma once

#include "data/Data.h"

#include <cstdint>

namespace list_memory {

// The share of the memory left that a read may take: the rows on screen hold the texts again,
// and the window needs its own.
inline constexpr std::uint64_t kShareOfMemoryLeft = 4;

// What the program can still get, from the machine and from its own limits.
std::uint64_t MemoryLeft();
// Bytes one garment's texts take in memory.
std::uint64_t TextBytes(const CData& data);
// Bytes that reading nRecords garments with nTextBytes of texts takes: the texts and the array
// as it grows by doubling, which is never less than the file's own length.
std::uint64_t ReadBytes(std::uint64_t nRecords, std::uint64_t nTextBytes);
// Whether a start with the memory there is now reads such a list whole. The program running
// now holds more than a new start does, so a list it accepts is one the next start reads.
bool ReadableAtStart(std::uint64_t nRecords, std::uint64_t nTextBytes);

} // namespace list_memory
