#include "tests/support/DeviceRoot.h"

#include <cstdlib>
#include <stdexcept>

DeviceRoot::DeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vestorylist-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary device root");
    m_path = pattern;
    if (const char* previous = std::getenv("VESTORYLIST_ROOT"))
        m_previous = previous;
    setenv("VESTORYLIST_ROOT", m_path.c_str(), 1);
    if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
        m_previousConfig = previous;
    setenv("XDG_CONFIG_HOME", (m_path / "config").c_str(), 1);
}

DeviceRoot::~DeviceRoot() {
    if (m_previous)
        setenv("VESTORYLIST_ROOT", m_previous->c_str(), 1);
    else
        unsetenv("VESTORYLIST_ROOT");
    if (m_previousConfig)
        setenv("XDG_CONFIG_HOME", m_previousConfig->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::filesystem::path DeviceRoot::ListFile() const {
    return m_path / "My Documents" / "Personal" / "Vestory.vsl";
}

std::filesystem::path DeviceRoot::SettingsFile() const {
    return m_path / "config" / "Local AppWizard-Generated Applications" / "VestoryList.ini";
}
