#include "platform/core/Document.h"

#include "platform/core/Afx.h"
#include "platform/core/Archive.h"
#include "platform/core/Exception.h"
#include "platform/core/ReplaceFile.h"
#include "platform/core/StdIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::CDocument() = default;
CDocument::~CDocument() = default;

// A POSITION is the 1-based index of the next view, so that null ends the walk.
void CDocument::AddView(CView* pView) {
    m_viewList.push_back(pView);
}

void CDocument::RemoveView(CView* pView) {
    m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), pView), m_viewList.end());
}

POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t(1));
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    auto index = reinterpret_cast<std::uintptr_t>(rPosition) - 1;
    CView* pView = m_viewList.at(index);
    rPosition = index + 1 < m_viewList.size() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
    return pView;
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead)) {
        CString text;
        text.Format(AFX_IDP_FAILED_TO_OPEN_DOC, lpszPathName);
        AfxMessageBox(text, MB_ICONINFORMATION);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(); // until it has read whole: a failure leaves the document half read
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (const CException&) {
        DeleteContents();
        AfxMessageBox(AFX_IDP_FAILED_INVALID_FORMAT, MB_ICONINFORMATION);
        return FALSE;
    }
    m_strPathName = lpszPathName;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    CReplaceFile file;
    try {
        if (!file.Open(lpszPathName))
            throw CFileException(CFileException::accessDenied, 0, lpszPathName);
        CArchive ar(&file, CArchive::store);
        Serialize(ar);
        ar.Close();
        file.Commit();
    } catch (const CException&) {
        file.Abandon();
        CString text;
        text.Format(AFX_IDP_FAILED_TO_SAVE_DOC, lpszPathName);
        AfxMessageBox(text, MB_ICONINFORMATION);
        return FALSE;
    }
    m_strPathName = lpszPathName;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::DeleteContents() {}

BOOL CDocument::SaveModified() {
    return TRUE;
}

void CDocument::OnCloseDocument() {
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}
