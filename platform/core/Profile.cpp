#include "platform/core/Profile.h"

#include "platform/core/Exception.h"
#include "platform/core/ReplaceFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Section and entry names match without regard to case, as registry and INI names do.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 0x20) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string Trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
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
    std::ifstream in(m_path);
    Section* pSection = nullptr;
    for (std::string line; std::getline(in, line);) {
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string name = Trimmed(line.substr(1, line.size() - 2));
            pSection = FindSection(name);
            if (!pSection) {
                m_sections.push_back(Section{name, {}});
                pSection = &m_sections.back();
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!pSection || eq == std::string::npos)
            continue;
        const std::string name = Trimmed(line.substr(0, eq));
        const std::string value = Trimmed(line.substr(eq + 1));
        bool bFound = false;
        for (Entry& e : pSection->entries) {
            if (SameName(e.name, name)) {
                e.value = value; // the last one counts
                bFound = true;
            }
        }
        if (!bFound)
            pSection->entries.push_back(Entry{name, value});
    }
}

CProfile::Section* CProfile::FindSection(const std::string& name) {
    for (Section& s : m_sections) {
        if (SameName(s.name, name))
            return &s;
    }
    return nullptr;
}

std::optional<CString> CProfile::Get(const CString& section, const CString& entry) {
    if (!m_bLoaded)
        Load();
    if (Section* pSection = FindSection(OneLine(section.ToUtf8()))) {
        const std::string name = OneLine(entry.ToUtf8());
        for (const Entry& e : pSection->entries) {
            if (SameName(e.name, name))
                return CString::FromUtf8(e.value);
        }
    }
    return std::nullopt;
}

void CProfile::Set(const CString& section, const CString& entry, const CString& value) {
    if (!m_bLoaded)
        Load();
    const std::string sectionName = OneLine(section.ToUtf8());
    Section* pSection = FindSection(sectionName);
    if (!pSection) {
        m_sections.push_back(Section{sectionName, {}});
        pSection = &m_sections.back();
    }
    // "=" would end the name early.
    std::string name = OneLine(entry.ToUtf8());
    for (char& c : name) {
        if (c == '=')
            c = ' ';
    }
    const std::string text = Trimmed(OneLine(value.ToUtf8()));
    for (Entry& e : pSection->entries) {
        if (SameName(e.name, name)) {
            m_bDirty = m_bDirty || e.value != text;
            e.value = text;
            return;
        }
    }
    pSection->entries.push_back(Entry{name, text});
    m_bDirty = true;
}

BOOL CProfile::Flush() {
    if (!m_bDirty)
        return TRUE;
    std::ostringstream text;
    for (const Section& s : m_sections) {
        if (&s != &m_sections.front())
            text << '\n';
        text << '[' << s.name << "]\n";
        for (const Entry& e : s.entries)
            text << e.name << '=' << e.value << '\n';
    }
    const std::string bytes = text.str();
    // Written as the list is: a crash leaves the old settings or the new ones, never half.
    CReplaceFile file;
    try {
        if (!file.Open(CString::FromUtf8(m_path)))
            return FALSE;
        file.Write(bytes.data(), UINT(bytes.size()));
        file.Commit();
    } catch (const CException&) {
        return FALSE; // settings that cannot be kept are no reason to stop the program
    }
    m_bDirty = false;
    return TRUE;
}
