// An X server of the test's own (Xvfb on a display number it picks itself) and the tools a
// test uses on it from outside, as a person would: xdotool for the mouse, the keys and the
// windows, xwd for what is on the screen.
#pragma once

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/XwdImage.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class VirtualDesktop {
public:
    // The programs it needs that are not on PATH; empty when all are there.
    static std::vector<std::string> MissingTools();

    // Starts the server; its files (logs, pictures) go to workFolder.
    explicit VirtualDesktop(const std::filesystem::path& workFolder);
    ~VirtualDesktop(); // ends the server
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    bool Started() const { return !m_display.empty(); }
    const std::string& Display() const { return m_display; }
    std::string ServerOutput() const;

    // xdotool with these arguments: its output, or nothing if it failed or hung.
    std::optional<std::string> Xdotool(const std::vector<std::string>& args);
    // Ids of the shown windows that `xdotool search` finds with these criteria.
    std::vector<std::string> ShownWindows(const std::vector<std::string>& criteria);
    std::string FocusedWindow();
    // A window that the window manager leaves alone (a menu), which takes the keyboard by a
    // grab rather than by focus.
    bool IsOverrideRedirect(const std::string& window);
    // The window's contents as shown now.
    std::optional<XwdImage> Picture(const std::string& window);

    // Input at screen coordinates and from the keyboard, to whatever window has it.
    bool Click(int x, int y);
    bool Keys(const std::vector<std::string>& keys);
    bool Type(const std::string& text);

private:
    std::optional<std::string> RunTool(std::vector<std::string> argv);

    std::filesystem::path m_folder;
    std::unique_ptr<ChildProcess> m_pServer;
    std::string m_display;
};
