// The desktop's clipboard, for text.
#pragma once

#include "platform/core/String.h"

constexpr UINT CF_UNICODETEXT = 13;

// Whether the clipboard holds data of that format (only text is known).
BOOL IsClipboardFormatAvailable(UINT format);
// Puts text on the clipboard in place of what it held.
BOOL AfxSetClipboardText(const CString& text);
// The clipboard's text; FALSE when it holds none.
BOOL AfxGetClipboardText(CString& text);
