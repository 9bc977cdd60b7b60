// File permissions apply inside this scope even when the tests run as root: the file-system
// identity becomes an ordinary user's (root would otherwise write into read-only folders).
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

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
