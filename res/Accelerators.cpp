#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

#include <iterator>

namespace {

constexpr BYTE CTRL_KEY = FVIRTKEY | FCONTROL;
constexpr BYTE END_OF_TABLE = 0x80;

constexpr ACCEL kAccelerators[] = {
    {CTRL_KEY, 'N', ID_FILE_NEW},  {CTRL_KEY, 'O', ID_FILE_OPEN},
    {CTRL_KEY, 'S', ID_FILE_SAVE}, {CTRL_KEY, 'Q', ID_APP_EXIT},
    {CTRL_KEY, 'Z', ID_EDIT_UNDO}, {CTRL_KEY, 'X', ID_EDIT_CUT},
    {CTRL_KEY, 'C', ID_EDIT_COPY}, {CTRL_KEY | END_OF_TABLE, 'V', ID_EDIT_PASTE},
};

} // namespace

AFX_RESOURCE AcceleratorResource() {
    return {RT_ACCELERATOR, IDR_MAINFRAME, kAccelerators, std::size(kAccelerators)};
}
