#include "app/VestoryListApp.h"

#include "app/AboutDialog.h"
#include "app/MainFrame.h"
#include "data/VestoryListDoc.h"
#include "platform/core/StdIds.h"
#include "platform/win/shell/CommandLineInfo.h"
#include "platform/win/shell/SingleDocTemplate.h"
#include "res/resource.h"
#include "ui/VestoryListView.h"

BEGIN_MESSAGE_MAP(CVestoryListApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_LIST_EXIT, OnAppExit)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

CVestoryListApp::CVestoryListApp() = default;
CVestoryListApp::~CVestoryListApp() = default;

BOOL CVestoryListApp::InitInstance() {
    SetRegistryKey(u"Local AppWizard-Generated Applications");

    auto* pDocTemplate =
        new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVestoryListDoc),
                               RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CVestoryListView));
    AddDocTemplate(pDocTemplate);

    // An empty command line creates the document, which reads the list file, then the frame
    // and the view, which shows it.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    // Shown whatever show state the program was started with.
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

// Every change is in the list file already, so the document closes without a question, unless
// a save failed: then it tries once more and may ask.
void CVestoryListApp::OnAppExit() {
    if (SaveAllModified())
        CloseAllDocuments(TRUE);
}

void CVestoryListApp::OnAppAbout() {
    CAboutDialog aboutDlg;
    aboutDlg.DoModal();
}
