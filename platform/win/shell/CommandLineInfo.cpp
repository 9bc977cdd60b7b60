#include "platform/win/shell/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL /*bLast*/) {
    // No options of the framework's are understood; a plain parameter names a file to open.
    if (bFlag)
        return;
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
}
