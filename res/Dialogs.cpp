#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

// Styles are the platform's values; every control is WS_CHILD | WS_VISIBLE (0x50000000).

AFX_RESOURCE AboutDialogResource() {
    static const AFX_DLGTEMPLATE dialog{
        0x80C00040, // WS_POPUP | WS_CAPTION | DS_SETFONT
        0x80000000, // WS_EX_CAPTIONOKBTN
        0,
        0,
        140,
        143,
        u"About VestoryList",
        8,
        u"System",
        {
            // WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY
            {IDC_HELP_TEXT, u"edit", u"", 0x50A10804, 7, 45, 126, 91, 0},
            // SS_ICON
            {IDC_STATIC, u"static", nullptr, 0x50000003, 11, 17, 21, 20, IDR_MAINFRAME},
            // The three texts reach the help field's right edge: the maker's name needs the room.
            // WS_GROUP | SS_LEFT | SS_NOPREFIX
            {IDC_STATIC, u"static", u"Vestory List v1.0", 0x50020080, 40, 12, 93, 8, 0},
            // WS_GROUP | SS_LEFT
            {IDC_STATIC, u"static", u"Copyright (C) 2026", 0x50020000, 40, 21, 93, 8, 0},
            {IDC_STATIC, u"static", u"The VestoryList authors", 0x50020000, 40, 30, 93, 8, 0},
        }};
    return {RT_DIALOG, IDD_ABOUTBOX, &dialog, 0};
}

AFX_RESOURCE ItemDialogResource() {
    static const AFX_DLGTEMPLATE dialog{
        0x80C800C0, // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
        0,
        0,
        0,
        137,
        153,
        u"Dialog",
        8,
        u"System",
        {
            // WS_GROUP | SS_RIGHT
            {IDC_STATIC, u"static", u"Item Name:", 0x50020002, 10, 8, 41, 10, 0},
            // WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL
            {IDC_ITEM_NAME, u"edit", u"", 0x50810080, 51, 7, 79, 12, 0},
            {IDC_STATIC, u"static", u"Qty:", 0x50020002, 15, 26, 34, 10, 0},
            // WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN; the height includes the dropped list
            {IDC_QTY, u"combobox", u"", 0x50210002, 51, 24, 25, 77, 0},
            {IDC_STATIC, u"static", u"Size:", 0x50020002, 77, 26, 19, 10, 0},
            {IDC_SIZE, u"edit", u"", 0x50810080, 98, 24, 32, 12, 0},
            // WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN
            {IDC_NOTE, u"edit", u"", 0x50A11004, 13, 51, 112, 38, 0},
            // BS_GROUPBOX, after the field it frames
            {IDC_STATIC, u"button", u"Note", 0x50000007, 7, 42, 123, 52, 0},
            // BS_PUSHBUTTON | WS_TABSTOP
            {IDCANCEL, u"button", u"Cancel", 0x50010000, 7, 137, 40, 9, 0},
        }};
    return {RT_DIALOG, IDD_ITEM_DIALOG, &dialog, 0};
}
