// Identifiers of the program's own resources, commands, strings and dialog controls.
// The framework's standard identifiers are in platform/core/StdIds.h.
#pragma once

// Every main-window resource shares 128: template string, menu, menu bar, tool bar and its
// bitmap, accelerators and icon.
#define IDR_MAINFRAME 128
// The list's pop-up menu and its menu bar definition.
#define IDR_POPUP_MENU 138

#define IDD_ABOUTBOX 100
#define IDD_ITEM_DIALOG 136
#define IDB_CHECKBOXES 130
// What screen readers call a box of bitmap 130.
#define IDS_CHECKBOXES 130

// Menu bar buttons and menu commands.
#define ID_TOOLS_BUTTON 106
#define ID_LIST_BUTTON 32771
#define ID_LIST_NEW_ITEM 32774
#define ID_LIST_EXIT 32775
#define ID_POPUP_MENU_BUTTON 32776
#define ID_POPUP_NEW 32779
#define ID_POPUP_EDIT 32780
#define ID_POPUP_DELETE 32781
// Not a command of the user's: another program changed the list file's folder.
#define ID_LIST_FILE_CHANGED 32782

// Strings.
#define IDS_EDIT 102
#define IDS_TOOLS 103
#define IDS_LIST 32773
#define IDS_POPUP_MENU 32778
#define IDS_TIP_NEW 65000
#define IDS_TIP_FILE 65001
#define IDS_TIP_HELP 65002
#define IDS_TIP_SAVE 65003
#define IDS_TIP_CUT 65004
#define IDS_TIP_COPY 65005
#define IDS_TIP_PASTE 65006
#define IDS_TIP_ABOUT 65007
// The list's column headers.
#define IDS_COLUMN_AC 200
#define IDS_COLUMN_ITEM_NAME 201
#define IDS_COLUMN_QTY 202
#define IDS_COLUMN_DATE 203
// Messages.
#define IDP_SAVE_FAILED 300
#define IDP_DELETE_RECORD 301
#define IDP_NOTHING_PASTED 302
#define IDP_NOT_A_LIST_FILE 303
#define IDP_LIST_UNREADABLE 304
#define IDP_LIST_TOO_LARGE 305
#define IDP_DAMAGED_NOT_KEPT 306
#define IDP_DAMAGED_KEPT 307
#define IDP_QUIT_UNSAVED 308
#define IDS_NO_MEMORY 309
#define IDS_PASTE_TOO_LARGE 310
#define IDS_PASTE_NO_MEMORY 311
#define IDP_COPY_NOT_WHOLE 312
#define IDP_NOTHING_COPIED 313
// The About box's help text, in pieces appended in this order.
#define IDS_HELP_FIRST 400
#define IDS_HELP_LAST 413

// Dialog controls.
#define IDC_ITEM_NAME 1000
#define IDC_QTY 1001
#define IDC_SIZE 1002
#define IDC_NOTE 1004
#define IDC_HELP_TEXT 1005
