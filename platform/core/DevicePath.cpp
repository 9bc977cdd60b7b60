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

bool IsCarriedByte(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

std::string HostBytes(const std::u16string& path) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsCarriedByte(path[i]))
            continue;
        // A carried byte after a high surrogate is half of a pair, not a byte.
        if (i < path.size() && i > start && path[i - 1] >= 0xD800 && path[i - 1] <= 0xDBFF)
            continue;
        out += CString(path.substr(start, i - start)).ToUtf8();
        if (i < path.size())
            out += char(path[i] - 0xDC00);
        start = i + 1;
    }
    return out;
}
} // namespace

CString AfxDevicePathFromHostPath(std::string_view hostPath) {
    std::u16string out;
    for (std::size_t i = 0; i < hostPath.size();) {
        const auto lead = static_cast<unsigned char>(hostPath[i]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        const std::string_view piece = hostPath.substr(i, length);
        const CString text = CString::FromUtf8(piece);
        if (length != 0 && piece.size() == length && text.ToUtf8() == piece) {
            out += text.str();
            i += length;
        } else {
            out += char16_t(0xDC00 + lead);
            ++i;
        }
    }
    return CString(std::move(out));
}

std::string AfxHostPathFromDevicePath(LPCTSTR lpszPath) {
    std::u16string path = lpszPath ? lpszPath : u"";
    if (path.empty() || path[0] != u'\\')
        return HostBytes(path);

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
    return base + HostBytes(rest);
}
