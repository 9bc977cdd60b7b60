#include "res/ResourceData.h"
#include "res/resource.h"

namespace {
#include "res/checkboxes.xpm"
#include "res/icon16.xpm"
#include "res/icon32.xpm"
#include "res/toolbar.xpm"

constexpr AFX_XPM kToolBarBitmap = toolbar_xpm;
constexpr AFX_XPM kCheckBoxBitmap = checkboxes_xpm;
} // namespace

AFX_RESOURCE ToolBarBitmapResource() {
    return {RT_BITMAP, IDR_MAINFRAME, &kToolBarBitmap, 0};
}

AFX_RESOURCE CheckBoxBitmapResource() {
    return {RT_BITMAP, IDB_CHECKBOXES, &kCheckBoxBitmap, 0};
}

AFX_RESOURCE IconResource() {
    static const AFX_ICON icon{{icon32_xpm, icon16_xpm}};
    return {RT_GROUP_ICON, IDR_MAINFRAME, &icon, 0};
}
