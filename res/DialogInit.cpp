#include "res/ResourceData.h"
#include "res/resource.h"

namespace {

// Fills the quantity combo box with "1" to "20". Each entry, little-endian: control 1001
// (0x03E9), message 0x0403 (add a string), data length, the text in UTF-16 with its terminator.
// A 0 word ends the table.
// clang-format off
constexpr BYTE kItemDialogInit[] = {
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '1', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '2', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '3', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '4', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '5', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '6', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '7', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '8', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 4, 0, 0, 0, '9', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '0', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '1', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '2', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '3', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '4', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '5', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '6', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '7', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '8', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '1', 0, '9', 0, 0, 0,
    0xE9, 0x03, 0x03, 0x04, 6, 0, 0, 0, '2', 0, '0', 0, 0, 0,
    0, 0,
};
static_assert(sizeof kItemDialogInit == 264);
static_assert(IDC_QTY == 0x03E9);
// clang-format on

} // namespace

AFX_RESOURCE ItemDialogInitResource() {
    return {RT_DLGINIT, IDD_ITEM_DIALOG, kItemDialogInit, sizeof kItemDialogInit};
}
