#include "tests/dialogs/ListFile.h"

#include "platform/core/Archive.h"
#include "platform/core/File.h"

#include <fstream>
#include <iterator>

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

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
