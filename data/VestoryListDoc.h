// CVestoryListDoc: the garment list, kept in one file that is rewritten after every change.
#pragma once

#include "data/Data.h"
#include "data/ListLineage.h"
#include "data/UndoSteps.h"
#include "platform/core/Document.h"
#include "platform/core/WriterLock.h"
#include "platform/win/shell/FileWatch.h"

#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CCmdUI;
class CFileException;
class CKeptVersions;
struct stat;

class CVestoryListDoc : public CDocument {
    DECLARE_DYNCREATE(CVestoryListDoc)
public:
    CVestoryListDoc();
    ~CVestoryListDoc() override;

    // Reads the list file; at start-up and again for File New. A list whose last save failed
    // is saved first. FALSE, with the records held unchanged, when the file cannot be read.
    BOOL OnNewDocument() override;
    // Replaces the records with those of another list file (File Open) when it reads whole;
    // otherwise FALSE and the records held stay as they are.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;
    // After a failed save, saves once more, and when that fails too, asks whether to go on
    // without the changes; FALSE keeps the program open.
    BOOL SaveModified() override;
    // What a failed save left unsaved, and could not be saved now either, is written to a file
    // of its own in the user's data folder, named on standard error; never lost unasked.
    void OnCloseDocument() override;

    void SaveList();
    int GetItemCount() const;
    CData GetItem(int index) const;
    // The row that holds this garment, the one nearest to nHint of equal ones; -1 when none
    // does (another writer's version took it away).
    int FindItem(const CData& data, int nHint) const;
    void AddItem(CData data);
    // Adds garments at the end as one change, all or (memory running out) none. Showing and
    // saving are the caller's, as for AddItem: the new rows can be marked before a save that
    // takes in another writer's version moves them.
    void AddItems(std::vector<CData> items);
    void DeleteItem(int index);
    // Removes the garments at these indices (any order) as one change, rebuilds the rows and
    // saves.
    void DeleteItems(std::vector<int> indices);
    void ToggleAtCleaners(int index);
    void EditItem(int index);
    void SortByColumn(int column);

    afx_msg void OnNewItem();

    // Takes back the last change of the session (a tick, a new garment, an edit, a deletion,
    // a paste, a sort), shows it and saves.
    void Undo();
    BOOL CanUndo() const { return m_undo.CanUndo(); }
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    // Another program changed something in the list file's folder: the window follows a new
    // version of the list and merges sync engines' conflict copies.
    afx_msg void OnListFileChanged();

    // The list file, as a path on the handheld.
    static constexpr LPCTSTR kListFile = u"\\My Documents\\Personal\\Vestory.vsl";

protected:
    enum ReadResult { readWhole, readMissing, readDamaged, readFailed, readTooLarge };

    // A version of the list file: which file it is on the disk, and a fingerprint of its bytes.
    struct FileVersion {
        std::uint64_t nDevice = 0, nInode = 0, nSize = 0;
        std::int64_t nModified = 0; // nanoseconds
        std::uint64_t nHash = 0;
        BOOL bKnown = FALSE;
        BOOL IsSameFile(const FileVersion& other) const;
    };
    static FileVersion FileVersionOf(const struct stat& st, std::uint64_t nHash);

    // Reads the list file into the empty list; FALSE, after saying why, when it cannot.
    BOOL LoadList();
    // Appends the records of a list file to the empty list, keeping what reads whole from a
    // damaged file; *pError tells why a file could not be opened or read.
    ReadResult ReadListFile(LPCTSTR lpszPath, CFileException* pError,
                            FileVersion* pVersion = nullptr);

    std::vector<CData> m_items;
    CUndoSteps m_undo;
    // Whether the garments in memory differ from the file because the last save failed.
    BOOL m_bSaveFailed = FALSE;
    // The user chose to end without the garments that could not be saved.
    BOOL m_bLoseUnsaved = FALSE;
    // Bytes that the records being loaded may take; more ends the load as too large.
    std::uint64_t m_nLoadBudget = std::numeric_limits<std::uint64_t>::max();
    CWriterLock m_listLock;

    // The version of the list file that the document last read or wrote, and the garments
    // that came into and went out of the list since (what a save failed to write).
    FileVersion m_onDisk;
    std::vector<CData> m_unsavedIn, m_unsavedOut;
    // The order changed since (a sort), which the next save writes.
    BOOL m_bOrderUnsaved = FALSE;
    // The save to come writes a merge with a conflict copy, which both machines make alike.
    BOOL m_bSharedMerge = FALSE;
    // A conflict copy showed that the version the list file holds lost to another machine's.
    BOOL m_bLostToCopy = FALSE;
    std::uint64_t m_nLostToCopy = 0;
    CListLineage m_lineage;
    CFileWatch m_watch;
    // Inside a look at the file (which may ask the user something); a change seen meanwhile
    // is looked at again after it.
    int m_nLooking = 0;
    BOOL m_bLookAgain = FALSE;
    std::set<std::string> m_namedCopies; // damaged conflict copies the user was told about

private:
    // Marks the list file as this program's for as long as the document lives; FALSE (the user
    // told) when another process holds it.
    BOOL HoldListFile();
    // Saves without a message; FALSE, with why in *pReason, when it cannot.
    BOOL TrySaveList(CString* pReason);
    // *pWritten, when given, is the version the save put in place.
    BOOL WriteList(LPCTSTR lpszPath, CString* pReason, const CKeptVersions* pVersions = nullptr,
                   FileVersion* pWritten = nullptr);

    // Following the list file.
    enum FileState { fileSame, fileChanged, fileMissing, fileNotWhole, fileUnreadable };
    // Reads the list file when it is no longer the version last read or written; why it
    // cannot be read goes to *pReason, when given.
    FileState ReadIfChanged(std::vector<CData>* pTheirs, FileVersion* pVersion,
                            CString* pReason = nullptr);
    // Takes another writer's version in, with this window's own changes that it lacks merged
    // into it; saves such a merge when bSave.
    void TakeIn(std::vector<CData> theirs, const FileVersion& version, BOOL bSave);
    // Merges the list's conflict copies into it and moves them into the history.
    void MergeConflictCopies();
    // Shows another version of the list in place of the one held, the keyboard's row and
    // the selection staying on their garments.
    void ShowList(std::vector<CData> items);
    // The list as the file last read or written holds it, in the list's own order.
    std::vector<CData> UnsavedBase() const;
    // Counts what items has that onDisk has not as unsaved, and the other way round.
    void SetUnsaved(const std::vector<CData>& onDisk);
    void WatchListFile();
    std::string ListHostPath() const;
    // Every change of the list is kept for Ctrl+Z here, as its step.
    void RecordChange(CListStep step);
    // Every change that the document shows and saves itself ends here, by one rule.
    void EndChange(CListStep step);
    // Takes the garments at these rows out of the list; the step says which they were.
    CListStep TakeOut(std::vector<int> indices);
    void RefreshView();
    void UpdateViewRow(int index);
    void ReportDamagedFile(LPCTSTR lpszPath);

    DECLARE_MESSAGE_MAP()
};
