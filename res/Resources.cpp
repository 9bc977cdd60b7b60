#include "res/Resources.h"

#include "res/ResourceData.h"

namespace {

AFX_RESOURCE_MODULE Module() {
    AFX_RESOURCE_MODULE module{{
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
    for (auto language : {GermanResources, FrenchResources}) {
        for (const AFX_RESOURCE& r : language())
            module.resources.push_back(r);
    }
    return module;
}

} // namespace

HINSTANCE VestoryListResources() {
    // Built on first use, so it is complete whenever it is asked for, even during start-up.
    static const AFX_RESOURCE_MODULE module = Module();
    return &module;
}
