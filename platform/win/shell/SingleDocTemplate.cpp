#include "platform/win/shell/SingleDocTemplate.h"

#include "platform/core/Document.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/View.h"
#include "platform/win/shell/WinApp.h"

IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    if (m_pOnlyDoc)
        CloseAllDocuments(TRUE);
}

namespace {

CFrameWnd* FrameOf(CDocument* pDoc) {
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos) {
        if (CFrameWnd* pFrame = pDoc->GetNextView(pos)->GetParentFrame())
            return pFrame;
    }
    return nullptr;
}

} // namespace

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = m_pOnlyDoc;
    CFrameWnd* pFrame = nullptr;
    const bool bCreated = pDocument == nullptr;
    if (bCreated) {
        pDocument = CreateNewDocument();
        if (!pDocument)
            return nullptr;
        m_pOnlyDoc = pDocument;
        pFrame = CreateNewFrame(pDocument, nullptr);
        if (!pFrame) {
            m_pOnlyDoc = nullptr;
            delete pDocument;
            return nullptr;
        }
    } else {
        // The one document and its frame are reused: the document empties itself in its
        // new-document or open step, and the view rebuilds from it.
        pFrame = FrameOf(pDocument);
    }

    BOOL bOk = FALSE;
    if (lpszPathName == nullptr) {
        bOk = pDocument->OnNewDocument();
    } else {
        bOk = pDocument->OnOpenDocument(lpszPathName);
        // A document left half read says so by being modified: start it afresh. One that
        // is not modified still holds what it held, and its view still shows it.
        if (!bOk && !bCreated && pDocument->IsModified())
            pDocument->OnNewDocument();
    }
    if (!bOk && bCreated) {
        if (pFrame)
            pFrame->DestroyWindow(); // the view leaves the document before it goes
        m_pOnlyDoc = nullptr;
        delete pDocument;
        return nullptr;
    }
    if (!bOk && !pDocument->IsModified())
        return nullptr;

    CWinApp* pApp = AfxGetApp();
    if (bCreated && pApp && pApp->m_pMainWnd == nullptr)
        pApp->m_pMainWnd = pFrame;
    if (pFrame)
        InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return bOk ? pDocument : nullptr;
}

BOOL CSingleDocTemplate::SaveAllModified() {
    return !m_pOnlyDoc || m_pOnlyDoc->SaveModified();
}

void CSingleDocTemplate::CloseAllDocuments(BOOL /*bEndSession*/) {
    CDocument* pDocument = m_pOnlyDoc;
    if (!pDocument)
        return;
    // The frames go first; their views leave the document as they are deleted.
    while (CFrameWnd* pFrame = FrameOf(pDocument)) {
        if (!pFrame->DestroyWindow())
            break;
    }
    m_pOnlyDoc = nullptr;
    pDocument->OnCloseDocument();
}
