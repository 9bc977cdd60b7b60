// CVestoryListDoc: the garment list, kept in one file that is rewritten after every change.
#pragma once

#include "data/Data.h"
#include "data/UndoSteps.h"
#include "platform/core/Document.h"
#include "platform/core/WriterLock.h"

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

class CCmdUI;
class CFileException;
class CKeptVersions;

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
    void AddItem(CData data);
    // Adds garments at the end as one change, rebuilds the rows and saves.
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

    // The list file, as a path on the handheld.
    static constexpr LPCTSTR kListFile = u"\\My Documents\\Personal\\Vestory.vsl";

protected:
    enum ReadResult { readWhole, readMissing, readDamaged, readFailed, readTooLarge };

    // Reads the list file into the empty list; FALSE, after saying why, when it cannot.
    BOOL LoadList();
    // Appends the records of a list file to the empty list, keeping what reads whole from a
    // damaged file; *pError tells why a file could not be opened or read.
    ReadResult ReadListFile(LPCTSTR lpszPath, CFileException* pError);

    std::vector<CData> m_items;
    CUndoSteps m_undo;
    // Whether the garments in memory differ from the file because the last save failed.
    BOOL m_bSaveFailed = FALSE;
    // The user chose to end without the garments that could not be saved.
    BOOL m_bLoseUnsaved = FALSE;
    // Bytes that the records being loaded may take; more ends the load as too large.
    std::uint64_t m_nLoadBudget = std::numeric_limits<std::uint64_t>::max();
    CWriterLock m_listLock;

private:
    // Marks the list file as this program's for as long as the document lives; FALSE (the user
    // told) when another process holds it.
    BOOL HoldListFile();
    // Saves without a message; FALSE, with why in *pReason, when it cannot.
    BOOL TrySaveList(CString* pReason);
    BOOL WriteList(LPCTSTR lpszPath, CString* pReason, const CKeptVersions* pVersions = nullptr);
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
