#include "res/ResourceData.h"
#include "res/resource.h"

#include <iterator>

namespace {
#include "res/checkboxes.xpm"
#include "res/icon16.xpm"
#include "res/icon32.xpm"
#include "res/toolbar.xpm"
// Each picture again at twice the size, drawn anew rather than blown up.
#include "res/checkboxes-2x.xpm"
#include "res/icon64.xpm"
#include "res/toolbar-2x.xpm"

constexpr AFX_XPM kToolBarBitmap[] = {toolbar_xpm, toolbar_2x_xpm};
constexpr AFX_XPM kCheckBoxBitmap[] = {checkboxes_xpm, checkboxes_2x_xpm};
} // namespace

AFX_RESOURCE ToolBarBitmapResource() {
    return {RT_BITMAP, IDR_MAINFRAME, kToolBarBitmap, std::size(kToolBarBitmap)};
}

AFX_RESOURCE CheckBoxBitmapResource() {
    return {RT_BITMAP, IDB_CHECKBOXES, kCheckBoxBitmap, std::size(kCheckBoxBitmap)};
}

// The 32-pixel image is the 16-pixel one's at twice the size.
AFX_RESOURCE IconResource() {
    static const AFX_ICON icon{{icon32_xpm, icon16_xpm, icon64_xpm}};
    return {RT_GROUP_ICON, IDR_MAINFRAME, &icon, 0};
}
