#include "platform/win/shell/WinApp.h"

#include "platform/core/Afx.h"
#include "platform/core/DevicePath.h"
#include "platform/core/Profile.h"
#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/win/dialogs/FilePrompt.h"
#include "platform/win/dialogs/MessageBoxQt.h"
#include "platform/win/frame/Wnd.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/shell/CommandLineInfo.h"
#include "platform/win/shell/DisplayQt.h"
#include "platform/win/shell/DocTemplate.h"
#include "platform/win/shell/FirstPaintExit.h"
#include "platform/win/shell/SignalClose.h"
#include "platform/win/shell/SingleInstance.h"
#include "platform/win/shell/TranslationsQt.h"

#include <QApplication>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

CWinApp* g_pApp = nullptr;
BOOL g_bModuleIsDll = FALSE;
DWORD g_dwModuleVersion = 0;
std::unique_ptr<QApplication> g_pQtApp;
constexpr DWORD kFrameworkVersion = 0x0600;

// The arguments after the program's name, as host bytes.
std::vector<std::string>& Arguments() {
    static std::vector<std::string> args;
    return args;
}

// A file named on the command line is opened by its full path, as a second start hands it to
// the running window, which runs in another folder.
std::string FullPath(const std::string& path) {
    if (path.empty() || path[0] == '/')
        return path;
    char* pCwd = ::getcwd(nullptr, 0);
    const std::string full = pCwd ? std::string(pCwd) + "/" + path : path;
    std::free(pCwd);
    return full;
}

const AFX_VERSIONINFO* VersionInfo(HINSTANCE hInstance) {
    const AFX_RESOURCE* pRes = AfxFindResource(hInstance, VS_VERSION_INFO, RT_VERSION);
    return pRes ? static_cast<const AFX_VERSIONINFO*>(pRes->pData) : nullptr;
}

CString VersionString(const AFX_VERSIONINFO* pInfo, LPCTSTR lpszKey) {
    for (const AFX_VERSION_STRING& s : pInfo->strings) {
        if (CString(s.lpszKey) == lpszKey)
            return s.lpszValue;
    }
    return CString();
}

// The program's name as its version block gives it.
CString ProgramName(HINSTANCE hInstance) {
    const AFX_VERSIONINFO* pInfo = VersionInfo(hInstance);
    CString name = pInfo ? VersionString(pInfo, u"InternalName") : CString();
    return name.IsEmpty() ? AfxGetAppName() : name;
}

int PrintVersion(HINSTANCE hInstance) {
    const AFX_VERSIONINFO* pInfo = VersionInfo(hInstance);
    std::printf("%s", ProgramName(hInstance).ToUtf8().c_str());
    if (pInfo)
        std::printf(" %u.%u.%u.%u", pInfo->fileVersion[0], pInfo->fileVersion[1],
                    pInfo->fileVersion[2], pInfo->fileVersion[3]);
    std::printf("\n");
    return 0;
}

} // namespace

CWinApp* AfxGetApp() {
    return g_pApp;
}

AFX_MODULE_INIT::AFX_MODULE_INIT(BOOL bDLL, DWORD dwVersion) {
    g_bModuleIsDll = bDLL;
    g_dwModuleVersion = dwVersion;
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, CWinApp::OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName) {
    if (!g_pApp)
        g_pApp = this;
}

