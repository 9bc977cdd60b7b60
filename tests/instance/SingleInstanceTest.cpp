// Two starts of the program on one device never both run: the second hands over to the first.
// Real processes, offscreen, each test with its own device root and runtime folder.
#include "tests/e2e/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    // A device root of its own per name, one runtime folder (where the claims live) for all.
    fs::path Root(const std::string& name) {
        const fs::path root = m_folder.Path() / name;
        fs::create_directories(root);
        return root;
    }

    std::unique_ptr<ChildProcess> Start(const fs::path& root, bool bExitAfterFirstPaint = false) {
        const fs::path runtime = m_folder.Path() / "run";
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        const std::string log =
            (m_folder.Path() / ("out-" + std::to_string(m_nStarted++) + ".txt")).string();
        auto p = std::make_unique<ChildProcess>(
            std::vector<std::string>{VESTORYLIST_PROGRAM},
            ChildProcess::Environment{
                {"QT_QPA_PLATFORM", "offscreen"},
                {"VESTORYLIST_ROOT", root.string()},
                {"XDG_CONFIG_HOME", (root / "config").string()},
                {"XDG_RUNTIME_DIR", runtime.string()},
                {"VESTORYLIST_EXIT_AFTER_FIRST_PAINT",
                 bExitAfterFirstPaint ? std::optional<std::string>("1") : std::nullopt}},
            log);
        EXPECT_TRUE(p->Started());
        return p;
    }

    // The sockets of running programs: one per device that has a program running.
    std::vector<fs::path> Sockets() {
        std::vector<fs::path> sockets;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(m_folder.Path() / "run", ec))
            if (e.is_socket())
                sockets.push_back(e.path());
        return sockets;
    }

    // Up means answering: a socket that takes connections (one left by a killed program
    // refuses them).
    testing::AssertionResult WaitUntilListening(std::size_t nSockets) {
        return WaitFor(
            std::to_string(nSockets) + " running program(s) to answer on their sockets",
            [&] {
                const std::vector<fs::path> sockets = Sockets();
                return sockets.size() == nSockets &&
                       std::all_of(sockets.begin(), sockets.end(), TakesConnections);
            },
            15s);
    }

    static bool TakesConnections(const fs::path& socketPath) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (socketPath.string().size() >= sizeof address.sun_path)
            return false;
        std::strcpy(address.sun_path, socketPath.c_str());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool bTaken =
            fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            ::close(fd);
        return bTaken;
    }

    // An empty list file on the device, which the program reads without a word.
    static fs::path EmptyList(const fs::path& root) {
        const fs::path list = root / "My Documents" / "Personal" / "Vestory.vsl";
        fs::create_directories(list.parent_path());
        std::ofstream{list};
        return list;
    }

    // The device's claims and the lists' writer marks.
    std::size_t Locks() {
        std::error_code ec;
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(m_folder.Path() / "run", ec))
            n += e.path().extension() == ".lock";
        return n;
    }

    // vsl import as a script in the same session runs it: its status, or nothing if it hung.
    std::optional<int> Import(const fs::path& csv, const fs::path& list, std::string* pOut = {}) {
        ChildProcess vsl({VSL_PROGRAM, "import", csv.string(), list.string()},
                         {{"XDG_RUNTIME_DIR", (m_folder.Path() / "run").string()}},
                         (m_folder.Path() / ("vsl-" + std::to_string(m_nStarted++))).string());
        const std::optional<int> status = vsl.WaitExit(10s);
        if (pOut)
            *pOut = vsl.Output();
        return status;
    }

    TempFolder m_folder;
    int m_nStarted = 0;
};

TEST_F(SingleInstanceTest, SecondStartOnOneDeviceShowsTheFirstAndEnds) {
    const fs::path root = Root("device");
    auto first = Start(root);
    ASSERT_TRUE(WaitUntilListening(1)) << first->Output();

    for (int i = 0; i < 3; ++i) {
        auto second = Start(root);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(second->WaitExit(10s), std::optional<int>(0)) << second->Output();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    }
    EXPECT_TRUE(first->Running()) << first->Output();
    // The second never wrote a list file of its own, nor did the first.
    EXPECT_FALSE(fs::exists(root / "My Documents/Personal/Vestory.vsl"));
}

TEST_F(SingleInstanceTest, StartsOnOtherDevicesRunSideBySide) {
    auto first = Start(Root("one"));
    auto second = Start(Root("two"));
    ASSERT_TRUE(WaitUntilListening(2));
    EXPECT_TRUE(first->Running()) << first->Output();
    EXPECT_TRUE(second->Running()) << second->Output();
}

