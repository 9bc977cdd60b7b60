// DeviceRoot: a fresh temporary device root (VESTORYLIST_ROOT) for one test, removed after,
// with settings, state and data folders of its own inside (XDG_CONFIG_HOME, XDG_STATE_HOME,
// XDG_DATA_HOME) and a runtime folder of its own (XDG_RUNTIME_DIR), so no test sees another's
// or the user's; all the variables are as before once it goes.
#pragma once

#include "tests/support/RuntimeFolder.h"

class DeviceRoot {
public:
    DeviceRoot();

    const std::filesystem::path& Path() const { return m_folder.Path(); }
    // The host path of the list file, "\My Documents\Personal\Vestory.vsl" on the device.
    std::filesystem::path ListFile() const;
    // The program's settings file.
    std::filesystem::path SettingsFile() const;

private:
    TempFolder m_folder;
    ScopedVariable m_root;
    ScopedVariable m_config;
    ScopedVariable m_state;
    ScopedVariable m_data;
    RuntimeFolder m_runtime;
};
