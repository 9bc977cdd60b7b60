// CProfile: the application's settings, sections of named texts kept in an INI file.
#pragma once

#include "platform/core/String.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CProfile {
public:
    // The file of a registry key and profile name: $XDG_CONFIG_HOME (or ~/.config), then the
    // key as a folder ("\" separating sub-keys) and "<profile name>.ini" in it.
    static std::string FilePath(const CString& registryKey, const CString& profileName);

    // Reads the file once, on the first look-up, as the list file is read: only a regular file,
    // never waiting on a FIFO or device, and no larger than kMaxBytes. A missing file reads as
    // empty; one that cannot be read whole reads as empty too, and is never written over.
    explicit CProfile(std::string path);

    // Far more than any settings the program keeps; a larger file is not the program's.
    static constexpr std::uint64_t kMaxBytes = 1 << 20;

    std::optional<CString> Get(const CString& section, const CString& entry);
    void Set(const CString& section, const CString& entry, const CString& value);
    // Writes the file when something changed since it was read or last written, and only when
    // it stays within kMaxBytes.
    BOOL Flush();

private:
    struct Entry {
        std::string name;
        std::string value;
    };
    // Names are found through their lower-case forms, so that a file of many names reads in
    // linear time; the order is the file's.
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> index;
        Entry* Find(const std::string& name);
        Entry& FindOrAdd(const std::string& name);
    };

    void Load();
    void Parse(std::string_view text);
    Section* FindSection(const std::string& name);
    Section& FindOrAddSection(const std::string& name);

    std::string m_path; // host bytes, whatever their encoding
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_index;
    bool m_bLoaded = false;
    bool m_bDirty = false;
    bool m_bKeepFile = false; // a file that did not read whole stays as it is
};
