// Reading and driving a control of the dialog that a modal run shows, as a Win32 test would:
// through the control's own messages, and with keys and taps a user gives.
#pragma once

#include "platform/core/String.h"
#include "tests/support/Modal.h"

class CWnd;
class QString;

namespace dialogs_test {

CWnd* DialogControl(const ModalHandle& dialog, int nID);
LRESULT SendToControl(const ModalHandle& dialog, int nID, UINT message, WPARAM wParam = 0,
                      LPARAM lParam = 0);
// The control's text as its window gives it (line breaks as CR LF).
CString WindowText(const ModalHandle& dialog, int nID);
// Gives the control the focus by a tap, then presses the keys.
void TypeKeys(const ModalHandle& dialog, int nID, const QString& text);
void PressKey(const ModalHandle& dialog, int nID, int qtKey);
// Taps a button of the caption strip ("vl_caption_ok", "vl_caption_close").
void TapCaptionButton(const ModalHandle& dialog, const char* objectName);
// Whether the control has the keyboard focus.
bool HasFocus(const ModalHandle& dialog, int nID);

} // namespace dialogs_test
