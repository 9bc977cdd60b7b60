// CVestoryListDoc: the garment list, kept in one file that is rewritten after every change.
#pragma once

#include "data/Data.h"
#include "platform/core/Document.h"

#include <vector>

class CVestoryListDoc : public CDocument {
    DECLARE_DYNCREATE(CVestoryListDoc)
public:
    CVestoryListDoc();
    ~CVestoryListDoc() override;

    BOOL OnNewDocument() override;
    // Replaces the records with those of another list file (File Open).
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
    void LoadList();
    // Reads a list file in place of the records held, keeping what reads whole from a
    // damaged file; FALSE when the file cannot be opened.
    BOOL ReadListFile(LPCTSTR lpszPath);

    std::vector<CData> m_items;

private:
    void RefreshView();
    void ReportDamagedFile(LPCTSTR lpszPath);

    DECLARE_MESSAGE_MAP()
};
