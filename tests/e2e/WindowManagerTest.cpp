// The program under a window manager (Debian's openbox, started by the test on its own X
// server): the window manager places the first window, and the size and place the user gives
// it come back at the next start; dialogs ask for no minimise or maximise button.
#include "tests/e2e/ProgramOnDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A window's client area on the screen, and how far its frame reaches above it.
struct Place {
    int x = 0, y = 0, cx = 0, cy = 0, cyAbove = 0;
    bool operator==(const Place&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Place& p) {
    return out << p.cx << "x" << p.cy << "+" << p.x << "+" << p.y << " (frame " << p.cyAbove
               << " above)";
}

class WindowManagerTest : public ProgramOnDesktop {
protected:
    WindowManagerTest() : ProgramOnDesktop({"openbox", "xwininfo", "xprop"}) {}

    void SetUp() override {
        ProgramOnDesktop::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_pWindowManager = std::make_unique<ChildProcess>(
            std::vector<std::string>{FindProgram("openbox")},
            ChildProcess::Environment{{"DISPLAY", m_pDesktop->Display()}},
            (m_folder.Path() / "openbox.txt").string());
        // A window manager announces itself on the root window once it manages the screen.
        ASSERT_TRUE(WaitUntil(
            [&] {
                return Tool({FindProgram("xprop"), "-root", "_NET_SUPPORTING_WM_CHECK"})
                           .find("window id") != std::string::npos;
            },
            kStepTimeout))
            << m_pWindowManager->Output();
    }

    void TearDown() override {
        m_pProgram.reset();
        m_pWindowManager.reset();
        ProgramOnDesktop::TearDown();
    }

    std::string Tool(const std::vector<std::string>& argv) {
        ChildProcess tool(argv, {{"DISPLAY", m_pDesktop->Display()}},
                          (m_folder.Path() / "tool.txt").string());
        return tool.WaitExit(kStepTimeout) == std::optional<int>(0) ? tool.Output() : "";
    }

    std::string StartProgram() {
        // Placed means framed: the window manager has taken it in.
        LaunchProgram([&] { return PlaceOf(m_main).cyAbove > 0; });
        EXPECT_FALSE(m_main.empty()) << m_pProgram->Output();
        return m_main;
    }

    // xwininfo's absolute corner is the client area's; its relative one is the offset in the
    // window manager's frame.
    Place PlaceOf(const std::string& window) {
        Place p;
        std::istringstream lines(Tool({FindProgram("xwininfo"), "-id", window}));
        for (std::string line; std::getline(lines, line);) {
            const auto value = [&](const char* key) {
                const auto at = line.find(key);
                return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + strlen(key));
            };
            if (int v = value("Absolute upper-left X:"); v >= 0)
                p.x = v;
            if (int v = value("Absolute upper-left Y:"); v >= 0)
                p.y = v;
            if (int v = value("Relative upper-left Y:"); v >= 0)
                p.cyAbove = v;
            if (int v = value("Width:"); v >= 0)
                p.cx = v;
            if (int v = value("Height:"); v >= 0)
                p.cy = v;
        }
        return p;
    }

    // The frame around a window: left, right, top, bottom, as the window manager announces it.
    std::vector<int> FrameExtents(const std::string& window) {
        std::string text = Tool({FindProgram("xprop"), "-id", window, "_NET_FRAME_EXTENTS"});
        std::replace(text.begin(), text.end(), ',', ' ');
        std::istringstream words(text.substr(std::min(text.find('='), text.size()) + 1));
        std::vector<int> extents{std::istream_iterator<int>(words), {}};
        extents.resize(4);
        return extents;
    }

    bool Quit(const std::string& window) {
        // Ctrl+Q ends the program as List > Exit does.
        m_pDesktop->Xdotool({"windowactivate", "--sync", window});
        m_pDesktop->Keys({"ctrl+q"});
        return m_pProgram->WaitExit(kStepTimeout) == std::optional<int>(0);
    }

    std::unique_ptr<ChildProcess> m_pWindowManager;
};

