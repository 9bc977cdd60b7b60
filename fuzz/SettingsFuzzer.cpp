// Feeds arbitrary bytes to the settings file's reader as a start reads the file. Beyond crashes,
// leaks and hangs (the sanitizers and libFuzzer see those) it checks what a user relies on: the
// settings read, written back at the end with one changed, read back the same at the next start.
#include "platform/core/Profile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {
fs::path g_file;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "settings reader: %s\n", what);
    std::abort();
}

// Names to look up: the program's own, and what the input's lines look like they name.
std::set<std::pair<std::string, std::string>> Names(std::string_view text) {
    std::set<std::pair<std::string, std::string>> names = {
        {"Window", "Left"}, {"Window", "Width"}, {"Columns", "Width0"}};
    std::string section;
    while (!text.empty() && names.size() < 64) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t open = line.find('['), close = line.rfind(']');
        if (open != std::string_view::npos && close != std::string_view::npos && open < close)
            section = line.substr(open + 1, close - open - 1);
        else if (const std::size_t eq = line.find('='); eq != std::string_view::npos)
            names.emplace(section, line.substr(0, eq));
    }
    return names;
}
// Names match without regard to case, as the reader matches them.
bool Same(const std::string& name, std::string_view other) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 0x20) : c; };
    return name.size() == other.size() &&
           std::equal(other.begin(), other.end(), name.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A memory-backed folder keeps a million small files from reaching a disk.
    const fs::path base =
        ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string folder = (base / "vl-fuzz-settings-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        Fail("cannot create a temporary folder");
    g_file = fs::path(folder) / "VestoryList.ini";
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_file.parent_path(), ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (size > CProfile::kMaxBytes)
        return 0; // not read at all, and left as it is
    std::ofstream(g_file, std::ios::binary | std::ios::trunc) << text;

    const auto names = Names(text);
    std::vector<std::optional<CString>> read;
    {
        CProfile profile(g_file.string());
        for (const auto& [section, entry] : names)
            read.push_back(profile.Get(CString::FromUtf8(section), CString::FromUtf8(entry)));
        // The program's end: the window's place changed, the file written.
        profile.Set(u"Window", u"Top", u"17");
        if (!profile.Flush())
            Fail("settings read whole are not written back");
    }
    CProfile again(g_file.string());
    std::size_t i = 0;
    for (const auto& [section, entry] : names) {
        const std::optional<CString> value =
            again.Get(CString::FromUtf8(section), CString::FromUtf8(entry));
        const bool bChanged = Same(section, "Window") && Same(entry, "Top");
        if (!bChanged && value != read[i])
            Fail("a setting written back reads back as another");
        ++i;
    }
    if (again.Get(u"Window", u"Top") != std::optional<CString>(u"17"))
        Fail("the changed setting does not read back");
    return 0;
}
