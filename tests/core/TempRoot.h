// A fresh device root for one test: VESTORYLIST_ROOT points at a new temporary folder that
// is removed afterwards, so no test ever touches the real documents folder; the writer marks
// go to a runtime folder of the test's own.
#pragma once

#include "tests/support/RuntimeFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

class TempRoot {
public:
    TempRoot() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vl-test-XXXXXX").string();
        m_path = ::mkdtemp(tmpl.data());
        ::setenv("VESTORYLIST_ROOT", m_path.c_str(), 1);
    }
    ~TempRoot() {
        // Undo any chmod a test left, so the folder can be removed.
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(m_path, ec))
            if (e.is_directory())
                ::chmod(e.path().c_str(), 0755);
        ::chmod(m_path.c_str(), 0755);
        std::filesystem::remove_all(m_path, ec);
        ::unsetenv("VESTORYLIST_ROOT");
    }
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Where the list file lives on the host.
    std::filesystem::path ListFile() const { return m_path / "My Documents/Personal/Vestory.vsl"; }

    static std::string ReadAll(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteAll(const std::filesystem::path& p, const std::string& bytes) {
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    RuntimeFolder m_runtime;
    std::filesystem::path m_path;
};

// File permissions apply inside this scope even when the tests run as root: the file-system
// identity becomes an ordinary user's (root would otherwise write into read-only folders).
class Unprivileged {
public:
    Unprivileged() : m_wasRoot(::geteuid() == 0) {
        if (m_wasRoot) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
    }
    ~Unprivileged() {
        if (m_wasRoot) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool m_wasRoot;
};
