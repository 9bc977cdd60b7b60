// The program's resource module: every resource of res/, looked up by type and number.
#pragma once

#include "platform/core/WinTypes.h"

HINSTANCE VestoryListResources();
