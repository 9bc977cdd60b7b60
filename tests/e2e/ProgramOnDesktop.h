// The program as its own process on an X server of the test's own, with its device root and
// its settings, runtime, state and data folders in the test's temporary folder; what the tests
// share to start it, wait for its windows, drive it with the keyboard and read its list file
// with `vsl dump`. A test of several machines gives each its own of all these.
#pragma once

#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/VirtualDesktop.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Every wait is a poll with a bound; these are the bounds.
inline constexpr auto kStartTimeout = std::chrono::seconds(20);
inline constexpr auto kStepTimeout = std::chrono::seconds(10);

class ProgramOnDesktop : public ::testing::Test {
public:
    // A row as the list shows it.
    struct ShownRow {
        int yCentre; // in the window
        bool bTicked;
    };
    // The rows of the list in a picture of the main window's client area, found by their
    // check boxes (also on Wayland).
    static std::vector<ShownRow> RowsShown(const XwdImage& picture);

protected:
    // A window on the screen: its corner and size.
    struct Rect {
        int x = 0, y = 0, cx = 0, cy = 0;
    };
    // tools: programs the test needs on PATH besides the desktop's own.
    explicit ProgramOnDesktop(std::vector<std::string> tools = {});

    void SetUp() override;
    void TearDown() override;

    // The state of one machine. A test of two machines acts on one at a time (the fixture's
    // members below) and keeps the other's here.
    struct Machine {
        std::filesystem::path home; // its device root, settings, runtime, state, data folders
        std::unique_ptr<VirtualDesktop> pDesktop;
        std::unique_ptr<ChildProcess> pProgram;
        std::string main;
    };
    // Another machine, with an X server of its own and its folders under home.
    testing::AssertionResult AddMachine(Machine& machine, const std::filesystem::path& home);
    // From now on the fixture acts on machine, which keeps the one acted on till now.
    void SwapMachine(Machine& machine);

    std::filesystem::path ListFile() const;
    ChildProcess::Environment ProgramEnvironment() const;
    // Starts the program and waits until its main window "VestoryList" is shown (m_main) and
    // ready() holds, or the program ends.
    testing::AssertionResult LaunchProgram(const std::function<bool()>& ready = {});

    Rect Geometry(const std::string& window);
    // A window the program shows besides its main window, found with these criteria too;
    // empty if there is none.
    std::string OtherWindow(const std::vector<std::string>& criteria = {});
    testing::AssertionResult WaitGone(const std::string& window);
    testing::AssertionResult WaitFocus(const std::string& window);
    // The list file as `vsl dump` shows it; empty if it cannot.
    std::string Dump();
    bool WaitForDump(const std::string& expected);

    // The window the program shows besides its main window, once it has the keyboard; empty
    // if none does in time.
    std::string WaitForModal();
    // Keys that open a modal window; then keys, a text and keys typed into it, which close it;
    // the keyboard back in the list.
    void InModal(const std::vector<std::string>& open, const std::vector<std::string>& before,
                 const std::string& text, const std::vector<std::string>& after);
    // The centres of the rows shown in the main window now; nothing if no picture was taken.
    std::optional<std::vector<int>> RowCentres();

    // Today's date as a tick stores it: month, day, year.
    static std::string Today();
    // The line `vsl dump` writes for a garment as the keyboard adds it (quantity 1, size M),
    // with this note, ticked today or not.
    static std::string DumpLine(const std::string& name, const std::string& note = "",
                                bool bTicked = false);
    // A dump's garment lines, in the list's order, or sorted.
    static std::vector<std::string> DumpLines(const std::string& dump, bool bSorted = false);

    TempFolder m_folder;
    std::filesystem::path m_home;
    std::unique_ptr<VirtualDesktop> m_pDesktop;
    std::unique_ptr<ChildProcess> m_pProgram;
    std::string m_main;

private:
    std::vector<std::string> m_tools;
};
