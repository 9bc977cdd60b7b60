#include "platform/core/DevicePath.h"

#include "platform/core/String.h"

#include <cstdlib>
#include <fstream>

namespace {
std::string Home() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs, "$HOME" expanded; empty when not set.
std::string DocumentsFromUserDirs() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::string config = configHome && *configHome ? configHome : Home() + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = Home() + value.substr(5);
        return value;
    }
    return {};
}

std::string DocumentsFolder() {
    const char* env = std::getenv("XDG_DOCUMENTS_DIR");
    std::string docs = env && *env ? env : DocumentsFromUserDirs();
    // A documents folder equal to the home folder means the user switched it off.
    while (docs.size() > 1 && docs.back() == '/')
        docs.pop_back();
    if (docs.empty() || docs == Home())
        docs = Home() + "/Documents";
    return docs;
}

bool StartsWithFolder(const std::u16string& path, std::u16string_view folder) {
    if (path.size() < folder.size())
        return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        char16_t a = path[i];
        char16_t b = folder[i];
        if (a >= u'A' && a <= u'Z')
            a = char16_t(a + 0x20);
        if (b >= u'A' && b <= u'Z')
            b = char16_t(b + 0x20);
        if (a != b)
            return false;
    }
    return path.size() == folder.size() || path[folder.size()] == u'\\';
}
} // namespace

std::string AfxHostPathFromDevicePath(LPCTSTR lpszPath) {
    std::u16string path = lpszPath ? lpszPath : u"";
    if (path.empty() || path[0] != u'\\')
        return CString(path).ToUtf8();

    std::string base;
    std::u16string rest;
    const char* root = std::getenv("VESTORYLIST_ROOT");
    static constexpr std::u16string_view kMyDocuments = u"\\My Documents";
    if (root && *root) {
        base = root;
        rest = path;
    } else if (StartsWithFolder(path, kMyDocuments)) {
        base = DocumentsFolder();
        rest = path.substr(kMyDocuments.size());
    } else {
        // Other device folders have no host counterpart; keep them under the home folder.
        base = Home();
        rest = path;
    }
    for (char16_t& c : rest)
        if (c == u'\\')
            c = u'/';
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + CString(rest).ToUtf8();
}
