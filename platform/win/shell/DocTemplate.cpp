#include "platform/win/shell/DocTemplate.h"

#include "platform/core/Document.h"
#include "platform/core/Resource.h"
#include "platform/win/frame/CreateContext.h"
#include "platform/win/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
    TCHAR szText[256] = {};
    LoadString(AfxGetResourceHandle(), nIDResource, szText, 256);
    m_strDocStrings = szText;
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    const std::u16string_view all = m_strDocStrings.str();
    std::size_t begin = 0;
    for (int i = 0; i < int(index); ++i) {
        begin = all.find(u'\n', begin);
        if (begin == std::u16string::npos) {
            rString.Empty();
            return FALSE;
        }
        ++begin;
    }
    rString = CString(all.substr(begin, all.find(u'\n', begin) - begin));
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument() {
    auto* pDocument = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (pDocument)
        pDocument->m_pDocTemplate = this;
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    auto* pFrame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!pFrame)
        return nullptr;
    // A frame that fails to load has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}
