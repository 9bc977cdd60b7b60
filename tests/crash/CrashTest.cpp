// A process that keeps changing and saving the list is killed (SIGKILL) at random moments,
// hundreds of times in a row on the same list. After every kill the list file must read whole
// and hold the list before or after the save that was under way; it is never missing once it
// was first written; Vestory.vsl.bak holds the list before that; and the files that killed
// saves leave behind do not pile up.
#include "data/Data.h"
#include "platform/core/Archive.h"
#include "platform/core/Exception.h"
#include "tests/crash/Garments.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using List = std::vector<int>;

namespace {
// Each start of the saver costs the program's start-up, so under the sanitizers (several times
// slower) fewer rounds keep the test within the same time.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kKills = 300;
#else
constexpr int kKills = 500;
#endif

struct Saver {
    pid_t pid = -1;
    int out = -1;
};

Saver StartSaver(unsigned seed) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    std::string seedText = std::to_string(seed);
    char* argv[] = {const_cast<char*>(VL_CRASH_SAVER), seedText.data(), nullptr};
    Saver saver;
    if (posix_spawn(&saver.pid, VL_CRASH_SAVER, &actions, nullptr, argv, environ) != 0)
        saver.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    saver.out = fds[0];
    return saver;
}

// No step takes long; one that does has hung.
constexpr auto kStepTimeout = std::chrono::seconds(30);

// Reads from the saver until `until` appears in what it said, or it ends (until == nullptr);
// false only when that took longer than kStepTimeout.
bool ReadFrom(int fd, std::string& said, const char* until) {
    auto deadline = std::chrono::steady_clock::now() + kStepTimeout;
    char buf[4096];
    while (!(until && said.find(until) != std::string::npos)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return true;
        said.append(buf, std::size_t(n));
    }
    return true;
}

List ParseList(const std::string& text) {
    List ids;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        ids.push_back(std::stoi(item));
    return ids;
}

// The list in a file, read through the archive as the program reads it; nothing when it does
// not read whole.
std::optional<List> ReadList(const fs::path& path) {
    CFile file;
    if (!file.Open(CString::FromUtf8(path.string()), CFile::modeRead))
        return std::nullopt;
    List ids;
    try {
        if (file.GetLength() == 0)
            return ids;
        CArchive ar(&file, CArchive::load);
        CData data;
        do {
            data.Serialize(ar);
            ids.push_back(NumberOfGarment(data));
        } while (!ar.IsAtEnd());
    } catch (const CException&) {
        return std::nullopt;
    }
    return ids;
}

// `vsl check FILE`: 0 when the file reads whole.
int VslCheck(const fs::path& path) {
    pid_t pid;
    std::string file = path.string();
    char* argv[] = {const_cast<char*>(VL_VSL), const_cast<char*>("check"), file.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    int rc = posix_spawn(&pid, VL_VSL, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + kStepTimeout;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "timed out after " << kStepTimeout.count()
                          << " s waiting for `vsl check " << file << "` to end";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Files in the list's folder besides the list, its .bak and its history: new files of saves,
// and what is tied to them on its way to the .bak or the history.
struct Strays {
    int newFiles = 0;
    int links = 0;
    std::vector<std::string> unexpected;
};

std::string Listing(const fs::path& folder) {
    std::string text;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat st {};
        ::stat(entry.path().c_str(), &st);
        text += entry.path().filename().string() + " size " + std::to_string(st.st_size) +
                " links " + std::to_string(st.st_nlink) + "\n";
    }
    return text;
}

Strays StraysIn(const fs::path& folder) {
    Strays strays;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name == "Vestory.vsl" || name == "Vestory.vsl.bak" || name == "Vestory.vsl.history")
            continue;
        const bool newFile = name.rfind(".Vestory.vsl.tmp-", 0) == 0;
        if (newFile && name.size() == 27)
            ++strays.links;
        else if (newFile && name.size() == 23)
            ++strays.newFiles;
        else
            strays.unexpected.push_back(name);
    }
    return strays;
}

