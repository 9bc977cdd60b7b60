// A fresh temporary folder, private to the user, removed with everything in it when it goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <system_error>

class TempFolder {
public:
    explicit TempFolder(const char* prefix = "vl-test-") {
        std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder " + pattern);
        m_path = pattern;
    }
    ~TempFolder() {
        // Undo any chmod a test left, so that everything can be removed.
        ::chmod(m_path.c_str(), 0700);
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(m_path, ec))
            if (e.symlink_status(ec).type() == std::filesystem::file_type::directory)
                ::chmod(e.path().c_str(), 0700);
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
