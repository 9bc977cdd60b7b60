// CWinApp: the application object; starts the document/view machinery and runs the message loop.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/core/String.h"

#include <memory>
#include <vector>

class CCommandLineInfo;
class CProfile;
class CDocTemplate;
class CDocument;
class CWnd;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override; // deletes the templates

    virtual BOOL InitInstance();
    // The message loop; returns the exit code from ExitInstance.
    virtual int Run();
    virtual int ExitInstance();

    // Settings are kept under this key from now on, in a profile named after the program.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    void AddDocTemplate(CDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    // Whether every document may close; each may save or ask first.
    BOOL SaveAllModified();
    // Closes every document without a question; their frames go with them.
    void CloseAllDocuments(BOOL bEndSession);
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOW;
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfileName;

protected:
    std::vector<CDocTemplate*> m_templates;
    // Written out when the program ends (ExitInstance), or when the object goes.
    std::unique_ptr<CProfile> m_pProfile;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();

// Marks the program's module before anything else is constructed: an executable (bDLL FALSE)
// built for framework version dwVersion. Constructed as the first static object of a program.
struct AFX_MODULE_INIT {
    AFX_MODULE_INIT(BOOL bDLL, DWORD dwVersion);
};

// The program's arguments as the system handed them over, one parameter each (what the run-time
// start keeps as __argc and __targv): the framework's command line parsing reads these, never
// the one-string command line, which cannot tell a blank in a file name from a separator.
void AfxSetArguments(int argc, const char* const* argv);

// Prepares the framework for the application object: resources, command line, windowing.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// The framework's main routine: initialisation, start-up, message loop; returns the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
