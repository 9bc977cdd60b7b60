// Reading and writing whole list files for the command line.
#pragma once

#include "data/Data.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Reads a list file one record at a time, so that memory does not grow with the list.
class ListReader {
public:
    // False, with Error() set, when the file cannot be read: missing, not a regular file,
    // not allowed.
    bool Open(const std::string& path);
    // Reads the next record into *pData. False at the end, when the rest does not read
    // whole (Damaged()), or on a read error (Error()).
    bool Next(CData* pData);

    const std::string& Error() const { return m_error; }
    bool Damaged() const { return m_damaged; }
    std::uint64_t DamagedAt() const { return m_damagedAt; } // where the bad record begins
    std::uint64_t Count() const { return m_count; }         // records read whole

private:
    CFile m_file;
    std::unique_ptr<CArchive> m_pArchive;
    std::string m_error;
    bool m_damaged = false;
    std::uint64_t m_damagedAt = 0;
    std::uint64_t m_count = 0;
};

// Replaces the file crash-safely; returns an error text, empty on success. The old version is
// kept (.bak, the day's copy) as the program keeps it unless bKeepVersions is false.
std::string WriteListFile(const std::string& path, std::vector<CData>& items,
                          bool bKeepVersions = true);
