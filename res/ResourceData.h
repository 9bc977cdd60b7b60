// The resources of each res/ source file, as entries of the program's resource module.
#pragma once

#include "platform/core/Resource.h"

AFX_RESOURCE StringTableResource();
AFX_RESOURCE MainMenuResource();
AFX_RESOURCE PopupMenuResource();
AFX_RESOURCE MainMenuBarResource();
AFX_RESOURCE PopupMenuBarResource();
AFX_RESOURCE ToolBarResource();
AFX_RESOURCE AcceleratorResource();
AFX_RESOURCE AboutDialogResource();
AFX_RESOURCE ItemDialogResource();
AFX_RESOURCE ItemDialogInitResource();
AFX_RESOURCE VersionResource();
AFX_RESOURCE ToolBarBitmapResource();
AFX_RESOURCE CheckBoxBitmapResource();
AFX_RESOURCE IconResource();
