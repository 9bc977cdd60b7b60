// CAboutDialog: the program's name, version and icon, and its help text.
#pragma once

#include "platform/win/dialogs/Dialog.h"
#include "platform/win/dialogs/Edit.h"
#include "res/resource.h"

class CAboutDialog : public CDialog {
public:
    CAboutDialog();
    ~CAboutDialog() override;

    enum { IDD = IDD_ABOUTBOX };

    CEdit m_editHelp;
    CString m_strHelpText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSetFocusHelp();

    DECLARE_MESSAGE_MAP()
};
