#include "tests/support/ListFile.h"

#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

CData Garment::Record() const {
    CData data;
    data.m_bAtCleaners = bAtCleaners;
    data.m_strItemName = name;
    data.m_strQty = qty;
    data.m_strSize = size;
    data.m_strNote = note;
    data.m_nMonth = month;
    data.m_nDay = day;
    data.m_nYear = year;
    return data;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void WriteListFile(const std::filesystem::path& path, const std::vector<CData>& records,
                   std::vector<std::size_t>* pStarts) {
    std::filesystem::create_directories(path.parent_path());
    CFile file;
    ASSERT_TRUE(file.Open(CString::FromUtf8(path.string()), CFile::modeCreate | CFile::modeWrite))
        << path;
    CArchive ar(&file, CArchive::store);
    for (CData record : records) {
        if (pStarts)
            pStarts->push_back(std::size_t(ar.GetPosition()));
        record.Serialize(ar);
    }
    ar.Close();
    file.Close();
}

namespace {
std::vector<CData> Records(const std::vector<Garment>& garments) {
    std::vector<CData> records;
    for (const Garment& g : garments)
        records.push_back(g.Record());
    return records;
}
} // namespace

void WriteListFile(const std::filesystem::path& path, const std::vector<Garment>& garments) {
    WriteListFile(path, Records(garments));
}

std::string ListBytes(const std::vector<CData>& records, std::vector<std::size_t>* pStarts) {
    const TempFolder scratch;
    WriteListFile(scratch.Path() / "list.vsl", records, pStarts);
    return FileBytes(scratch.Path() / "list.vsl");
}

std::string ListBytes(const std::vector<Garment>& garments) {
    return ListBytes(Records(garments));
}

std::vector<CData> ReadListFile(const std::filesystem::path& path) {
    std::vector<CData> records;
    CFile file;
    if (!file.Open(CString::FromUtf8(path.string()), CFile::modeRead))
        return records;
    CArchive ar(&file, CArchive::load);
    while (!ar.IsAtEnd()) {
        CData data;
        data.Serialize(ar);
        records.push_back(data);
    }
    return records;
}

bool SameRecord(const CData& a, const CData& b) {
    return a.m_bAtCleaners == b.m_bAtCleaners && a.m_strItemName == b.m_strItemName &&
           a.m_strQty == b.m_strQty && a.m_strSize == b.m_strSize && a.m_strNote == b.m_strNote &&
           a.m_nMonth == b.m_nMonth && a.m_nDay == b.m_nDay && a.m_nYear == b.m_nYear;
}
