#include "platform/core/Profile.h"

#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/File.h"
#include "platform/core/ReplaceFile.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// Section and entry names match without regard to case, as registry and INI names do.
std::string Lower(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + 0x20);
    }
    return lower;
}

std::string_view Trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A name or value stays on its line and cannot open a section or end a name.
std::string OneLine(const std::string& s) {
    std::string line;
    for (char c : s)
        line += (c == '\n' || c == '\r') ? ' ' : c;
    return line;
}

} // namespace

std::string CProfile::FilePath(const CString& registryKey, const CString& profileName) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    // Relative values are to be ignored, as the base directory rules say.
    if (configHome && configHome[0] == '/') {
        folder = configHome;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home ? home : "") + "/.config";
    }
    std::string key = registryKey.ToUtf8();
    for (char& c : key) {
        if (c == '\\')
            c = '/';
    }
    if (!key.empty())
        folder += "/" + key;
    return folder + "/" + profileName.ToUtf8() + ".ini";
}

CProfile::CProfile(std::string path) : m_path(std::move(path)) {}

void CProfile::Load() {
    m_bLoaded = true;
    CFile file;
    CFileException error;
    if (!file.Open(AfxDevicePathFromHostPath(m_path), CFile::modeRead, &error)) {
        // No settings yet is the only failure that the next write may mend.
        m_bKeepFile =
            !(error.m_cause == CFileException::fileNotFound && error.m_lOsError == ENOENT);
        return;
    }
    std::string text;
    try {
        // One byte more than allowed tells a file that grew past the bound while it was read.
        text.resize(std::size_t(std::min<std::uint64_t>(file.GetLength(), kMaxBytes) + 1));
        text.resize(file.Read(text.data(), UINT(text.size())));
    } catch (const CException&) {
        m_bKeepFile = true;
        return;
    }
    if (text.size() > kMaxBytes) {
        m_bKeepFile = true;
        return;
    }
    Parse(text);
}

void CProfile::Parse(std::string_view text) {
    Section* pSection = nullptr;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            pSection = &FindOrAddSection(std::string(Trimmed(line.substr(1, line.size() - 2))));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!pSection || eq == std::string_view::npos)
            continue;
        // The last one counts.
        pSection->FindOrAdd(std::string(Trimmed(line.substr(0, eq)))).value =
            Trimmed(line.substr(eq + 1));
    }
}

CProfile::Entry* CProfile::Section::Find(const std::string& name) {
    auto it = index.find(Lower(name));
    return it == index.end() ? nullptr : &entries[it->second];
}

CProfile::Entry& CProfile::Section::FindOrAdd(const std::string& name) {
    auto [it, bAdded] = index.try_emplace(Lower(name), entries.size());
    if (bAdded)
        entries.push_back(Entry{name, {}});
    return entries[it->second];
}

CProfile::Section* CProfile::FindSection(const std::string& name) {
    auto it = m_index.find(Lower(name));
    return it == m_index.end() ? nullptr : &m_sections[it->second];
}

CProfile::Section& CProfile::FindOrAddSection(const std::string& name) {
    auto [it, bAdded] = m_index.try_emplace(Lower(name), m_sections.size());
    if (bAdded)
        m_sections.push_back(Section{name, {}, {}});
    return m_sections[it->second];
}

std::optional<CString> CProfile::Get(const CString& section, const CString& entry) {
    if (!m_bLoaded)
        Load();
    if (Section* pSection = FindSection(OneLine(section.ToUtf8()))) {
        if (const Entry* pEntry = pSection->Find(OneLine(entry.ToUtf8())))
            return CString::FromUtf8(pEntry->value);
    }
    return std::nullopt;
}

void CProfile::Set(const CString& section, const CString& entry, const CString& value) {
    if (!m_bLoaded)
        Load();
    Section& s = FindOrAddSection(OneLine(section.ToUtf8()));
    // "=" would end the name early.
    std::string name = OneLine(entry.ToUtf8());
    for (char& c : name) {
        if (c == '=')
            c = ' ';
    }
    const std::size_t nBefore = s.entries.size();
    Entry& e = s.FindOrAdd(name);
    const std::string text(Trimmed(OneLine(value.ToUtf8())));
    m_bDirty = m_bDirty || s.entries.size() != nBefore || e.value != text;
    e.value = text;
}

BOOL CProfile::Flush() {
    if (!m_bDirty)
        return TRUE;
    if (m_bKeepFile)
        return FALSE; // not the program's to replace: it starts with defaults every time
    std::ostringstream text;
    for (const Section& s : m_sections) {
        if (&s != &m_sections.front())
            text << '\n';
        text << '[' << s.name << "]\n";
        for (const Entry& e : s.entries)
            text << e.name << '=' << e.value << '\n';
    }
    const std::string bytes = text.str();
    // A file the next start would not read is no better than the one there.
    if (bytes.size() > kMaxBytes)
        return FALSE;
    // Written as the list is: a crash leaves the old settings or the new ones, never half.
    CReplaceFile file;
    try {
        if (!file.Open(AfxDevicePathFromHostPath(m_path)))
            return FALSE;
        file.Write(bytes.data(), UINT(bytes.size()));
        file.Commit();
    } catch (const CException&) {
        return FALSE; // settings that cannot be kept are no reason to stop the program
    }
    m_bDirty = false;
    return TRUE;
}
