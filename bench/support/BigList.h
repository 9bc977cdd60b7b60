// A long garment list for the benchmarks, written as the program writes its list file.
#pragma once

#include "platform/core/WinTypes.h"

#include <filesystem>

// Writes nRecords garments to path (its folders made): every third one at the cleaners with a
// date, each with the note given.
void WriteBigList(const std::filesystem::path& path, int nRecords, LPCTSTR lpszNote = u"");
