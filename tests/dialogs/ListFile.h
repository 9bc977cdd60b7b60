// The list file as the tests read it back: its records and its bytes.
#pragma once

#include "data/Data.h"

#include <filesystem>
#include <string>
#include <vector>

std::vector<CData> ReadListFile(const std::filesystem::path& path);
std::string FileBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
