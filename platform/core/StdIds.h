// The framework's standard command, string and window identifiers that the program uses.
#pragma once

#include "platform/core/WinTypes.h"

// Commands.
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_EDIT_CLEAR = 57632;
constexpr UINT ID_EDIT_CLEAR_ALL = 57633;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_FIND = 57636;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_REPEAT = 57640;
constexpr UINT ID_EDIT_REPLACE = 57641;
constexpr UINT ID_EDIT_SELECT_ALL = 57642;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_REDO = 57644;
constexpr UINT ID_WINDOW_SPLIT = 57653;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// Strings of the framework's own that a program's string table carries.
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;
constexpr UINT ID_INDICATOR_CAPS = 59137;
constexpr UINT AFX_IDS_SCCLOSE = 61190;
constexpr UINT AFX_IDS_SCTASKLIST = 61203;
// The file dialogs' titles and filters (the backups' "%s" is the documents' extension).
constexpr UINT AFX_IDS_OPENFILE = 0xF000;
constexpr UINT AFX_IDS_SAVEFILE = 0xF001;
constexpr UINT AFX_IDS_ALLFILTER = 0xF002;
constexpr UINT AFX_IDS_BACKUPFILTER = 0xF00F;
// The framework's messages.
constexpr UINT AFX_IDP_FAILED_TO_OPEN_DOC = 0xF101;
constexpr UINT AFX_IDP_FAILED_TO_SAVE_DOC = 0xF102;
constexpr UINT AFX_IDP_FAILED_INVALID_FORMAT = 0xF120;
// A file held by another process of the program that does not answer: "%s" is the program's
// name, "%d" the holder's process id.
constexpr UINT AFX_IDP_FILE_HELD_BY = 0xF1A0;
constexpr UINT AFX_IDP_FILE_HELD = 0xF1A1;

// Resources.
constexpr UINT VS_VERSION_INFO = 1;

// Windows and controls.
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr WORD IDC_STATIC = 0xFFFF; // a dialog control without an identifier of its own