TEST_F(WindowManagerTest, FirstStartIsPlacedByTheWindowManagerAndTheUsersPlaceComesBack) {
    std::string window = StartProgram();
    ASSERT_FALSE(window.empty());
    const Place first = PlaceOf(window);
    // The handheld's screen size, with the whole title bar on the screen.
    EXPECT_EQ(first.cx, 240);
    EXPECT_EQ(first.cy, 320);
    EXPECT_GE(first.y - first.cyAbove, 0) << first;

    // The user moves and widens it, then quits; the next start shows it there again.
    m_pDesktop->Xdotool({"windowsize", window, "420", "360"});
    m_pDesktop->Xdotool({"windowmove", window, "60", "70"});
    Place moved;
    ASSERT_TRUE(WaitUntil(
        [&] {
            moved = PlaceOf(window);
            return moved.cx == 420 && moved.cy == 360 && moved != first;
        },
        kStepTimeout))
        << moved;
    ASSERT_TRUE(Quit(window)) << m_pProgram->Output();

    window = StartProgram();
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(PlaceOf(window), moved);

    // The item dialog: title bar and close box from the window manager, no maximise button,
    // no wider than the main window at its first start.
    ASSERT_TRUE(m_pDesktop->Click(moved.x + 10, moved.y + moved.cy - 8));
    std::string menu;
    ASSERT_TRUE(WaitUntil([&] { return !(menu = OtherWindow()).empty(); }, kStepTimeout));
    ASSERT_TRUE(m_pDesktop->Keys({"Down", "Return"}));
    std::string dialog;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (const std::string id = OtherWindow({"--name", "^Dialog$"}); !id.empty())
                dialog = id;
            return !dialog.empty() && PlaceOf(dialog).cyAbove > 0;
        },
        kStepTimeout));
    const Place box = PlaceOf(dialog);
    EXPECT_LE(box.cx, 240) << box;
    const std::string actions =
        Tool({FindProgram("xprop"), "-id", dialog, "_NET_WM_ALLOWED_ACTIONS"});
    EXPECT_NE(actions.find("_NET_WM_ACTION_CLOSE"), std::string::npos) << actions;
    EXPECT_EQ(actions.find("_NET_WM_ACTION_MAXIMIZE"), std::string::npos) << actions;
    ASSERT_TRUE(m_pDesktop->Keys({"Escape"}));
    ASSERT_TRUE(Quit(window)) << m_pProgram->Output();
}

} // namespace

namespace {

// A saved place off the screen, or larger than it, comes back with the window manager's frame
// wholly on the screen (Xvfb's 800 by 600), as near to the saved place as it fits.
TEST_F(WindowManagerTest, ASavedPlaceComesBackWithItsFrameOnTheScreen) {
    const struct {
        const char* what;
        int x, y, cx, cy;
    } cases[] = {
        {"past the right edge", 780, 20, 300, 200},
        {"larger than the screen", 0, 0, 5000, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path settings =
            m_home / "config" / "Local AppWizard-Generated Applications" / "VestoryList.ini";
        fs::create_directories(settings.parent_path());
        std::ofstream(settings) << "[Window]\nLeft=" << c.x << "\nTop=" << c.y << "\nWidth=" << c.cx
                                << "\nHeight=" << c.cy << "\n";
        const std::string window = StartProgram();
        ASSERT_FALSE(window.empty());
        Place p;
        std::vector<int> frame;
        const auto onScreen = [&] {
            p = PlaceOf(window);
            frame = FrameExtents(window);
            return p.x - frame[0] >= 0 && p.x + p.cx + frame[1] <= 800 && p.y - frame[2] >= 0 &&
                   p.y + p.cy + frame[3] <= 600;
        };
        EXPECT_TRUE(WaitUntil(onScreen, kStepTimeout))
            << p << ", frame " << frame[0] << " " << frame[1] << " " << frame[2] << " " << frame[3];
        // Against the right edge, as wide as it was or as the screen lets the frame be.
        EXPECT_EQ(p.x + p.cx + frame[1], 800) << p;
        EXPECT_EQ(p.cx, std::min(c.cx, 800 - frame[0] - frame[1])) << p;
        ASSERT_TRUE(Quit(window)) << m_pProgram->Output();
    }
}

} // namespace
