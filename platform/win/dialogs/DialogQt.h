// Internal to platform/win: the dialogs' controls. They are windows of the classes "static",
// "button", "edit" and "combobox", made from the template through the window manager like any
// other window.
#pragma once

#include "platform/win/frame/WndQt.h"

class QLineEdit;

// Control styles the dialog templates use.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
// Windows CE: an OK button in the caption.
constexpr DWORD WS_EX_CAPTIONOKBTN = 0x80000000;

// Creation data of a static control that shows an icon resource.
struct AFX_ICONCREATE {
    WORD nIconID;
};

// Registers the control classes once; the dialog code calls it before making controls.
void AfxRegisterDialogClasses();
void AfxRegisterEditClass();
void AfxRegisterComboBoxClass();

// Sends WM_COMMAND with a notification code from a control's window to its parent.
void AfxNotifyParent(HWND hWndCtrl, WORD nCode);

// Without auto-scroll a field takes only what fits its width: typing more is refused.
void AfxLimitToWidth(QLineEdit* pEdit);
// A field holds texts of any length; a line edit would cut them at 32,767 characters.
void AfxLiftLengthLimit(QLineEdit* pEdit);

// Copies text into a WM_GETTEXT buffer of cchMax characters; returns the characters copied.
LRESULT AfxCopyWindowText(const QString& text, WPARAM cchMax, LPARAM lpBuffer);
