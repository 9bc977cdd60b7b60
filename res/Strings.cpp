#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

#include <iterator>

namespace {

// In ascending order of identifier.
constexpr AFX_STRING_ENTRY kStrings[] = {
    {IDS_EDIT, u"Edit"},
    {IDS_TOOLS, u"Tools"},
    {IDR_MAINFRAME,
     u"VestoryList\n\nVestoryList\nVestoryList Files (*.vsl)\n.vsl\nVestoryList.Document\n"
     u"VestoryList Document"},
    {IDS_CHECKBOXES, u"At the cleaners"},
    {IDS_COLUMN_AC, u"AC"},
    {IDS_COLUMN_ITEM_NAME, u"Item Name"},
    {IDS_COLUMN_QTY, u"Qty"},
    {IDS_COLUMN_DATE, u"Date"},
    {IDP_SAVE_FAILED, u"Unable to save list file!"},
    {IDP_DELETE_RECORD, u"Are you sure you want to delete this record?"},
    {IDP_NOTHING_PASTED, u"Nothing was pasted: %s."},
    {IDP_NOT_A_LIST_FILE, u"%s is not a whole list file. The list was not changed."},
    {IDP_LIST_UNREADABLE, u"The list file %s cannot be read: %s. Nothing was changed."},
    {IDP_LIST_TOO_LARGE, u"The list file %s is too large to read. Nothing was changed."},
    {IDP_DAMAGED_NOT_KEPT,
     u"The list file is damaged. %d items were read; the damaged file could not be kept."},
    {IDP_DAMAGED_KEPT,
     u"The list file is damaged. %d items were read; the damaged file was kept as %s."},
    {IDP_QUIT_UNSAVED, u"The list could not be saved: %s. Quit anyway and lose the changes that "
                       u"were not saved?"},
    {IDS_NO_MEMORY, u"not enough memory"},
    {IDS_PASTE_TOO_LARGE, u"the list would be larger than the program can read at its next start"},
    {IDS_PASTE_NO_MEMORY, u"there is not enough memory for it"},
    {IDP_COPY_NOT_WHOLE,
     u"%s does not read as a whole list, so it was not merged. It stays where it is."},
    {IDP_NOTHING_COPIED, u"Nothing was copied: %s."},
    // The trailing blanks of the first and third pieces are the text's own.
    {IDS_HELP_FIRST, u"VestoryList is a tool for tracking what vestory you "},
    {IDS_HELP_FIRST + 1, u"have at the cleaners.\r\n\r\n"},
    {IDS_HELP_FIRST + 2, u"Header Fields: \r\n"},
    {IDS_HELP_FIRST + 3, u"[AC] = At Cleaners; check for yes, blank for no.\r\n"},
    {IDS_HELP_FIRST + 4, u"[Item Name] = Item Name.\r\n"},
    {IDS_HELP_FIRST + 5, u"[Qty] = Quantity.\r\n"},
    {IDS_HELP_FIRST + 6, u"[Date] = Drop Date; this is set/unset when you select the [At Cleaners] "
                         u"checkbox.\r\n\r\n"},
    {IDS_HELP_FIRST + 7, u"Add items to the list by tapping the [List->New Item] menu.\r\n\r\n"},
    {IDS_HELP_FIRST + 8, u"Edit an item by selecting the item name and then selecting [Edit] from "
                         u"the dropdown menu.\r\n\r\n"},
    {IDS_HELP_FIRST + 9, u"Sort the items by tapping on the [AC], [Item Name], or [Qty] column "
                         u"headers.\r\n\r\n"},
    {IDS_HELP_FIRST + 10, u"You can adjust the width of the columns by selecting the line "
                          u"separators and moving them accordingly.\r\n\r\n"},
    {IDS_HELP_FIRST + 11, u"Information on this and other handheld programs "},
    {IDS_HELP_FIRST + 12, u"is in the README in " VESTORYLIST_DOCDIR ".\r\n\r\n"},
    {IDS_HELP_LAST, u"No warranty on this software is made or implied. Use it at your own risk."},
    {IDS_LIST, u"List"},
    {IDS_POPUP_MENU, u"POPUP_MENU"},
    {AFX_IDS_IDLEMESSAGE, u"Ready"},
    {ID_FILE_SAVE_AS, u"Save the list under a new name\nSave As"},
    {ID_EDIT_CLEAR, u"Erase the selection\nErase"},
    {ID_EDIT_CLEAR_ALL, u"Erase everything\nErase All"},
    {ID_EDIT_COPY, u"Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_CUT, u"Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_FIND, u"Find the given text\nFind"},
    {ID_EDIT_PASTE, u"Insert the contents of the Clipboard\nPaste"},
    {ID_EDIT_REPEAT, u"Repeat the last action\nRepeat"},
    {ID_EDIT_REPLACE, u"Replace the given text with other text\nReplace"},
    {ID_EDIT_SELECT_ALL, u"Select everything\nSelect All"},
    {ID_EDIT_UNDO, u"Undo the last action\nUndo"},
    {ID_EDIT_REDO, u"Redo the action undone last\nRedo"},
    {ID_WINDOW_SPLIT, u"Split the window into panes\nSplit"},
    {ID_APP_ABOUT, u"Show the program's name, version and help\nAbout"},
    {ID_APP_EXIT, u"Quit the program\nExit"},
    {ID_NEXT_PANE, u"Switch to the next pane\nNext Pane"},
    {ID_PREV_PANE, u"Switch back to the previous pane\nPrevious Pane"},
    {ID_INDICATOR_CAPS, u"CAP"},
    {AFX_IDS_SCCLOSE, u"Close the window"},
    {AFX_IDS_SCTASKLIST, u"Activate Task List"},
    {AFX_IDS_OPENFILE, u"Open"},
    {AFX_IDS_SAVEFILE, u"Save As"},
    {AFX_IDS_ALLFILTER, u"All Files (*)"},
    {AFX_IDS_BACKUPFILTER, u"Backups (*%s.bak)"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, u"Cannot open %s."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, u"Cannot save %s."},
    {AFX_IDP_FAILED_INVALID_FORMAT, u"Unexpected file format."},
    {AFX_IDP_FILE_HELD_BY, u"%s is already running on this list (process %d) but does not answer."},
    {AFX_IDP_FILE_HELD, u"%s is already running on this list but does not answer."},
    {IDS_TIP_NEW, u"New"},
    {IDS_TIP_FILE, u"File"},
    {IDS_TIP_HELP, u"Help"},
    {IDS_TIP_SAVE, u"Save"},
    {IDS_TIP_CUT, u"Cut"},
    {IDS_TIP_COPY, u"Copy"},
    {IDS_TIP_PASTE, u"Paste"},
    {IDS_TIP_ABOUT, u"About"},
};

static_assert(IDS_HELP_FIRST + 13 == IDS_HELP_LAST, "fourteen pieces");

} // namespace

AFX_RESOURCE StringTableResource() {
    return {RT_STRING, 0, kStrings, std::size(kStrings)};
}
