// CVestoryListApp: the application object; starts the list document with its frame and view.
#pragma once

#include "platform/win/shell/WinApp.h"

class CVestoryListApp : public CWinApp {
public:
    CVestoryListApp();
    ~CVestoryListApp() override;

    BOOL InitInstance() override;

    afx_msg void OnAppExit();
    afx_msg void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
