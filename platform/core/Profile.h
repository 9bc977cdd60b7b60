// CProfile: the application's settings, sections of named texts kept in an INI file.
#pragma once

#include "platform/core/String.h"

#include <optional>
#include <string>
#include <vector>

class CProfile {
public:
    // The file of a registry key and profile name: $XDG_CONFIG_HOME (or ~/.config), then the
    // key as a folder ("\" separating sub-keys) and "<profile name>.ini" in it.
    static std::string FilePath(const CString& registryKey, const CString& profileName);

    // Reads the file once, on the first look-up; a missing or unreadable file reads as empty.
    explicit CProfile(std::string path);

    std::optional<CString> Get(const CString& section, const CString& entry);
    void Set(const CString& section, const CString& entry, const CString& value);
    // Writes the file when something changed since it was read or last written.
    BOOL Flush();

private:
    struct Entry {
        std::string name;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    void Load();
    Section* FindSection(const std::string& name);

    std::string m_path;
    std::vector<Section> m_sections;
    bool m_bLoaded = false;
    bool m_bDirty = false;
};
