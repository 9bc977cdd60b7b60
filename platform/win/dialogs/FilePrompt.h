// Internal to platform/win: the file dialogs of the framework's own open and save commands.
#pragma once

#include "platform/core/String.h"

// Asks for a list file to open (bOpen) or to save a copy to; FALSE when the user cancels.
BOOL AfxPromptForListFile(BOOL bOpen, CString& rPathName);
