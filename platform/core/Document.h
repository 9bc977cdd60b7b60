// CDocument: the data of a document/view program, with the list of views that show it.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/core/String.h"

#include <vector>

class CView;
class CDocTemplate;
// A position in a list of the framework's: null at the end.
struct __POSITION;
using POSITION = __POSITION*;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // The view list. The views set their own link back to the document.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;

    // Prepares an empty document: DeleteContents, not modified, no path.
    virtual BOOL OnNewDocument();
    // Reads a document from a file through Serialize; FALSE (with a message) when it cannot.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Writes the document to a file through Serialize; FALSE (with a message) when it cannot.
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Empties the document's data; called before every new or opened document.
    virtual void DeleteContents();
    // Whether the document may close: the place to save what is not saved yet, or to ask.
    virtual BOOL SaveModified();
    // Closes the document without a question; the framework destroys its views first.
    virtual void OnCloseDocument();

    // Tells every view but pSender that the document changed, lHint and pHint saying how
    // (CView::OnUpdate).
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    const CString& GetPathName() const { return m_strPathName; }

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;
};
