#include "bench/support/ChildEnvironment.h"

extern char** environ;

std::vector<std::string> ChildEnvironment(const std::filesystem::path& root,
                                          const std::filesystem::path& run) {
    std::vector<std::string> env;
    for (char** p = environ; *p; ++p) {
        const std::string entry(*p);
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "QT_QPA_PLATFORM" && name != "VESTORYLIST_ROOT" && name != "XDG_RUNTIME_DIR" &&
            name != "XDG_CONFIG_HOME" && name != "XDG_STATE_HOME" && name != "XDG_DATA_HOME" &&
            name != "VESTORYLIST_EXIT_AFTER_FIRST_PAINT")
            env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("VESTORYLIST_ROOT=" + root.string());
    env.push_back("XDG_RUNTIME_DIR=" + run.string());
    env.push_back("XDG_CONFIG_HOME=" + (root / "config").string());
    env.push_back("XDG_STATE_HOME=" + (root / "state").string());
    env.push_back("XDG_DATA_HOME=" + (root / "data").string());
    env.push_back("VESTORYLIST_EXIT_AFTER_FIRST_PAINT=1");
    return env;
}
