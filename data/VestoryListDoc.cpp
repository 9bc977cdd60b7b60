#include "data/VestoryListDoc.h"

#include "platform/core/Afx.h"
#include "platform/core/Exception.h"
#include "platform/core/ReplaceFile.h"
#include "platform/core/Time.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

IMPLEMENT_DYNCREATE(CVestoryListDoc, CDocument)

BEGIN_MESSAGE_MAP(CVestoryListDoc, CDocument)
ON_COMMAND(ID_LIST_NEW_ITEM, OnNewItem)
END_MESSAGE_MAP()

CVestoryListDoc::CVestoryListDoc() = default;
CVestoryListDoc::~CVestoryListDoc() = default;

BOOL CVestoryListDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    LoadList();
    return TRUE;
}

BOOL CVestoryListDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    if (!ReadListFile(lpszPathName)) {
        CString text;
        text.Format(u"Cannot open %s.", lpszPathName);
        AfxMessageBox(text, MB_ICONINFORMATION);
        return FALSE;
    }
    m_strPathName = lpszPathName;
    SetModifiedFlag(FALSE);
    return TRUE;
}

// Emptied before every read, so that reading again never doubles the records.
void CVestoryListDoc::DeleteContents() {
    m_items.clear();
}

void CVestoryListDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        for (CData& data : m_items)
            data.Serialize(ar);
        return;
    }
    // Each record is read in place at the end of the list; one that does not read whole is
    // taken off again, so the list keeps exactly the records before the damage.
    while (!ar.IsAtEnd()) {
        m_items.emplace_back();
        try {
            m_items.back().Serialize(ar);
        } catch (...) {
            m_items.pop_back();
            throw;
        }
    }
}

void CVestoryListDoc::LoadList() {
    ReadListFile(kListFile);
}

BOOL CVestoryListDoc::ReadListFile(LPCTSTR lpszPath) {
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead))
        return FALSE; // no list yet: an empty list, and nothing to say
    DeleteContents();
    bool damaged = false;
    try {
        if (file.GetLength() != 0) {
            CArchive ar(&file, CArchive::load);
            Serialize(ar);
            ar.Close();
        }
        file.Close();
    } catch (const CException&) {
        // Serialize appends a record only once it has read it whole, so m_items now holds
        // everything before the damage.
        damaged = true;
    }
    if (damaged)
        ReportDamagedFile(lpszPath);
    return TRUE;
}

namespace {
CString FileNameOf(const CString& path) {
    const std::u16string& s = path.str();
    std::size_t slash = s.find_last_of(u"\\/");
    return CString(slash == std::u16string::npos ? s : s.substr(slash + 1));
}

// Copies the damaged file to the first free "<name>.damaged", "<name>.damaged.1", ... beside
// it, before any save can overwrite it. Returns the copy's path, or an empty string.
CString KeepDamagedCopy(LPCTSTR lpszPath) {
    for (int n = 0; n < 1000; ++n) {
        CString copyPath = CString(lpszPath) + u".damaged";
        if (n > 0) {
            CString suffix;
            suffix.Format(u".%d", n);
            copyPath += suffix;
        }
        CFile taken;
        if (taken.Open(copyPath, CFile::modeRead))
            continue;
        try {
            CFile in;
            CReplaceFile out;
            if (!in.Open(lpszPath, CFile::modeRead) || !out.Open(copyPath))
                return CString();
            BYTE buf[65536];
            while (UINT got = in.Read(buf, sizeof buf))
                out.Write(buf, got);
            out.Commit();
            return copyPath;
        } catch (const CException&) {
            return CString();
        }
    }
    return CString();
}
} // namespace

void CVestoryListDoc::ReportDamagedFile(LPCTSTR lpszPath) {
    CString kept = KeepDamagedCopy(lpszPath);
    CString text;
    if (kept.IsEmpty()) {
        text.Format(u"The list file is damaged. %d items were read; the damaged file could not "
                    u"be kept.",
                    GetItemCount());
    } else {
        CString name = FileNameOf(kept);
        text.Format(u"The list file is damaged. %d items were read; the damaged file was kept "
                    u"as %s.",
                    GetItemCount(), LPCTSTR(name));
    }
    AfxMessageBox(text, MB_ICONINFORMATION);
}

void CVestoryListDoc::SaveList() {
    // The new list goes to a file beside the old one and is renamed over it, so the list file
    // is always either the old list or the new one, whole.
    CReplaceFile file;
    bool saved = false;
    try {
        if (file.Open(kListFile)) {
            CArchive ar(&file, CArchive::store);
            Serialize(ar);
            ar.Close();
            file.Commit();
            saved = true;
        }
    } catch (...) { // NOLINT: a failed save is reported here and retried with the next change
    }
    if (!saved) {
        file.Abandon();
        AfxMessageBox(u"Unable to save list file!", MB_ICONINFORMATION);
    }
}

int CVestoryListDoc::GetItemCount() const {
    return int(m_items.size());
}

CData CVestoryListDoc::GetItem(int index) const {
    return m_items.at(std::size_t(index));
}

void CVestoryListDoc::AddItem(CData data) {
    m_items.push_back(std::move(data));
}

void CVestoryListDoc::DeleteItem(int index) {
    if (index >= 0 && index < GetItemCount())
        m_items.erase(m_items.begin() + index);
    SaveList();
}

void CVestoryListDoc::ToggleAtCleaners(int index) {
    CData& data = m_items.at(std::size_t(index));
    if (data.m_bAtCleaners == 0) {
        std::tm now{};
        CTime::GetCurrentTime().GetLocalTm(&now);
        data.m_bAtCleaners = 1;
        data.m_nDay = now.tm_mday;
        data.m_nMonth = now.tm_mon + 1;
        data.m_nYear = now.tm_year + 1900;
    } else {
        data.m_bAtCleaners = 0;
        data.m_nDay = 0;
        data.m_nMonth = 0;
        data.m_nYear = 0;
    }
}

void CVestoryListDoc::RefreshView() {
    POSITION pos = GetFirstViewPosition();
    if (pos)
        static_cast<CVestoryListView*>(GetNextView(pos))->RefreshList();
}
