// RuntimeFolder: a runtime folder of the test's own (XDG_RUNTIME_DIR) while it lives, so that
// the lists' writer marks and the program's sockets stay out of the user's and out of /tmp.
#pragma once

#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

class RuntimeFolder {
public:
    RuntimeFolder() : m_folder("vl-run-"), m_variable("XDG_RUNTIME_DIR", m_folder.Path()) {}

    const std::filesystem::path& Path() const { return m_folder.Path(); }

private:
    TempFolder m_folder; // private to the user, as a runtime folder must be
    ScopedVariable m_variable;
};
