// A Wayland desktop of the test's own: Debian's sway on its headless backend, started as an
// unprivileged user when the test runs as root (sway refuses root), with the tools a test uses
// on it from outside as a person would: wtype for the keys, grim for what is on the screen and
// swaymsg for where sway shows the windows.
#pragma once

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/XwdImage.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SwaySession {
public:
    // The headless output's size.
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    // A window's client area on the output.
    struct Area {
        int x = 0, y = 0, cx = 0, cy = 0;
        bool operator==(const Area&) const = default;
    };

    // The programs it needs that are not on PATH; empty when all are there.
    static std::vector<std::string> MissingTools();

    // Starts sway and waits until it takes clients; its log goes to workFolder.
    explicit SwaySession(const std::filesystem::path& workFolder);
    ~SwaySession(); // ends sway
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    bool Started() const { return !m_socket.empty(); }
    std::string Output() const;
    // What a client of the session needs: its socket (a path, as the compositor's runtime
    // folder is its user's, not the client's) and no X display to fall back on.
    ChildProcess::Environment ClientEnvironment() const;

    // The client area of the shown window with this title, if there is one.
    std::optional<Area> Window(const std::string& title);
    // swaymsg with these arguments: its output, or nothing if it failed.
    std::optional<std::string> Swaymsg(const std::vector<std::string>& args);
    // The output's picture, or a part of it.
    std::optional<XwdImage> Picture(const std::optional<Area>& part = std::nullopt);
    // wtype with these arguments, after the pause a new virtual keyboard needs to be taken in.
    bool Keys(const std::vector<std::string>& args);

private:
    std::optional<std::string> RunTool(const std::string& name, std::vector<std::string> args);

    std::filesystem::path m_work;
    TempFolder m_folder; // sway's own, reachable by its user
    std::unique_ptr<ChildProcess> m_pSway;
    std::string m_socket;
    std::string m_ipc;
};
