#include "tests/support/DeviceRoot.h"

DeviceRoot::DeviceRoot()
    : m_folder("vestorylist-"), m_root("VESTORYLIST_ROOT", m_folder.Path()),
      m_config("XDG_CONFIG_HOME", m_folder.Path() / "config"),
      m_state("XDG_STATE_HOME", m_folder.Path() / "state"),
      m_data("XDG_DATA_HOME", m_folder.Path() / "data") {}

std::filesystem::path DeviceRoot::ListFile() const {
    return Path() / "My Documents" / "Personal" / "Vestory.vsl";
}

std::filesystem::path DeviceRoot::SettingsFile() const {
    return Path() / "config" / "Local AppWizard-Generated Applications" / "VestoryList.ini";
}
