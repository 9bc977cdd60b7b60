// RuntimeFolder: a runtime folder of the test's own (XDG_RUNTIME_DIR) while it lives, so that
// the lists' writer marks and the program's sockets stay out of the user's and out of /tmp;
// the one before is set again and the folder removed when it goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

class RuntimeFolder {
public:
    RuntimeFolder() {
        if (const char* previous = std::getenv("XDG_RUNTIME_DIR"))
            m_previous = previous;
        // mkdtemp makes it private to the user, as a runtime folder must be.
        std::string pattern = (std::filesystem::temp_directory_path() / "vl-run-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            m_path = pattern;
            ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
        }
    }
    ~RuntimeFolder() {
        if (m_previous)
            ::setenv("XDG_RUNTIME_DIR", m_previous->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::optional<std::string> m_previous;
};
