// Framework-wide services of the core: message boxes and the application's name.
#pragma once

#include "platform/core/String.h"

#include <functional>

// Shows a message box with the program's title as caption and returns the button pressed
// (IDOK, IDYES, IDNO ...). nType: MB_OK or MB_YESNO, with MB_ICONINFORMATION and, for No as
// the default button, MB_DEFBUTTON2.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same, with string nIDPrompt of the string table as the text.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = 0);

// Who presents message boxes: the windowing layer installs real ones; tests install a
// recorder; without either the text goes to standard error and the default button is
// returned.
using AfxMessageBoxPresenter =
    std::function<int(const CString& text, const CString& caption, UINT nType)>;
// Returns the presenter that was installed before.
AfxMessageBoxPresenter AfxSetMessageBoxPresenter(AfxMessageBoxPresenter presenter);

// The program's title, used as the caption of message boxes.
const CString& AfxGetAppName();
void AfxSetAppName(const CString& name);
