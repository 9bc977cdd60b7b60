#include "platform/core/StdIds.h"
#include "res/ResourceData.h"
#include "res/resource.h"

namespace {

// Version, button width, button height, button count, then one command per button.
constexpr WORD kToolBar[] = {
    1, 16, 16, 4, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_APP_ABOUT,
};

} // namespace

AFX_RESOURCE ToolBarResource() {
    return {RT_TOOLBAR, IDR_MAINFRAME, kToolBar, sizeof kToolBar};
}
