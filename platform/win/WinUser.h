// Window messages, styles and the window-manager functions that are not members of CWnd.
#pragma once

#include "platform/core/CmdTarget.h"

// Messages beyond the ones the message maps dispatch on (platform/core/CmdTarget.h).
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_USER = 0x0400;
// The framework's own: sent to every view of a frame when its document is ready.
constexpr UINT WM_INITIALUPDATE = 0x0364;
// The framework's own: asks control bars to bring their buttons' enabled state up to date.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
// The framework's own: WM_SETTEXT for a text of wParam characters, which may hold a NUL. Data
// exchange gives controls their texts with it, so that they can hand them back whole.
constexpr UINT WM_SETTEXTCOUNTED = 0x037E;

// Virtual keys.
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_PRIOR = 0x21;
constexpr WORD VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_INSERT = 0x2D;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_APPS = 0x5D;
constexpr WORD VK_F2 = 0x71;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

// A top-level window's position left to the window manager.
constexpr int CW_USEDEFAULT = int(0x80000000);

// Where a top-level window is when neither minimised nor maximised, in desktop pixels:
// rcNormalPosition's top-left is the outer corner of the window manager's frame around the
// window, its width and height the window's own (the frame's size is the window manager's).
// showCmd is SW_SHOWMAXIMIZED for a maximised window, else SW_SHOWNORMAL.
struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

// Resource names given as numbers.
inline LPCTSTR MAKEINTRESOURCE(UINT id) {
    return reinterpret_cast<LPCTSTR>(std::uintptr_t(WORD(id)));
}
inline bool IS_INTRESOURCE(LPCTSTR p) {
    return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0;
}

// Sends a message to a window and returns what its window procedure returned; 0 for no window.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Position of the last mouse input: x in the low 16 bits, y in the high 16 bits, in device-screen
// coordinates (measured from the main window's client top-left corner, as on the handheld whose
// frame fills the screen).
DWORD GetMessagePos();
