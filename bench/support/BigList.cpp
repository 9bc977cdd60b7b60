#include "bench/support/BigList.h"

#include "data/Data.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"

#include <string>

void WriteBigList(const std::filesystem::path& path, int nRecords, LPCTSTR lpszNote) {
    std::filesystem::create_directories(path.parent_path());
    CFile file;
    file.Open(CString::FromUtf8(path.string()), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    for (int i = 0; i < nRecords; ++i) {
        CData data;
        data.m_bAtCleaners = i % 3 == 0;
        data.m_strItemName = CString::FromUtf8("Shirt " + std::to_string(i));
        data.m_strQty = u"2";
        data.m_strSize = u"M";
        data.m_strNote = lpszNote;
        data.m_nMonth = 1 + i % 12;
        data.m_nDay = 1 + i % 28;
        data.m_nYear = i % 3 == 0 ? 2026 : 0;
        data.Serialize(ar);
    }
    ar.Close();
    file.Close();
}
