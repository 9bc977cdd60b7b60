// List files as the tests write and read them: whole files' bytes, records written as the
// program writes its list, and the records a file holds.
#pragma once

#include "data/Data.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// A garment as a test's table writes it down: the record's eight fields in the file's order.
struct Garment {
    LONG bAtCleaners;
    const char16_t* name;
    const char16_t* qty;
    const char16_t* size;
    const char16_t* note;
    LONG month, day, year;

    CData Record() const;
    // The same garment at the cleaners since that day, or with its box and date cleared.
    Garment Ticked(LONG m, LONG d, LONG y) const { return {1, name, qty, size, note, m, d, y}; }
    Garment Cleared() const { return {0, name, qty, size, note, 0, 0, 0}; }
};

// The whole file; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& path);
// Replaces the file's contents, making its folders.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// Writes the records as the list file's (or any host file's) contents, making its folders;
// pStarts, when given, receives where each record begins.
void WriteListFile(const std::filesystem::path& path, const std::vector<CData>& records,
                   std::vector<std::size_t>* pStarts = nullptr);
void WriteListFile(const std::filesystem::path& path, const std::vector<Garment>& garments);
// The bytes of a list file holding these records.
std::string ListBytes(const std::vector<CData>& records,
                      std::vector<std::size_t>* pStarts = nullptr);
std::string ListBytes(const std::vector<Garment>& garments);

// The records the file holds, none when it cannot be opened; a damaged one throws, as it does
// for the program.
std::vector<CData> ReadListFile(const std::filesystem::path& path);
// Whether the two records hold the same eight fields.
bool SameRecord(const CData& a, const CData& b);
