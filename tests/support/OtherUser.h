// OtherUser: runs programs as another user through setpriv (the test must run as root), from
// copies in a folder of the test's that the user can reach: the build may lie in a folder only
// its owner can enter, as Debian's home folders are.
#pragma once

#include "tests/support/TempFolder.h"

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

class OtherUser {
public:
    explicit OtherUser(uid_t uid = 65534) : m_id(std::to_string(uid)) {
        std::filesystem::permissions(m_copies.Path(), std::filesystem::perms(0755));
    }

    // argv as the user runs it: setpriv's words, then argv with its program copied.
    std::vector<std::string> Command(std::vector<std::string> argv) const {
        argv[0] = Reachable(argv[0]);
        std::vector<std::string> command = Words(m_id);
        command.insert(command.end(), argv.begin(), argv.end());
        return command;
    }
    // setpriv's words alone, for a program the user reaches where it is (one of the system's).
    static std::vector<std::string> Words(const std::string& id) {
        return {"/usr/bin/setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"};
    }
    // The same for a shell: the words to put before a command line.
    std::string Prefix() const {
        return "setpriv --reuid=" + m_id + " --regid=" + m_id + " --clear-groups ";
    }
    // A copy of the program that the user can run, made once.
    std::string Reachable(const std::string& program) const {
        const std::filesystem::path copy =
            m_copies.Path() / std::filesystem::path(program).filename();
        std::error_code ec;
        if (!std::filesystem::exists(copy, ec))
            std::filesystem::copy_file(program, copy, ec);
        return copy.string();
    }

private:
    std::string m_id;
    TempFolder m_copies;
};
