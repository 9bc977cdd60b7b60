// CDocTemplate: ties a document class to the frame and view classes that show it.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/core/String.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    ~CDocTemplate() override;

    // Fields of the document template string (resource nIDResource), separated by '\n'.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    BOOL GetDocString(CString& rString, DocStringIndex index) const;

    virtual CDocument* CreateNewDocument();
    // Creates a frame (and through it the view) for pDoc; null when the frame cannot be made.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // Null path: a new document; otherwise the document read from that file.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // Whether every document of this template may close (CDocument::SaveModified).
    virtual BOOL SaveAllModified() = 0;
    // Destroys the frames of every document of this template, then closes the documents.
    virtual void CloseAllDocuments(BOOL bEndSession) = 0;

    UINT m_nIDResource;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);

    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};
