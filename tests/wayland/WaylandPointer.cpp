#include "tests/wayland/WaylandPointer.h"

#include "tests/wayland/SwaySession.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>

using namespace std::chrono_literals;

WaylandPointer::WaylandPointer(const ChildProcess::Environment& env,
                               const std::filesystem::path& workFolder) {
    // A client that died fails the step that writes to it, not the whole test program.
    ::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    m_pClient = std::make_unique<ChildProcess>(std::vector<std::string>{VIRTUAL_POINTER_PROGRAM},
                                               env, (workFolder / "pointer.txt").string(), fds[0]);
    ::close(fds[0]);
    m_input = fds[1];
}

WaylandPointer::~WaylandPointer() {
    if (m_input >= 0)
        ::close(m_input); // the client ends at the end of its input
    if (m_pClient)
        m_pClient->WaitExit(5s); // the destructor kills what is left
}

std::string WaylandPointer::Output() const {
    return m_pClient ? m_pClient->Output() : std::string("the pointer did not start");
}

bool WaylandPointer::Send(const std::string& command) {
    if (!m_pClient || !m_pClient->Running())
        return false;
    const std::string line = command + "\n";
    if (::write(m_input, line.data(), line.size()) != ssize_t(line.size()))
        return false;
    ++m_nAnswered;
    return WaitUntil(
               [&] {
                   const std::string output = Output();
                   int nOk = 0;
                   for (std::size_t at = output.find("ok\n"); at != std::string::npos;
                        at = output.find("ok\n", at + 1))
                       ++nOk;
                   return nOk >= m_nAnswered || !m_pClient->Running();
               },
               10s, 5ms) &&
           m_pClient->Running();
}

bool WaylandPointer::Move(int x, int y) {
    return Send("move " + std::to_string(x) + " " + std::to_string(y) + " " +
                std::to_string(SwaySession::kWidth) + " " + std::to_string(SwaySession::kHeight));
}

bool WaylandPointer::Tap(int x, int y) {
    return Move(x, y) && Send("press") && Send("release");
}
