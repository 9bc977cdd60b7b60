#include "tests/app/AppFixture.h"

#include "data/VestoryListDoc.h"
#include "platform/core/StdIds.h"
#include "platform/win/frame/FrameWnd.h"
#include "res/Resources.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

BOOL AppFixture::Start(const std::vector<Garment>& garments, HINSTANCE hResources) {
    WriteListFile(m_root.ListFile(), garments);
    return Restart(hResources);
}

BOOL AppFixture::Restart(HINSTANCE hResources) {
    TearDown();
    m_pApp = std::make_unique<CVestoryListApp>();
    static TCHAR emptyCommandLine[] = u"";
    AfxWinInit(hResources ? hResources : VestoryListResources(), nullptr, emptyCommandLine,
               SW_SHOW);
    const BOOL bStarted = m_pApp->InitInstance();
    ProcessEvents();
    return bStarted;
}

void AppFixture::TearDown() {
    if (m_pApp && m_pApp->m_pMainWnd)
        m_pApp->CloseAllDocuments(TRUE);
    ProcessEvents();
    m_pApp.reset();
}

CFrameWnd* AppFixture::Frame() const {
    return m_pApp ? dynamic_cast<CFrameWnd*>(m_pApp->m_pMainWnd) : nullptr;
}

CVestoryListView* AppFixture::View() const {
    return Frame() ? dynamic_cast<CVestoryListView*>(Frame()->GetActiveView()) : nullptr;
}

CVestoryListDoc* AppFixture::Document() const {
    return View() ? View()->GetDocument() : nullptr;
}

CWnd* AppFixture::CommandBar() const {
    return Frame() ? Frame()->GetDlgItem(AFX_IDW_TOOLBAR) : nullptr;
}
