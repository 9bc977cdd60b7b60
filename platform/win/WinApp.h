// CWinApp: the application object; starts the document/view machinery and runs the message loop.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/core/String.h"

#include <vector>

class CCommandLineInfo;
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

    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void AddDocTemplate(CDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
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

protected:
    std::vector<CDocTemplate*> m_templates;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();

// Marks the program's module before anything else is constructed: an executable (bDLL FALSE)
// built for framework version dwVersion. Constructed as the first static object of a program.
struct AFX_MODULE_INIT {
    AFX_MODULE_INIT(BOOL bDLL, DWORD dwVersion);
};

// Prepares the framework for the application object: resources, command line, windowing.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// The framework's main routine: initialisation, start-up, message loop; returns the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
