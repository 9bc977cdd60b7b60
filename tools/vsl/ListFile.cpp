#include "tools/vsl/ListFile.h"

#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/KeptVersions.h"
#include "platform/core/ReplaceFile.h"

#include <cerrno>
#include <cstring>

bool ListReader::Open(const std::string& path) {
    CFileException error;
    if (!m_file.Open(AfxDevicePathFromHostPath(path), CFile::modeRead, &error)) {
        m_error = error.GetReason().ToUtf8();
        return false;
    }
    try {
        m_pArchive = std::make_unique<CArchive>(&m_file, CArchive::load);
    } catch (const CException& e) {
        m_error = e.what();
        return false;
    }
    return true;
}

bool ListReader::Next(CData* pData) {
    if (!m_pArchive || !m_error.empty() || m_damaged)
        return false;
    try {
        if (m_pArchive->IsAtEnd())
            return false;
        m_damagedAt = m_pArchive->GetPosition();
        pData->Serialize(*m_pArchive);
    } catch (const CArchiveException&) {
        m_damaged = true;
        return false;
    } catch (const CFileException& e) {
        m_error = e.GetReason().ToUtf8();
        return false;
    }
    ++m_count;
    return true;
}

std::string WriteListFile(const std::string& path, std::vector<CData>& items, bool bKeepVersions) {
    CReplaceFile file;
    try {
        CFileException error;
        if (!file.Open(AfxDevicePathFromHostPath(path), CFile::modeCreate | CFile::modeWrite,
                       &error))
            return error.GetReason().ToUtf8();
        CArchive ar(&file, CArchive::store);
        for (CData& d : items)
            d.Serialize(ar);
        ar.Close();
        const CKeptVersions versions(path);
        file.Commit(bKeepVersions ? &versions : nullptr);
    } catch (const CFileException& e) {
        return e.GetReason().ToUtf8(); // the caller names the file
    } catch (const CException& e) {
        return e.what();
    }
    return {};
}
