// Resources: the program's menus, dialogs, strings and pictures, looked up by type, number and
// language.
#pragma once

#include "platform/core/Language.h"
#include "platform/core/WinTypes.h"

#include <cstddef>
#include <vector>

// Resource types, with the platform's numbers.
constexpr UINT RT_BITMAP = 2;
constexpr UINT RT_MENU = 4;
constexpr UINT RT_DIALOG = 5;
constexpr UINT RT_STRING = 6;
constexpr UINT RT_ACCELERATOR = 9;
constexpr UINT RT_RCDATA = 10;
constexpr UINT RT_GROUP_ICON = 14;
constexpr UINT RT_VERSION = 16;
constexpr UINT RT_DLGINIT = 240;
constexpr UINT RT_TOOLBAR = 241;

// One string of the string table (RT_STRING; a language's table is one resource, number 0).
struct AFX_STRING_ENTRY {
    UINT nID;
    LPCTSTR lpszText;
};

// A menu as the resource script writes it: pop-ups hold items; a separator has no text.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;
struct AFX_MENU_ITEM {
    UINT nFlags;
    UINT nID;
    LPCTSTR lpszText;
    std::vector<AFX_MENU_ITEM> items; // pop-up only
};

// Accelerator entry (fVirt bits FVIRTKEY 0x01, FSHIFT 0x04, FCONTROL 0x08, end of table 0x80).
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

// Dialog template in dialog units, with the styles in the platform's values.
struct AFX_DLGITEM {
    WORD id;
    LPCTSTR lpszClass; // u"static", u"edit", u"combobox", u"button"
    LPCTSTR lpszText;  // null for an SS_ICON static, which shows nIconID
    DWORD style;
    short x, y, cx, cy;
    WORD nIconID;
};
struct AFX_DLGTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    short x, y, cx, cy;
    LPCTSTR lpszTitle;
    WORD wPointSize;
    LPCTSTR lpszFont;
    std::vector<AFX_DLGITEM> items;
};

// Version block: fixed part and the strings of block "040904B0".
struct AFX_VERSION_STRING {
    LPCTSTR lpszKey;
    LPCTSTR lpszValue;
};
struct AFX_VERSIONINFO {
    WORD fileVersion[4];
    WORD productVersion[4];
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    WORD wLanguage;
    WORD wCodePage;
    std::vector<AFX_VERSION_STRING> strings;
};

// Pictures are XPM images. A bitmap is the picture and, for displays of device pixel ratio 2,
// the same picture drawn at twice the size; an icon has one image per size.
using AFX_XPM = const char* const*;
struct AFX_ICON {
    std::vector<AFX_XPM> images;
};

// One resource. pData points to: AFX_STRING_ENTRY[] (string table, nSize entries),
// AFX_MENU_ITEM (menu: the top-level item list in .items), WORD[] (RCDATA and tool bar,
// nSize bytes), ACCEL[] (nSize entries), AFX_DLGTEMPLATE, BYTE[] (dialog init, nSize bytes),
// AFX_VERSIONINFO, AFX_XPM[] (bitmap: nSize pictures, the picture, then at twice the size),
// AFX_ICON.
// A resource that names no language is English, the program's own.
struct AFX_RESOURCE {
    UINT nType;
    UINT nID;
    const void* pData;
    std::size_t nSize;
    LANGID wLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
};

struct AFX_RESOURCE_MODULE {
    std::vector<AFX_RESOURCE> resources;
};

// The module the program's resources come from (set by the framework's main routine).
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
void AfxSetResourceHandle(HINSTANCE hInst);

// Finds a resource in the language in force (GetThreadUILanguage), else in English; or null.
const AFX_RESOURCE* AfxFindResource(HINSTANCE hInst, UINT nID, UINT nType);

// Copies string nID into lpBuffer (at most nBufferMax characters, terminator included) and
// returns its length; 0 and an empty buffer when there is no such string. A string that the
// language in force lacks is the English one.
int LoadString(HINSTANCE hInstance, UINT uID, LPTSTR lpBuffer, int nBufferMax);