CWinApp::~CWinApp() {
    if (m_pProfile)
        m_pProfile->Flush();
    for (CDocTemplate* pTemplate : m_templates)
        delete pTemplate;
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    if (m_pMainWnd && QCoreApplication::instance()) {
        QCoreApplication::exec();
        // The loop ends with the main window, or when the program is asked to end from outside
        // (a signal): then the session ends, with no question asked, and the window with it.
        if (m_pMainWnd)
            CloseAllDocuments(TRUE);
        if (m_pMainWnd)
            m_pMainWnd->DestroyWindow();
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    if (m_pProfile)
        m_pProfile->Flush();
    return 0;
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey;
    m_strProfileName = m_strAppName;
    m_pProfile.reset();
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    const CString text = GetProfileString(lpszSection, lpszEntry);
    const std::string digits = text.ToUtf8();
    if (digits.empty())
        return UINT(nDefault);
    char* pEnd = nullptr;
    const long n = std::strtol(digits.c_str(), &pEnd, 10);
    // A value the program did not write (edited by hand) counts as missing.
    if (*pEnd != '\0' || n < INT_MIN || n > INT_MAX)
        return UINT(nDefault);
    return UINT(int(n));
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    return WriteProfileString(lpszSection, lpszEntry, CString::FromUtf8(std::to_string(nValue)));
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    if (m_strProfileName.IsEmpty() || !lpszSection || !lpszEntry)
        return CString(lpszDefault);
    if (!m_pProfile)
        m_pProfile =
            std::make_unique<CProfile>(CProfile::FilePath(m_strRegistryKey, m_strProfileName));
    return m_pProfile->Get(lpszSection, lpszEntry).value_or(CString(lpszDefault));
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (m_strProfileName.IsEmpty() || !lpszSection || !lpszEntry)
        return FALSE;
    if (!m_pProfile)
        m_pProfile =
            std::make_unique<CProfile>(CProfile::FilePath(m_strRegistryKey, m_strProfileName));
    m_pProfile->Set(lpszSection, lpszEntry, CString(lpszValue));
    return TRUE;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    m_templates.push_back(pTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    const std::vector<std::string>& args = Arguments();
    bool bOptions = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (bOptions && arg == "--") { // what follows are file names, whatever they begin with
            bOptions = false;
            continue;
        }
        // Host paths begin with '/', so only '-' marks an option; "-" alone is a file name.
        const bool bFlag = bOptions && arg.size() > 1 && arg[0] == '-';
        const CString param =
            bFlag ? CString::FromUtf8(arg.substr(std::min(arg.find_first_not_of('-'), arg.size())))
                  : AfxDevicePathFromHostPath(FullPath(arg));
        rCmdInfo.ParseParam(param, bFlag, i + 1 == args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

BOOL CWinApp::SaveAllModified() {
    for (CDocTemplate* pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (CDocTemplate* pTemplate : m_templates)
        pTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    CString path;
    if (AfxPromptForFileName(path, TRUE, m_templates.empty() ? nullptr : m_templates.front()))
        OpenDocumentFile(path);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPTSTR lpCmdLine, int nCmdShow) {
    AfxSetResourceHandle(hInstance);
    CWinApp* pApp = AfxGetApp();
    if (pApp) {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        if (pApp->m_strAppName.IsEmpty())
            pApp->m_strAppName = ProgramName(hInstance);
        AfxSetAppName(pApp->m_strAppName);
    }
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char* argv[] = {program_invocation_name, nullptr};
        g_pQtApp = AfxOpenDisplay(argc, argv);
        if (!g_pQtApp)
            return FALSE;
    }
    // The program ends when its main window is destroyed, not when Qt sees no window.
    QApplication::setQuitOnLastWindowClosed(false);
    AfxLoadQtTranslations();
    AfxInstallMessageBoxPresenter();
    AfxInstallMessagePosTracker();
    return TRUE;
}

void AfxSetArguments(int argc, const char* const* argv) {
    Arguments().assign(argv + std::min(argc, 1), argv + argc);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
    if (Arguments().size() == 1 && Arguments()[0] == "--version")
        return PrintVersion(hInstance);

    // Only a program runs the main routine, and only one written for this framework.
    CWinApp* pApp = AfxGetApp();
    if (g_bModuleIsDll || g_dwModuleVersion > kFrameworkVersion)
        return 1;
    if (!pApp || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return 1;
    int nReturnCode = 0;
    AfxInstallFirstPaintExit();
    // From here on the signals that end a program close it, or the message it shows.
    AfxInstallSignalClose();
    // A file to open goes to the program already running, if there is one.
    CCommandLineInfo cmdInfo;
    pApp->ParseCommandLine(cmdInfo);
    const CString fileToOpen =
        cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen ? cmdInfo.m_strFileName : CString();
    if (!AfxClaimSingleInstance(fileToOpen, &nReturnCode)) {
        // The running program keeps the device; nothing was created here.
    } else if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd)
            pApp->m_pMainWnd->DestroyWindow();
        pApp->ExitInstance();
        nReturnCode = 1;
    } else {
        nReturnCode = pApp->Run();
    }
    // Windows destroyed during the run leave their widgets for the event loop to delete.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    AfxRemoveSignalClose();
    AfxReleaseSingleInstance();
    AfxSetMessageBoxPresenter(nullptr);
    g_pQtApp.reset();
    return nReturnCode;
}
