#include "data/VestoryListDoc.h"

#include "platform/core/Afx.h"
#include "platform/core/CopyFile.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/MemoryStatus.h"
#include "platform/core/ReplaceFile.h"
#include "platform/core/StdIds.h"
#include "platform/core/Time.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

IMPLEMENT_DYNCREATE(CVestoryListDoc, CDocument)

BEGIN_MESSAGE_MAP(CVestoryListDoc, CDocument)
ON_COMMAND(ID_LIST_NEW_ITEM, OnNewItem)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
END_MESSAGE_MAP()

CVestoryListDoc::CVestoryListDoc() = default;
CVestoryListDoc::~CVestoryListDoc() = default;

namespace {
// The share of the memory left that the records may take: the rows on screen hold their
// texts again, and the window needs its own.
constexpr std::uint64_t kLoadShareOfMemory = 4;

CString FileNameOf(const CString& path) {
    const std::u16string_view s = path.str();
    std::size_t slash = s.find_last_of(u"\\/");
    return CString(slash == std::u16string::npos ? s : s.substr(slash + 1));
}

std::uint64_t MemoryLeft() {
    MEMORYSTATUS ms{};
    GlobalMemoryStatus(&ms);
    if (ms.dwTotalPhys == 0) // the system does not tell
        return std::numeric_limits<std::uint64_t>::max();
    return std::min(ms.dwAvailPhys + ms.dwAvailPageFile, ms.dwAvailVirtual);
}

// What a record takes in memory besides its place in the array.
std::uint64_t TextBytes(const CData& data) {
    return 2 * std::uint64_t(data.m_strItemName.GetLength() + data.m_strQty.GetLength() +
                             data.m_strSize.GetLength() + data.m_strNote.GetLength());
}
} // namespace

BOOL CVestoryListDoc::OnNewDocument() {
    if (!HoldListFile())
        return FALSE;
    // File New reads the file again: garments that only memory holds are saved first.
    if (m_bSaveFailed) {
        SaveList();
        if (m_bSaveFailed)
            return FALSE;
    }
    // The base step empties the list; what it held waits aside until the file has been read.
    std::vector<CData> held;
    held.swap(m_items);
    std::vector<UndoStep> heldUndo;
    heldUndo.swap(m_undo);
    if (!CDocument::OnNewDocument() || !LoadList()) {
        m_items.swap(held);
        m_undo.swap(heldUndo);
        return FALSE;
    }
    return TRUE;
}

BOOL CVestoryListDoc::HoldListFile() {
    if (m_listLock.IsLocked())
        return TRUE;
    // vsl holds a list only while it writes it: the lock waits a moment for it.
    int nHolder = 0;
    if (m_listLock.LockWithin(AfxHostPathFromDevicePath(kListFile), CWriterLock::kWaitMs, &nHolder))
        return TRUE;
    AfxMessageBox(CWriterLock::HeldMessage(nHolder), MB_ICONINFORMATION);
    return FALSE;
}

BOOL CVestoryListDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    // What is opened is saved to the list file, so the list is held from here on too.
    if (!HoldListFile())
        return FALSE;
    std::vector<CData> held;
    held.swap(m_items);
    CFileException error;
    // Only a whole list replaces the one held: anything else is not what the user meant to
    // open, and is never copied aside like a damaged list file.
    if (ReadListFile(lpszPathName, &error) != readWhole) {
        m_items.swap(held);
        CString text;
        text.Format(u"%s is not a whole list file. The list was not changed.",
                    LPCTSTR(FileNameOf(lpszPathName)));
        AfxMessageBox(text, MB_ICONINFORMATION);
        return FALSE;
    }
    m_strPathName = lpszPathName;
    SetModifiedFlag(FALSE);
    m_undo.clear(); // the changes were made to the list that went
    return TRUE;
}

// Emptied before every read, so that reading again never doubles the records; what could be
// undone belonged to the list that goes.
void CVestoryListDoc::DeleteContents() {
    m_items.clear();
    m_undo.clear();
}

void CVestoryListDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        for (CData& data : m_items)
            data.Serialize(ar);
        return;
    }
    // Each record is read in place at the end of the list; one that does not read whole is
    // taken off again, so the list keeps exactly the records before the damage.
    std::uint64_t nTextBytes = 0;
    while (!ar.IsAtEnd()) {
        m_items.emplace_back();
        try {
            m_items.back().Serialize(ar);
        } catch (...) {
            m_items.pop_back();
            throw;
        }
        nTextBytes += TextBytes(m_items.back());
        if (nTextBytes + m_items.capacity() * sizeof(CData) > m_nLoadBudget)
            throw std::bad_alloc();
    }
}

BOOL CVestoryListDoc::LoadList() {
    CFileException error;
    CString text;
    switch (ReadListFile(kListFile, &error)) {
    case readWhole:
    case readMissing: // no list yet: an empty list, and nothing to say
        return TRUE;
    case readDamaged:
        ReportDamagedFile(kListFile);
        return TRUE;
    case readFailed:
        text.Format(u"The list file %s cannot be read: %s. Nothing was changed.",
                    LPCTSTR(error.m_strFileName), LPCTSTR(error.GetReason()));
        break;
    case readTooLarge:
        text.Format(u"The list file %s is too large to read. Nothing was changed.",
                    LPCTSTR(error.m_strFileName));
        break;
    }
    AfxMessageBox(text, MB_ICONINFORMATION);
    return FALSE;
}

