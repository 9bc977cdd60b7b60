// Two starts of the program on one device never both run: the second hands over to the first.
// Real processes, offscreen, each test with its own device root and runtime folder.
#include "tests/e2e/ChildProcess.h"
#include "tests/support/OtherUser.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

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
    std::vector<fs::path> Sockets() { return Sockets(m_folder.Path() / "run"); }
    static std::vector<fs::path> Sockets(const fs::path& folder) {
        std::vector<fs::path> sockets;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder, ec))
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

    // Whether the process holds an flock on the file or folder, in the kernel's table.
    static bool HoldsLock(pid_t pid, const fs::path& path) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return false;
        char file[64];
        std::snprintf(file, sizeof file, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                      static_cast<unsigned long long>(st.st_ino));
        std::ifstream in("/proc/locks");
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
            if (w.size() >= 6 && w[1] == "FLOCK" && w[4] == std::to_string(pid) && w[5] == file)
                return true;
        }
        return false;
    }

    // A folder of the test's for uid 65534: a device with an empty list, and a home.
    struct UserPlace {
        fs::path base, list, home;
    };
    UserPlace PlaceForUser(const std::string& name) {
        fs::permissions(m_folder.Path(), fs::perms(0755));
        UserPlace place{Root(name), {}, {}};
        fs::permissions(place.base, fs::perms(0755));
        place.list = EmptyList(place.base / "device");
        place.home = place.base / "home";
        fs::create_directories(place.home);
        for (const fs::path& p : {place.base / "device", place.home}) {
            EXPECT_EQ(::chown(p.c_str(), 65534, 65534), 0);
            for (const auto& e : fs::recursive_directory_iterator(p))
                EXPECT_EQ(::chown(e.path().c_str(), 65534, 65534), 0);
        }
        return place;
    }

    ChildProcess::Environment UserEnvironment(const UserPlace& place,
                                              std::optional<std::string> runtime) {
        return {{"QT_QPA_PLATFORM", "offscreen"},
                {"VESTORYLIST_ROOT", (place.base / "device").string()},
                {"XDG_CONFIG_HOME", (place.base / "device" / "config").string()},
                {"XDG_CACHE_HOME", std::nullopt},
                {"XDG_RUNTIME_DIR", runtime},
                {"HOME", place.home.string()}};
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

// Whatever another user makes of the runtime folder, whatever is removed from it, and where the
// user has no private folder at all, vsl import beside the running program writes nothing.
TEST_F(SingleInstanceTest, NoOneCanLetASecondWriterIn) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run the programs as other users";
    const OtherUser user;
    struct Case {
        const char* what;
        uid_t runtimeOwner; // of XDG_RUNTIME_DIR; 0: not set
        mode_t runtimeMode;
        bool bNoHome;     // and no home folder: nowhere private at all
        bool bEmptied;    // the runtime folder is emptied while the program runs
        bool bMarksThere; // the program keeps its marks in the runtime folder
        bool bLinked;     // vsl imports through a link in another folder
    } const cases[] = {
        {"no runtime folder", 0, 0, false, false, false, false},
        {"a runtime folder open to all, emptied", 65533, 0777, false, true, false, false},
        {"the user's own runtime folder, emptied", 65534, 0700, false, true, true, false},
        {"nowhere private", 0, 0, true, false, false, false},
        {"nowhere private, through a link", 0, 0, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const UserPlace place = PlaceForUser("case-" + std::to_string(&c - cases));
        const fs::path runtime = place.base / "run";
        if (c.runtimeOwner) {
            fs::create_directories(runtime);
            ASSERT_EQ(::chown(runtime.c_str(), c.runtimeOwner, c.runtimeOwner), 0);
            ASSERT_EQ(::chmod(runtime.c_str(), c.runtimeMode), 0);
        }
        ChildProcess::Environment env =
            UserEnvironment(place, c.runtimeOwner ? std::optional(runtime.string()) : std::nullopt);
        if (c.bNoHome)
            env["HOME"] = "/nonexistent";
        ChildProcess program(user.Command({VESTORYLIST_PROGRAM}), env,
                             (place.base / "program.txt").string());
        ASSERT_TRUE(WaitFor(
            "the program to hold the list's folder",
            [&] { return HoldsLock(program.Pid(), place.list.parent_path()); }, 15s))
            << program.Output();
        if (c.runtimeOwner) {
            EXPECT_EQ(!fs::is_empty(runtime), c.bMarksThere);
            for (const auto& e : fs::directory_iterator(runtime))
                if (c.bEmptied)
                    fs::remove(e.path());
        }
        const fs::path csv = place.base / "list.csv";
        std::ofstream(csv) << "AC,Item Name,Qty,Size,Note,Month,Day,Year\r\n0,Coat,1,M,,0,0,0\r\n";
        fs::path target = place.list;
        if (c.bLinked) {
            target = place.base / "home" / "link.vsl";
            fs::create_symlink(place.list, target);
        }
        ChildProcess vsl(user.Command({VSL_PROGRAM, "import", csv.string(), target.string()}), env,
                         (place.base / "vsl.txt").string());
        EXPECT_EQ(vsl.WaitExit(15s), std::optional<int>(2)) << vsl.Output();
        EXPECT_NE(vsl.Output().find("VestoryList is already running on this list (process " +
                                    std::to_string(program.Pid()) + ")"),
                  std::string::npos)
            << vsl.Output();
        EXPECT_EQ(fs::file_size(place.list), 0u);
        program.Kill(SIGTERM);
        EXPECT_EQ(program.WaitExit(10s), std::optional<int>(0)) << program.Output();
    }
}

// A start asks the program holding the device to show itself only through a socket of the same
// user: another's answer (here root's, in the place of one that was killed) is no answer.
TEST_F(SingleInstanceTest, AnotherUsersSocketIsNoAnswer) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run the program as another user";
    const OtherUser user;
    const UserPlace place = PlaceForUser("device");
    const fs::path runtime = place.base / "run";
    fs::create_directories(runtime);
    ASSERT_EQ(::chown(runtime.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(runtime.c_str(), 0700), 0);
    const ChildProcess::Environment env = UserEnvironment(place, runtime.string());
    {
        ChildProcess killed(user.Command({VESTORYLIST_PROGRAM}), env,
                            (place.base / "killed.txt").string());
        ASSERT_TRUE(WaitFor(
            "the first program's socket", [&] { return Sockets(runtime).size() == 1; }, 15s));
        killed.Kill(SIGKILL);
        ASSERT_EQ(killed.WaitExit(10s), std::optional<int>(128 + SIGKILL));
    }
    // The impostor holds the claim the killed program left, and answers on its socket.
    const fs::path socketPath = Sockets(runtime).at(0);
    fs::path lockPath = socketPath;
    lockPath.replace_extension(".lock");
    const int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);
    fs::remove(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath.c_str());
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::chmod(socketPath.c_str(), 0777), 0);
    ASSERT_EQ(::listen(server, 4), 0);
    std::thread impostor([server] {
        for (int client; (client = ::accept(server, nullptr, nullptr)) >= 0; ::close(client)) {
            char request[256];
            if (::read(client, request, sizeof request) > 0 && ::write(client, "shown\n", 6) < 0)
                break;
        }
    });

    ChildProcess start(user.Command({VESTORYLIST_PROGRAM}), env,
                       (place.base / "start.txt").string());
    EXPECT_TRUE(
        WaitUntil([&] { return start.Output().find("does not answer") != std::string::npos; }, 20s))
        << start.Output();
    start.Kill(SIGTERM);
    EXPECT_EQ(start.WaitExit(10s), std::optional<int>(1)) << start.Output();
    ::shutdown(server, SHUT_RDWR);
    impostor.join();
    ::close(server);
    ::close(lockFd);
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