TEST_F(SingleInstanceTest, AfterTheRunningOneIsKilledANewStartTakesOver) {
    const fs::path root = Root("device");
    auto first = Start(root);
    ASSERT_TRUE(WaitUntilListening(1)) << first->Output();
    first->Kill(SIGKILL);
    ASSERT_EQ(first->WaitExit(10s), std::optional<int>(128 + SIGKILL));
    // The killed one leaves its socket behind, taking no connections.
    const std::vector<fs::path> stale = Sockets();
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_FALSE(TakesConnections(stale[0]));

    auto next = Start(root);
    ASSERT_TRUE(WaitUntilListening(1)) << next->Output();
    EXPECT_TRUE(next->Running()) << next->Output();
    // And it is the one that answers now.
    auto third = Start(root);
    EXPECT_EQ(third->WaitExit(10s), std::optional<int>(0)) << third->Output();
    EXPECT_TRUE(next->Running());
}

TEST_F(SingleInstanceTest, ANormalEndLeavesNothingBehind) {
    auto only = Start(Root("device"), true);
    ASSERT_EQ(only->WaitExit(15s), std::optional<int>(0)) << only->Output();
    EXPECT_TRUE(fs::is_empty(m_folder.Path() / "run"));
}

// Whatever state the running program is in, a second start on its list opens no window: it says
// it cannot hand over and ends with status 1. (With the variable set, a window it opened would
// end it after its first paint, with status 0.)
TEST_F(SingleInstanceTest, ASecondStartNeverOpensAWindowOnAHeldList) {
    for (const bool bSameDevice : {true, false}) {
        SCOPED_TRACE(bSameDevice ? "stopped, same device" : "another device linked to the list");
        const fs::path root = Root(bSameDevice ? "stopped" : "linked");
        const fs::path list = EmptyList(root);
        auto first = Start(root);
        ASSERT_TRUE(WaitUntilListening(1)) << first->Output();
        fs::path secondRoot = root;
        if (bSameDevice) {
            first->Kill(SIGSTOP);
        } else {
            secondRoot = Root("linked-2");
            const fs::path link = EmptyList(secondRoot);
            fs::remove(link);
            fs::create_symlink(list, link);
        }
        auto second = Start(secondRoot, true);
        // A signal closes its message box as the user would, once the box is there.
        const std::string message = "VestoryList is already running on this list (process " +
                                    std::to_string(first->Pid()) + ") but does not answer.";
        const auto said = [&] { return second->Output().find(message) != std::string::npos; };
        ASSERT_TRUE(bSameDevice ? WaitUntil(said, 20s) : WaitUntilListening(2)) << second->Output();
        second->Kill(SIGTERM);
        EXPECT_EQ(second->WaitExit(20s), std::optional<int>(1)) << second->Output();
        EXPECT_EQ(second->Output().find("first paint"), std::string::npos) << second->Output();
        first->Kill(SIGCONT);
        first->Kill(SIGTERM);
        EXPECT_EQ(first->WaitExit(10s), std::optional<int>(0)) << first->Output();
        EXPECT_EQ(fs::file_size(list), 0u);
    }
}

TEST_F(SingleInstanceTest, ImportOntoAHeldListWritesNothing) {
    const fs::path root = Root("device");
    const fs::path list = EmptyList(root);
    const fs::path link = m_folder.Path() / "link.vsl";
    fs::create_symlink(list, link);
    const fs::path csv = m_folder.Path() / "list.csv";
    std::ofstream(csv) << "AC,Item Name,Qty,Size,Note,Month,Day,Year\r\n0,Coat,1,M,,0,0,0\r\n";
    auto program = Start(root);
    ASSERT_TRUE(WaitUntil([&] { return Locks() == 2; }, 15s)) << program->Output();
    for (const fs::path& target : {list, link}) {
        std::string output;
        EXPECT_EQ(Import(csv, target, &output), std::optional<int>(2));
        EXPECT_EQ(output, "vsl: " + target.string() +
                              ": VestoryList is already running on this list (process " +
                              std::to_string(program->Pid()) + ") but does not answer.\n");
    }
    EXPECT_EQ(fs::file_size(list), 0u);
    EXPECT_FALSE(fs::exists(list.string() + ".bak"));
    // Once the program has ended, the same import goes through.
    program->Kill(SIGTERM);
    ASSERT_EQ(program->WaitExit(10s), std::optional<int>(0)) << program->Output();
    EXPECT_EQ(Import(csv, list), std::optional<int>(0));
    EXPECT_GT(fs::file_size(list), 0u);
}

// Log-out, kill and Ctrl+C end the program as List > Exit does: status 0, nothing left behind.
TEST_F(SingleInstanceTest, SignalsEndTheProgramAsExitDoes) {
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(nSignal);
        const fs::path root = Root("device-" + std::to_string(nSignal));
        auto program = Start(root);
        ASSERT_TRUE(WaitUntil([&] { return Locks() == 2; }, 15s)) << program->Output();
        program->Kill(nSignal);
        EXPECT_EQ(program->WaitExit(10s), std::optional<int>(0)) << program->Output();
        EXPECT_TRUE(fs::is_empty(m_folder.Path() / "run"));
    }
}

} // namespace
