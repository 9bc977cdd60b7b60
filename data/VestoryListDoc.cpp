#include "data/VestoryListDoc.h"

#include "data/FingerprintedFile.h"
#include "data/ListMemory.h"

#include "platform/core/Afx.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/KeptVersions.h"
#include "platform/core/ReplaceFile.h"
#include "platform/core/StdIds.h"
#include "platform/core/Time.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sys/stat.h>

IMPLEMENT_DYNCREATE(CVestoryListDoc, CDocument)

BEGIN_MESSAGE_MAP(CVestoryListDoc, CDocument)
ON_COMMAND(ID_LIST_NEW_ITEM, OnNewItem)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_COMMAND(ID_LIST_FILE_CHANGED, OnListFileChanged)
END_MESSAGE_MAP()

CVestoryListDoc::CVestoryListDoc() = default;
CVestoryListDoc::~CVestoryListDoc() = default;

namespace {
CString FileNameOf(const CString& path) {
    const std::u16string_view s = path.str();
    std::size_t slash = s.find_last_of(u"\\/");
    return CString(slash == std::u16string::npos ? s : s.substr(slash + 1));
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
    CUndoSteps heldUndo;
    std::swap(heldUndo, m_undo);
    if (!CDocument::OnNewDocument() || !LoadList()) {
        m_items.swap(held);
        std::swap(m_undo, heldUndo);
        return FALSE;
    }
    m_unsavedIn.clear();
    m_unsavedOut.clear();
    m_bOrderUnsaved = FALSE;
    // What this machine knows of the list's versions; one it does not know came from elsewhere.
    m_lineage = CListLineage(CKeptVersions(ListHostPath()).GetFilePath());
    WatchListFile();
    if (m_onDisk.bKnown) {
        // A version other than the one this machine left there came from elsewhere.
        m_lineage.Note(m_onDisk.nHash, !m_lineage.IsNewest(m_onDisk.nHash), ListHostPath());
        MergeConflictCopies();
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
    // The list file holds what it held: what it lacks now is the whole list opened.
    const std::vector<CData> onDisk = UnsavedBase();
    std::vector<CData> held;
    held.swap(m_items);
    CFileException error;
    // Only a whole list replaces the one held: anything else is not what the user meant to
    // open, and is never copied aside like a damaged list file.
    if (ReadListFile(lpszPathName, &error) != readWhole) {
        m_items.swap(held);
        CString text;
        text.Format(IDP_NOT_A_LIST_FILE, LPCTSTR(FileNameOf(lpszPathName)));
        AfxMessageBox(text, MB_ICONINFORMATION);
        return FALSE;
    }
    m_strPathName = lpszPathName;
    SetModifiedFlag(FALSE);
    m_undo.RemoveAll(); // the changes were made to the list that went
    SetUnsaved(onDisk);
    return TRUE;
}

// Emptied before every read, so that reading again never doubles the records; what could be
// undone belonged to the list that goes.
void CVestoryListDoc::DeleteContents() {
    m_items.clear();
    m_undo.RemoveAll();
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
        nTextBytes += list_memory::TextBytes(m_items.back());
        if (nTextBytes + m_items.capacity() * sizeof(CData) > m_nLoadBudget)
            throw std::bad_alloc();
    }
}

BOOL CVestoryListDoc::LoadList() {
    CFileException error;
    CString text;
    FileVersion read;
    switch (ReadListFile(kListFile, &error, &read)) {
    case readWhole:
    case readMissing: // no list yet: an empty list, and nothing to say
        m_onDisk = read;
        return TRUE;
    case readDamaged:
        m_onDisk = read;
        ReportDamagedFile(kListFile);
        return TRUE;
    case readFailed:
        text.Format(IDP_LIST_UNREADABLE, LPCTSTR(error.m_strFileName), LPCTSTR(error.GetReason()));
        break;
    case readTooLarge:
        text.Format(IDP_LIST_TOO_LARGE, LPCTSTR(error.m_strFileName));
        break;
    }
    AfxMessageBox(text, MB_ICONINFORMATION);
    return FALSE;
}

CVestoryListDoc::ReadResult CVestoryListDoc::ReadListFile(LPCTSTR lpszPath, CFileException* pError,
                                                          FileVersion* pVersion) {
    CFingerprintedFile file;
    if (!file.Open(lpszPath, CFile::modeRead, pError)) {
        // Only a file that is not there at all is no list; a link to nowhere is not that.
        return pError->m_cause == CFileException::fileNotFound && pError->m_lOsError == ENOENT
                   ? readMissing
                   : readFailed;
    }
    // Which file on the disk this is, taken while it is open: its name may lead elsewhere
    // the next moment.
    struct stat st {};
    const BOOL bStatus = file.GetStatus(&st);
    // Only the garments: a file that does not open leaves what can be undone as it was.
    m_items.clear();
    ReadResult result = readWhole;
    m_nLoadBudget = list_memory::MemoryLeft() / list_memory::kShareOfMemoryLeft;
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
        m_items.clear();
    if (pVersion && bStatus && (result == readWhole || result == readDamaged))
        *pVersion = FileVersionOf(st, file.GetContentHash());
    // Messages name the file as the desktop shows it.
    pError->m_strFileName = CString::FromUtf8(AfxHostPathFromDevicePath(lpszPath));
    return result;
}

void CVestoryListDoc::ReportDamagedFile(LPCTSTR lpszPath) {
    // Kept before any save can overwrite it.
    const std::string copy = CKeptVersions(AfxHostPathFromDevicePath(lpszPath)).KeepDamaged();
    const CString kept = copy.empty() ? CString() : CString::FromUtf8(copy);
    CString text;
    if (kept.IsEmpty()) {
        text.Format(IDP_DAMAGED_NOT_KEPT, GetItemCount());
    } else {
        CString name = FileNameOf(kept);
        text.Format(IDP_DAMAGED_KEPT, GetItemCount(), LPCTSTR(name));
    }
    AfxMessageBox(text, MB_ICONINFORMATION);
}

void CVestoryListDoc::SaveList() {
    CString reason;
    if (!TrySaveList(&reason))
        AfxMessageBox(IDP_SAVE_FAILED, MB_ICONINFORMATION);
}

BOOL CVestoryListDoc::TrySaveList(CString* pReason) {
    ++m_nLooking;
    // Another writer may have got there first: what it wrote is merged in, never written over.
    std::vector<CData> theirs;
    FileVersion version;
    FileState state = ReadIfChanged(&theirs, &version, pReason);
    // A writer half way through its version is given a moment to finish it.
    for (int nWait = 0; state == fileNotWhole && nWait < 10; ++nWait) {
        Sleep(100);
        state = ReadIfChanged(&theirs, &version, pReason);
    }
    if (state == fileChanged)
        TakeIn(std::move(theirs), version, FALSE);
    const CKeptVersions versions(ListHostPath());
    // A file that stays damaged is kept aside before it is replaced.
    if (state == fileNotWhole)
        versions.KeepDamaged();
    // A version that cannot be read (another user's file, a failing disk) is not written over
    // unseen: the change stays unsaved, as after any failed save.
    FileVersion written;
    m_bSaveFailed = state == fileUnreadable || !WriteList(kListFile, pReason, &versions, &written);
    if (!m_bSaveFailed) {
        m_onDisk = written;
        m_unsavedIn.clear();
        m_unsavedOut.clear();
        m_bOrderUnsaved = FALSE;
        m_lineage.Note(written.nHash, m_bSharedMerge, ListHostPath());
        WatchListFile();
    }
    m_bSharedMerge = FALSE;
    if (--m_nLooking == 0 && m_bLookAgain)
        OnListFileChanged();
    return !m_bSaveFailed;
}

BOOL CVestoryListDoc::WriteList(LPCTSTR lpszPath, CString* pReason, const CKeptVersions* pVersions,
                                FileVersion* pWritten) {
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
        file.Commit(pVersions);
        if (pWritten)
            *pWritten = FileVersionOf(file.GetCommittedStatus(), file.GetContentHash());
        return TRUE;
    } catch (const CFileException& e) {
        *pReason = e.GetReason();
    } catch (...) { // NOLINT: a failed save is reported by the caller and retried later
        pReason->LoadString(IDS_NO_MEMORY);
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

int CVestoryListDoc::FindItem(const CData& data, int nHint) const {
    return FindGarment(m_items, data, nHint);
}

void CVestoryListDoc::AddItem(CData data) {
    RecordChange(CListStep::Appended({{GetItemCount(), data}}));
    m_items.push_back(std::move(data));
}

void CVestoryListDoc::DeleteItem(int index) {
    CListStep step = TakeOut({index});
    if (!step.IsEmpty())
        RecordChange(std::move(step));
    SaveList();
}

void CVestoryListDoc::ToggleAtCleaners(int index) {
    CData& data = m_items.at(std::size_t(index));
    const CData before = data;
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
    RecordChange(CListStep::Replaced(index, before, data));
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
