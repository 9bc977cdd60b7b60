#include "platform/core/StdIds.h"
#include "platform/win/WinUser.h"
#include "res/ResourceData.h"
#include "res/resource.h"

#include <iterator>

namespace {

constexpr BYTE CTRL_KEY = FVIRTKEY | FCONTROL;
constexpr BYTE END_OF_TABLE = 0x80;

// The keys of the list itself (Space, Enter, F2, Delete, the menu key) are the list's own;
// these are the window's.
constexpr ACCEL kAccelerators[] = {
    {CTRL_KEY, 'N', ID_FILE_NEW},        {CTRL_KEY, 'O', ID_FILE_OPEN},
    {CTRL_KEY, 'S', ID_FILE_SAVE},       {CTRL_KEY, 'Q', ID_APP_EXIT},
    {CTRL_KEY, 'Z', ID_EDIT_UNDO},       {CTRL_KEY, 'X', ID_EDIT_CUT},
    {CTRL_KEY, 'C', ID_EDIT_COPY},       {CTRL_KEY, 'V', ID_EDIT_PASTE},
    {CTRL_KEY, 'A', ID_EDIT_SELECT_ALL}, {FVIRTKEY | END_OF_TABLE, VK_INSERT, ID_LIST_NEW_ITEM},
};

} // namespace

AFX_RESOURCE AcceleratorResource() {
    return {RT_ACCELERATOR, IDR_MAINFRAME, kAccelerators, std::size(kAccelerators)};
}
