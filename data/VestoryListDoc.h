// CVestoryListDoc: the garment list, kept in one file that is rewritten after every change.
#pragma once

#include "data/Data.h"
#include "platform/core/Document.h"

#include <cstdint>
#include <limits>
#include <vector>

class CFileException;

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

    void SaveList();
    int GetItemCount() const;
    CData GetItem(int index) const;
    void AddItem(CData data);
    void DeleteItem(int index);
    void ToggleAtCleaners(int index);
    void EditItem(int index);
    void SortByColumn(int column);

    afx_msg void OnNewItem();

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
    // Whether the garments in memory differ from the file because the last save failed.
    BOOL m_bSaveFailed = FALSE;
    // Bytes that the records being loaded may take; more ends the load as too large.
    std::uint64_t m_nLoadBudget = std::numeric_limits<std::uint64_t>::max();

private:
    void RefreshView();
    void ReportDamagedFile(LPCTSTR lpszPath);

    DECLARE_MESSAGE_MAP()
};
