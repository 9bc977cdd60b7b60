// DeviceRoot: a fresh temporary device root (VESTORYLIST_ROOT) for one test, removed after,
// with a settings folder of its own inside (XDG_CONFIG_HOME) and a runtime folder of its own
// (XDG_RUNTIME_DIR), so no test sees another's.
#pragma once

#include "tests/support/RuntimeFolder.h"

#include <filesystem>
#include <optional>
#include <string>

class DeviceRoot {
public:
    DeviceRoot();
    ~DeviceRoot();
    DeviceRoot(const DeviceRoot&) = delete;
    DeviceRoot& operator=(const DeviceRoot&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The host path of the list file, "\My Documents\Personal\Vestory.vsl" on the device.
    std::filesystem::path ListFile() const;
    // The program's settings file.
    std::filesystem::path SettingsFile() const;

private:
    std::filesystem::path m_path;
    std::optional<std::string> m_previous;
    std::optional<std::string> m_previousConfig;
    RuntimeFolder m_runtime;
};
