// Reading and writing whole list files for the command line.
#pragma once

#include "data/Data.h"

#include <cstdint>
#include <string>
#include <vector>

struct ListReadResult {
    bool opened = false;
    std::string error; // why the file could not be opened or read
    std::vector<CData> items;
    bool damaged = false;
    std::uint64_t damagedAt = 0; // where the first record that could not be read whole begins
};

ListReadResult ReadListFile(const std::string& path);
// Replaces the file crash-safely; returns an error text, empty on success.
std::string WriteListFile(const std::string& path, std::vector<CData>& items);
