// CCommandLineInfo: what the program's command line asks the framework to do at start-up.
#pragma once

#include "platform/core/Object.h"
#include "platform/core/String.h"

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    // Takes one parameter of the command line; bFlag when it began with '-' or '/'.
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    enum { FileNew, FileOpen, FileNothing = -1 } m_nShellCommand = FileNew;
    CString m_strFileName;
};
