#include "tests/wayland/SwaySession.h"

#include "tests/support/OtherUser.h"

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr auto kStartTimeout = 15s;
// No tool call takes long; one that does has hung on a compositor that is gone.
constexpr auto kToolTimeout = 10s;
constexpr uid_t kUnprivileged = 65534;

// Every window floats, as on a desktop with a window manager: the compositor shows it at the
// size the program asks for and places it itself.
constexpr const char* kConfig = "output HEADLESS-1 mode 800x600 position 0 0\n"
                                "for_window [app_id=\".*\"] floating enable\n"
                                "default_floating_border normal\n"
                                "xwayland disable\n";

// The four numbers of sway's {"x", "y", "width", "height"} object that starts at text[at].
std::optional<SwaySession::Area> ReadArea(const std::string& text, std::size_t at) {
    at = text.find('{', at);
    SwaySession::Area a;
    if (at == std::string::npos ||
        std::sscanf(text.c_str() + at, "{ \"x\": %d , \"y\": %d , \"width\": %d , \"height\": %d",
                    &a.x, &a.y, &a.cx, &a.cy) != 4)
        return std::nullopt;
    return a;
}

} // namespace

std::vector<std::string> SwaySession::MissingTools() {
    std::vector<std::string> missing;
    for (const char* tool : {"sway", "swaymsg", "wtype", "grim"}) {
        if (FindProgram(tool).empty())
            missing.push_back(tool);
    }
    return missing;
}

SwaySession::SwaySession(const fs::path& workFolder) : m_work(workFolder), m_folder("vl-sway-") {
    const bool bRoot = ::geteuid() == 0;
    const fs::path run = m_folder.Path() / "run";
    fs::create_directories(run);
    fs::permissions(run, fs::perms::owner_all);
    std::ofstream(m_folder.Path() / "config") << kConfig;
    std::vector<std::string> argv;
    if (bRoot) {
        // Sway's user reaches its config and owns its runtime folder, as it must.
        fs::permissions(m_folder.Path(), fs::perms(0755));
        fs::permissions(m_folder.Path() / "config", fs::perms(0644));
        if (::chown(run.c_str(), kUnprivileged, kUnprivileged) != 0)
            return;
        argv = OtherUser::Words(std::to_string(kUnprivileged));
    }
    argv.insert(argv.end(), {FindProgram("sway"), "-c", (m_folder.Path() / "config").string()});
    m_pSway =
        std::make_unique<ChildProcess>(argv,
                                       ChildProcess::Environment{{"WLR_BACKENDS", "headless"},
                                                                 {"WLR_RENDERER", "pixman"},
                                                                 {"XDG_RUNTIME_DIR", run.string()},
                                                                 {"HOME", run.string()},
                                                                 {"WAYLAND_DISPLAY", std::nullopt},
                                                                 {"DISPLAY", std::nullopt},
                                                                 {"SWAYSOCK", std::nullopt}},
                                       (m_work / "sway.txt").string());
    // Ready when both its sockets are there and it answers on the second.
    std::string socket;
    WaitUntil(
        [&] {
            if (!m_pSway->Running())
                return true;
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(run, ec)) {
                const std::string name = entry.path().filename().string();
                if (entry.is_socket(ec) && name.starts_with("wayland-"))
                    socket = entry.path().string();
                else if (entry.is_socket(ec) && name.starts_with("sway-ipc."))
                    m_ipc = entry.path().string();
            }
            return !socket.empty() && !m_ipc.empty() &&
                   RunTool("swaymsg", {"-t", "get_outputs"}).has_value();
        },
        kStartTimeout, 50ms);
    if (m_pSway->Running() && !socket.empty() && !m_ipc.empty())
        m_socket = socket;
}

SwaySession::~SwaySession() {
    if (m_pSway) {
        m_pSway->Kill(SIGTERM);
        m_pSway->WaitExit(5s); // the destructor kills what is left
    }
}

std::string SwaySession::Output() const {
    return m_pSway ? m_pSway->Output() : std::string("sway did not start");
}

ChildProcess::Environment SwaySession::ClientEnvironment() const {
    return {{"WAYLAND_DISPLAY", m_socket},
            {"SWAYSOCK", m_ipc},
            {"DISPLAY", std::nullopt},
            {"QT_QPA_PLATFORM", "wayland"}};
}

std::optional<std::string> SwaySession::RunTool(const std::string& name,
                                                std::vector<std::string> args) {
    args.insert(args.begin(), FindProgram(name));
    ChildProcess::Environment env = ClientEnvironment();
    env["WAYLAND_DISPLAY"] = m_socket.empty() ? std::nullopt : std::optional(m_socket);
    ChildProcess tool(args, env, (m_work / "tool.txt").string());
    const std::optional<int> status = tool.WaitExit(kToolTimeout);
    if (!status)
        ADD_FAILURE() << "timed out after " << kToolTimeout.count() << " s waiting for " << name;
    if (status != std::optional<int>(0))
        return std::nullopt;
    return tool.Output();
}

std::optional<std::string> SwaySession::Swaymsg(const std::vector<std::string>& args) {
    return RunTool("swaymsg", args);
}

std::optional<SwaySession::Area> SwaySession::Window(const std::string& title) {
    const std::string tree = Swaymsg({"-t", "get_tree"}).value_or(std::string());
    // Sway describes a window's rectangles before its name: its container's on the output,
    // then the window's own within the container.
    const std::size_t name = tree.find("\"name\": \"" + title + "\"");
    if (name == std::string::npos)
        return std::nullopt;
    const auto container = ReadArea(tree, tree.rfind("\"rect\": {", name));
    const auto window = ReadArea(tree, tree.rfind("\"window_rect\": {", name));
    if (!container || !window || window->cx <= 0 || window->cy <= 0)
        return std::nullopt;
    return Area{container->x + window->x, container->y + window->y, window->cx, window->cy};
}

std::optional<XwdImage> SwaySession::Picture(const std::optional<Area>& part) {
    const std::string file = (m_work / "picture.ppm").string();
    std::vector<std::string> args{"-t", "ppm"};
    if (part) {
        args.insert(args.end(),
                    {"-g", std::to_string(part->x) + "," + std::to_string(part->y) + " " +
                               std::to_string(part->cx) + "x" + std::to_string(part->cy)});
    }
    args.push_back(file);
    if (!RunTool("grim", args))
        return std::nullopt;
    return XwdImage::ReadPpm(file);
}

bool SwaySession::Keys(const std::vector<std::string>& args) {
    std::vector<std::string> all{"-s", "400"};
    all.insert(all.end(), args.begin(), args.end());
    return RunTool("wtype", all).has_value();
}