CVestoryListDoc::ReadResult CVestoryListDoc::ReadListFile(LPCTSTR lpszPath,
                                                          CFileException* pError) {
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead, pError)) {
        // Only a file that is not there at all is no list; a link to nowhere is not that.
        return pError->m_cause == CFileException::fileNotFound && pError->m_lOsError == ENOENT
                   ? readMissing
                   : readFailed;
    }
    DeleteContents();
    ReadResult result = readWhole;
    m_nLoadBudget = MemoryLeft() / kLoadShareOfMemory;
    try {
        const std::uint64_t nLength = file.GetLength();
        // One text alone may take the file's length in memory before a record is counted.
        if (nLength > m_nLoadBudget)
            throw std::bad_alloc();
        if (nLength != 0) {
            // Room for the records at once, counted at one record per 64 bytes of file (a
            // record of short texts takes 70 to 100): growing the array would copy the records
            // and touch their memory twice. Lists of shorter records still grow it.
            m_items.reserve(std::size_t(nLength / 64));
            CArchive ar(&file, CArchive::load);
            Serialize(ar);
            ar.Close();
        }
        file.Close();
    } catch (const CArchiveException&) {
        // Serialize appends a record only once it has read it whole, so m_items now holds
        // everything before the damage.
        result = readDamaged;
    } catch (const CFileException& e) {
        *pError = e;
        result = readFailed;
    } catch (const std::bad_alloc&) {
        std::vector<CData>().swap(m_items); // give the memory back at once
        result = readTooLarge;
    }
    m_nLoadBudget = std::numeric_limits<std::uint64_t>::max();
    if (result == readTooLarge || result == readFailed)
        DeleteContents();
    // Messages name the file as the desktop shows it.
    pError->m_strFileName = CString::FromUtf8(AfxHostPathFromDevicePath(lpszPath));
    return result;
}

namespace {
bool SameBytes(LPCTSTR lpszPath, LPCTSTR lpszOther) {
    CFile a, b;
    if (!b.Open(lpszOther, CFile::modeRead) || !a.Open(lpszPath, CFile::modeRead))
        return false;
    try {
        if (a.GetLength() != b.GetLength())
            return false;
        std::vector<BYTE> bufA(1 << 16), bufB(1 << 16);
        for (;;) {
            const UINT got = a.Read(bufA.data(), UINT(bufA.size()));
            if (b.Read(bufB.data(), UINT(bufB.size())) != got ||
                std::memcmp(bufA.data(), bufB.data(), got) != 0)
                return false;
            if (got == 0)
                return true;
        }
    } catch (const CException&) {
        return false;
    }
}

// Keeps the damaged file as the first free "<name>.damaged", "<name>.damaged.1", ... beside
// it, before any save can overwrite it; a copy with the same bytes already there is kept
// instead, so that starting again and again does not fill the disk. Returns the copy's path,
// or an empty string.
CString KeepDamagedCopy(LPCTSTR lpszPath) {
    CString freePath;
    for (int n = 0; n < 1000; ++n) {
        CString copyPath = CString(lpszPath) + u".damaged";
        if (n > 0) {
            CString suffix;
            suffix.Format(u".%d", n);
            copyPath += suffix;
        }
        if (SameBytes(lpszPath, copyPath))
            return copyPath;
        CFile probe;
        CFileException error;
        if (freePath.IsEmpty() && !probe.Open(copyPath, CFile::modeRead, &error) &&
            error.m_cause == CFileException::fileNotFound && error.m_lOsError == ENOENT)
            freePath = copyPath;
    }
    if (freePath.IsEmpty() || !CopyFile(lpszPath, freePath, TRUE))
        return CString();
    return freePath;
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
    CString reason;
    if (!TrySaveList(&reason))
        AfxMessageBox(u"Unable to save list file!", MB_ICONINFORMATION);
}

BOOL CVestoryListDoc::TrySaveList(CString* pReason) {
    m_bSaveFailed = !WriteList(kListFile, pReason);
    return !m_bSaveFailed;
}

BOOL CVestoryListDoc::WriteList(LPCTSTR lpszPath, CString* pReason) {
    // The new list goes to a file beside the old one and is renamed over it, so the list file
    // is always either the old list or the new one, whole.
    CReplaceFile file;
    CFileException error;
    try {
        if (!file.Open(lpszPath, CFile::modeCreate | CFile::modeWrite, &error)) {
            *pReason = error.GetReason();
            return FALSE;
        }
        CArchive ar(&file, CArchive::store);
        Serialize(ar);
        ar.Close();
        file.Commit();
        return TRUE;
    } catch (const CFileException& e) {
        *pReason = e.GetReason();
    } catch (...) { // NOLINT: a failed save is reported by the caller and retried later
        *pReason = u"not enough memory";
    }
    file.Abandon();
    return FALSE;
}

int CVestoryListDoc::GetItemCount() const {
    return int(m_items.size());
}

CData CVestoryListDoc::GetItem(int index) const {
    return m_items.at(std::size_t(index));
}

void CVestoryListDoc::AddItem(CData data) {
    m_items.push_back(std::move(data));
    UndoStep step;
    step.nAdded = 1;
    m_undo.push_back(std::move(step));
}

void CVestoryListDoc::DeleteItem(int index) {
    DeleteItems({index});
}

void CVestoryListDoc::ToggleAtCleaners(int index) {
    CData& data = m_items.at(std::size_t(index));
    UndoStep step;
    step.restore.emplace_back(index, data);
    m_undo.push_back(std::move(step));
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

void CVestoryListDoc::UpdateViewRow(int index) {
    POSITION pos = GetFirstViewPosition();
    if (pos)
        static_cast<CVestoryListView*>(GetNextView(pos))->UpdateRow(index);
}