// With `linked`, the list file is a symbolic link into another folder, as into a synced one,
// and every save goes through it to the file there.
void KillSavesOnce(int kills, bool linked) {
    DeviceRoot root;
    fs::path list = root.ListFile();
    // Every list that has been on disk, in order; the last one is on disk now.
    std::vector<List> history;
    if (linked) {
        const fs::path target = root.Path() / "My Documents/Sync/Vestory.vsl";
        WriteBytes(target, ""); // a link to nothing is not a list to write through
        fs::create_directories(list.parent_path());
        fs::create_symlink("../Sync/Vestory.vsl", list);
        history.push_back({});
        list = target;
    }
    const fs::path bak = list.string() + ".bak";
    std::mt19937 random(20021105);
    int killedMidSave = 0;
    // A save killed after it took the .bak but before it put its list in place leaves the
    // .bak equal to the list itself, until the next save completes.
    bool backupMayBeCurrent = false;

    for (int round = 0; round < kills; ++round) {
        SCOPED_TRACE("kill " + std::to_string(round + 1));
        Saver saver = StartSaver(unsigned(round + 1));
        ASSERT_GT(saver.pid, 0) << "cannot start " << VL_CRASH_SAVER;
        std::string said;
        const bool bSaid = ReadFrom(saver.out, said, "\n");
        // Most kills land a few saves in, some in the first save, a few before any.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 12000));
        ::kill(saver.pid, SIGKILL);
        int status = 0;
        ::waitpid(saver.pid, &status, 0);
        const bool bEnded = ReadFrom(saver.out, said, nullptr);
        ::close(saver.out);
        ASSERT_TRUE(bSaid) << "timed out after " << kStepTimeout.count()
                           << " s waiting for the saver's first line; it said:\n"
                           << said;
        ASSERT_TRUE(bEnded) << "timed out after " << kStepTimeout.count()
                            << " s waiting for the end of what the killed saver said";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saver ended by itself; it said:\n"
            << said;

        // Replay what the saver said: which lists were saved, and which one was under way.
        std::optional<List> before, after;
        std::stringstream lines(said);
        std::string line;
        bool loaded = false;
        while (std::getline(lines, line)) {
            if (line.rfind("L ", 0) == 0 || line == "L") {
                ASSERT_FALSE(loaded);
                loaded = true;
                List read = ParseList(line.substr(std::min<std::size_t>(2, line.size())));
                ASSERT_EQ(read, history.empty() ? List{} : history.back()) << "read at start";
            } else if (line.rfind("S ", 0) == 0 || line == "S") {
                ASSERT_FALSE(after) << "a save began before the last one ended";
                after = ParseList(line.substr(std::min<std::size_t>(2, line.size())));
                before = history.empty() ? std::nullopt : std::optional<List>(history.back());
            } else if (line == "D") {
                ASSERT_TRUE(after);
                history.push_back(*after);
                after.reset();
                backupMayBeCurrent = false;
            } else {
                FAIL() << "the saver said: " << line;
            }
        }
        ASSERT_TRUE(loaded) << "the saver never read the list";
        if (linked) {
            ASSERT_TRUE(fs::is_symlink(root.ListFile())) << "the link was replaced";
        }

        // The list file: whole, and the list before or after the save under way.
        std::optional<List> onDisk = ReadList(list);
        if (after) {
            ++killedMidSave;
            if (!before && !fs::exists(list)) {
                // Killed in the very first save: no list existed before, none exists now.
            } else {
                ASSERT_TRUE(onDisk) << "the list file does not read whole";
                ASSERT_TRUE(*onDisk == *after || (before && *onDisk == *before))
                    << "the list file holds " << ListText(*onDisk) << "; before "
                    << (before ? ListText(*before) : "no file") << ", after " << ListText(*after);
                if (!before || *onDisk != *before) {
                    history.push_back(*onDisk);
                    backupMayBeCurrent = false;
                } else {
                    backupMayBeCurrent = true;
                }
            }
        } else if (!history.empty()) {
            ASSERT_TRUE(onDisk) << "the list file is missing or does not read whole";
            ASSERT_EQ(*onDisk, history.back());
        }
        if (!history.empty()) {
            ASSERT_EQ(VslCheck(list), 0) << "vsl check on the list file";
        }

        // The .bak: the list before the one on disk.
        if (history.size() >= 2) {
            std::optional<List> backup = ReadList(bak);
            ASSERT_TRUE(backup) << "Vestory.vsl.bak is missing or does not read whole";
            bool expected = *backup == history[history.size() - 2] ||
                            (backupMayBeCurrent && *backup == history.back());
            ASSERT_TRUE(expected) << "Vestory.vsl.bak holds " << ListText(*backup);
            ASSERT_EQ(VslCheck(bak), 0) << "vsl check on Vestory.vsl.bak";
        }

        // Only what the killed save itself left: its new file, and the link that was about
        // to become the .bak. Older ones were cleaned up by the saves since.
        if (fs::exists(list.parent_path())) {
            Strays strays = StraysIn(list.parent_path());
            ASSERT_TRUE(strays.unexpected.empty()) << "unexpected file " << strays.unexpected[0];
            ASSERT_LE(strays.newFiles, 1) << Listing(list.parent_path());
            ASSERT_LE(strays.links, 1);
        }
    }
    // A test whose kills never hit a save would prove nothing.
    EXPECT_GE(killedMidSave, kills / 2);
    ::testing::Test::RecordProperty("kills", kills);
    ::testing::Test::RecordProperty("killed_mid_save", killedMidSave);
    std::printf("%d kills, %d of them in the middle of a save; %zu lists saved\n", kills,
                killedMidSave, history.size());
}
} // namespace

TEST(CrashTest, KilledSavesNeverLoseTheList) {
    KillSavesOnce(kKills, false);
}

TEST(CrashTest, KilledSavesThroughALinkNeverLoseTheList) {
    KillSavesOnce(kKills / 4, true);
}
