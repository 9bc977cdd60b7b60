// The pointer of a test's Wayland desktop: the test's own client of the compositor's virtual
// pointer protocol, connected for the whole test so that the windows know the device before
// the first tap. Moves and taps at output coordinates.
#pragma once

#include "tests/e2e/ChildProcess.h"

#include <filesystem>
#include <memory>
#include <string>

class WaylandPointer {
public:
    WaylandPointer(const ChildProcess::Environment& env, const std::filesystem::path& workFolder);
    ~WaylandPointer(); // ends the client
    WaylandPointer(const WaylandPointer&) = delete;
    WaylandPointer& operator=(const WaylandPointer&) = delete;

    std::string Output() const;
    bool Move(int x, int y);
    // A press and release of the left button where the pointer is moved to.
    bool Tap(int x, int y);

private:
    // Sends a command and waits until the client says the compositor has taken it in.
    bool Send(const std::string& command);

    std::unique_ptr<ChildProcess> m_pClient;
    int m_input = -1;
    int m_nAnswered = 0;
};
