#include "res/Resources.h"

#include "res/ResourceData.h"

HINSTANCE VestoryListResources() {
    // Built on first use, so it is complete whenever it is asked for, even during start-up.
    static const AFX_RESOURCE_MODULE module{{
        StringTableResource(),
        MainMenuResource(),
        PopupMenuResource(),
        MainMenuBarResource(),
        PopupMenuBarResource(),
        ToolBarResource(),
        AcceleratorResource(),
        AboutDialogResource(),
        ItemDialogResource(),
        ItemDialogInitResource(),
        VersionResource(),
        ToolBarBitmapResource(),
        CheckBoxBitmapResource(),
        IconResource(),
    }};
    return &module;
}
