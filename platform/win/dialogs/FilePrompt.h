// Internal to platform/win: the file dialogs of the framework's own open and save commands.
#pragma once

#include "platform/core/String.h"

class CDocTemplate;

// Asks for a file of pTemplate's documents to open (bOpen) or to save a copy to, offering the
// template's filter; FALSE when the user cancels.
BOOL AfxPromptForFileName(CString& rPathName, BOOL bOpen, const CDocTemplate* pTemplate);
