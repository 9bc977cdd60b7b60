#include "bench/support/RunningApp.h"

#include "platform/win/frame/FrameWnd.h"
#include "res/Resources.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

namespace {
TCHAR g_emptyCommandLine[] = u"";
} // namespace

RunningApp::RunningApp() : m_pApp(std::make_unique<CVestoryListApp>()) {
    AfxWinInit(VestoryListResources(), nullptr, g_emptyCommandLine, SW_SHOW);
    m_pApp->InitInstance();
}

RunningApp::~RunningApp() {
    Stop();
}

CVestoryListView* RunningApp::View() const {
    return dynamic_cast<CVestoryListView*>(
        static_cast<CFrameWnd*>(m_pApp->m_pMainWnd)->GetActiveView());
}

void RunningApp::Stop() {
    if (!m_pApp)
        return;
    m_pApp->CloseAllDocuments(TRUE);
    ProcessEvents();
    m_pApp.reset();
}
