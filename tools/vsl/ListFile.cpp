#include "tools/vsl/ListFile.h"

#include "platform/core/Exception.h"
#include "platform/core/ReplaceFile.h"

#include <cerrno>
#include <cstring>

ListReadResult ReadListFile(const std::string& path) {
    ListReadResult result;
    CFile file;
    const CString name = CString::FromUtf8(path);
    if (!file.Open(name, CFile::modeRead)) {
        result.error = std::strerror(errno);
        return result;
    }
    result.opened = true;
    try {
        if (file.GetLength() == 0)
            return result;
        CArchive ar(&file, CArchive::load);
        CData data;
        do {
            result.damagedAt = ar.GetPosition();
            data.Serialize(ar);
            result.items.push_back(data);
        } while (!ar.IsAtEnd());
    } catch (const CArchiveException&) {
        result.damaged = true;
    } catch (const CFileException& e) {
        result.error = e.what();
    }
    return result;
}

std::string WriteListFile(const std::string& path, std::vector<CData>& items) {
    CReplaceFile file;
    const CString name = CString::FromUtf8(path);
    try {
        if (!file.Open(name))
            return std::strerror(errno);
        CArchive ar(&file, CArchive::store);
        for (CData& d : items)
            d.Serialize(ar);
        ar.Close();
        file.Commit();
    } catch (const CException& e) {
        return e.what();
    }
    return {};
}
