#include "platform/core/UserFolders.h"

#include "platform/core/Afx.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace {
std::string UserFolder(const char* pszVariable, const char* pszDefault) {
    const char* value = std::getenv(pszVariable);
    std::string folder;
    // Relative values are to be ignored, as the base directory rules say.
    if (value && value[0] == '/') {
        folder = value;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return {};
        folder = std::string(home) + pszDefault;
    }
    const std::string app = AfxGetAppName().ToUtf8();
    if (app.empty())
        return {};
    folder += "/" + app;
    for (std::size_t i = 1; i <= folder.size(); ++i) {
        if ((i == folder.size() || folder[i] == '/') &&
            ::mkdir(folder.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST)
            return {};
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    return folder;
}
} // namespace

std::string AfxGetUserStateFolder() {
    return UserFolder("XDG_STATE_HOME", "/.local/state");
}

std::string AfxGetUserDataFolder() {
    return UserFolder("XDG_DATA_HOME", "/.local/share");
}
