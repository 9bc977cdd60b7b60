#include "tests/e2e/VirtualDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

using namespace std::chrono_literals;

namespace {

// No tool call takes long; one that does has hung on a server that is gone.
constexpr auto kToolTimeout = 10s;
constexpr int kServerStartMs = 15000;

// Reads the display number that Xvfb writes to the pipe once it accepts connections.
std::string ReadDisplayNumber(int fd) {
    std::string text;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kServerStartMs);
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0)
            return std::string();
        char buffer[32];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return std::string();
        text.append(buffer, std::size_t(n));
    }
    text.erase(text.find('\n'));
    return text.find_first_not_of("0123456789") == std::string::npos ? text : std::string();
}

} // namespace

std::vector<std::string> VirtualDesktop::MissingTools() {
    std::vector<std::string> missing;
    for (const char* tool : {"Xvfb", "xdotool", "xwd"}) {
        if (FindProgram(tool).empty())
            missing.push_back(tool);
    }
    return missing;
}

VirtualDesktop::VirtualDesktop(const std::filesystem::path& workFolder) : m_folder(workFolder) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    // Only the writing end goes to the server. Without -noreset the server starts afresh when
    // its last client leaves, refusing connections for a moment: the restart would miss it.
    ::fcntl(fds[1], F_SETFD, 0);
    m_pServer = std::make_unique<ChildProcess>(
        std::vector<std::string>{FindProgram("Xvfb"), "-displayfd", std::to_string(fds[1]),
                                 "-screen", "0", "800x600x24", "-nolisten", "tcp", "-noreset"},
        ChildProcess::Environment{}, (m_folder / "xvfb.txt").string());
    ::close(fds[1]);
    const std::string number = m_pServer->Started() ? ReadDisplayNumber(fds[0]) : std::string();
    ::close(fds[0]);
    if (!number.empty())
        m_display = ":" + number;
}

VirtualDesktop::~VirtualDesktop() {
    if (m_pServer) {
        m_pServer->Kill(SIGTERM);
        m_pServer->WaitExit(5s); // the destructor kills what is left
    }
}

std::string VirtualDesktop::ServerOutput() const {
    return m_pServer ? m_pServer->Output() : std::string();
}

std::optional<std::string> VirtualDesktop::RunTool(std::vector<std::string> argv) {
    if (!Started())
        return std::nullopt;
    std::string command;
    for (const std::string& arg : argv)
        command += (command.empty() ? "" : " ") + arg;
    argv[0] = FindProgram(argv[0]);
    ChildProcess tool(std::move(argv), {{"DISPLAY", m_display}}, (m_folder / "tool.txt").string());
    const std::optional<int> status = tool.WaitExit(kToolTimeout);
    if (!status) {
        ADD_FAILURE() << "timed out after " << kToolTimeout.count() << " s waiting for `" << command
                      << "` to end";
    }
    if (status != std::optional<int>(0))
        return std::nullopt;
    return tool.Output();
}

std::optional<std::string> VirtualDesktop::Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(std::move(argv));
}

std::vector<std::string> VirtualDesktop::ShownWindows(const std::vector<std::string>& criteria) {
    std::vector<std::string> args{"search", "--all", "--onlyvisible"};
    args.insert(args.end(), criteria.begin(), criteria.end());
    std::vector<std::string> ids;
    // xdotool search fails when it finds nothing.
    std::istringstream lines(Xdotool(args).value_or(std::string()));
    for (std::string id; std::getline(lines, id);) {
        if (!id.empty())
            ids.push_back(id);
    }
    return ids;
}

std::string VirtualDesktop::FocusedWindow() {
    std::string id = Xdotool({"getwindowfocus"}).value_or(std::string());
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r'))
        id.pop_back();
    return id;
}

bool VirtualDesktop::IsOverrideRedirect(const std::string& window) {
    const std::optional<std::string> info = RunTool({"xwininfo", "-id", window});
    return info && info->find("Override Redirect State: yes") != std::string::npos;
}

std::optional<XwdImage> VirtualDesktop::Picture(const std::string& window) {
    const std::string file = (m_folder / "picture.xwd").string();
    if (!RunTool({"xwd", "-silent", "-id", window, "-out", file}))
        return std::nullopt;
    return XwdImage::Read(file);
}

bool VirtualDesktop::Click(int x, int y) {
    return Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "1"}).has_value();
}

bool VirtualDesktop::Keys(const std::vector<std::string>& keys) {
    std::vector<std::string> args{"key"};
    args.insert(args.end(), keys.begin(), keys.end());
    return Xdotool(args).has_value();
}

bool VirtualDesktop::Type(const std::string& text) {
    return Xdotool({"type", "--delay", "5", text}).has_value();
}
