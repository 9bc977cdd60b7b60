// vsl as a user runs it: the real program, its output, its exit status and the files it leaves.
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"
#include "tests/support/MergeCases.h"
#include "tests/support/OtherUser.h"

#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class VslTest : public ::testing::Test {
protected:
    // pAs: run as another user.
    Outcome Vsl(const std::string& args, const OtherUser* pAs = nullptr, int nSeconds = 60) {
        const fs::path out = m_root.Path() / "stdout";
        const fs::path err = m_root.Path() / "stderr";
        // Bounded: a vsl that blocked (on a FIFO, say) fails the test instead of hanging it.
        std::string command = (pAs ? pAs->Prefix() : "") + "timeout " + std::to_string(nSeconds) +
                              " " + (pAs ? pAs->Reachable(VSL_PROGRAM) : VSL_PROGRAM) + " " + args +
                              " >'" + out.string() + "' 2>'" + err.string() + "'";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileBytes(out), FileBytes(err)};
    }
    // The peak resident memory of one run of vsl, its output thrown away.
    static long PeakKilobytes(const std::vector<std::string>& args) {
        std::vector<char*> argv{const_cast<char*>(VSL_PROGRAM)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::execv(VSL_PROGRAM, argv.data());
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            return -1;
        return usage.ru_maxrss;
    }
    std::string P(const char* name) const { return "'" + (m_root.Path() / name).string() + "'"; }
    fs::path F(const char* name) const { return m_root.Path() / name; }
    std::size_t FolderEntries() const {
        return std::size_t(std::distance(fs::directory_iterator(m_root.Path()), {}));
    }

    DeviceRoot m_root;
};

const char* const kHeader = "AC,Item Name,Qty,Size,Note,Month,Day,Year\r\n";
} // namespace

TEST_F(VslTest, DumpWritesCsvAndImportGivesTheFileBack) {
    WriteListFile(F("list.vsl"), {Garment{1, u"Shirt, white", u"2", u"L",
                                          u"collar \"starch\"\r\nno fold", 3, 5, 2002},
                                  Garment{0, u"Blouse \u00E9\U0001F455", u"", u"", u"", 0, 0, 0},
                                  Garment{7, u" spaced ", u"x", u"40", u"\n", 13, -1, 99999}});
    Outcome dump = Vsl("dump " + P("list.vsl"));
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out,
              std::string(kHeader) +
                  "1,\"Shirt, white\",2,L,\"collar \"\"starch\"\"\r\nno fold\",3,5,2002\r\n"
                  "0,Blouse \xC3\xA9\xF0\x9F\x91\x95,,,,0,0,0\r\n"
                  "7, spaced ,x,40,\"\n\",13,-1,99999\r\n");
    EXPECT_TRUE(dump.err.empty());

    WriteBytes(F("list.csv"), dump.out);
    Outcome import = Vsl("import " + P("list.csv") + " " + P("copy.vsl"));
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_EQ(FileBytes(F("copy.vsl")), FileBytes(F("list.vsl")));
    EXPECT_EQ(Vsl("dump " + P("copy.vsl")).out, dump.out);
}

TEST_F(VslTest, CheckCountsOrFindsTheDamage) {
    std::vector<Garment> items;
    for (int i = 0; i < 300; ++i)
        items.push_back(Garment{i % 2, u"Coat", u"1", u"M", u"", 1, 2, 2003});
    WriteListFile(F("list.vsl"), items);
    Outcome ok = Vsl("check " + P("list.vsl"));
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "300 items\n");

    WriteBytes(F("empty.vsl"), "");
    EXPECT_EQ(Vsl("check " + P("empty.vsl")).out, "0 items\n");
    EXPECT_EQ(Vsl("dump " + P("empty.vsl")).out, kHeader);

    // Each record is 44 bytes; cut into the 101st.
    std::string bytes = FileBytes(F("list.vsl"));
    ASSERT_EQ(bytes.size(), 300u * 44u);
    WriteBytes(F("cut.vsl"), bytes.substr(0, 100 * 44 + 10));
    Outcome cut = Vsl("check " + P("cut.vsl"));
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "damaged at byte 4400 after 100 items\n");
    Outcome dumpCut = Vsl("dump " + P("cut.vsl"));
    EXPECT_EQ(dumpCut.status, 2);
    EXPECT_TRUE(dumpCut.out.empty());
}

TEST_F(VslTest, BadInputIsOneMessageNamingFileAndLineAndWritesNothing) {
    const std::string row = "1,Shirt,2,L,,3,5,2002\r\n";
    struct Case {
        const char* name;
        std::string csv;
        std::string where; // expected start of the message after "vsl: "
    } cases[] = {
        {"wrong header", "AC,Name,Qty,Size,Note,Month,Day,Year\r\n" + row, "in.csv:1:"},
        {"empty file", "", "in.csv:1:"},
        {"letters in a number", kHeader + row + "0,Tie,1,,,x,0,0\r\n", "in.csv:3:"},
        {"number too large", kHeader + row + "0,Tie,1,,,0,0,2147483648\r\n", "in.csv:3:"},
        {"empty number", kHeader + std::string("0,Tie,1,,,,0,0\r\n"), "in.csv:2:"},
        {"too few fields", kHeader + std::string("0,Tie,1\r\n"), "in.csv:2:"},
        {"stray quote", kHeader + std::string("0,T\"ie,1,,,0,0,0\r\n"), "in.csv:2:"},
        {"text after a quote", kHeader + std::string("0,\"Tie\"x,1,,,0,0,0\r\n"), "in.csv:2:"},
        {"unclosed quote", kHeader + row + row + "0,\"Tie\r\n,1,,,0,0,0\r\n", "in.csv:4:"},
        {"line after a multi-line note",
         kHeader + std::string("0,a,1,,\"x\r\ny\",0,0,0\r\n1,b\r\n"), "in.csv:4:"},
        {"not UTF-8", kHeader + std::string("0,\xFF,1,,,0,0,0\r\n"), "in.csv:2:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(F("in.csv"), c.csv);
        Outcome r = Vsl("import " + P("in.csv") + " " + P("out.vsl"));
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("vsl: ", 0), 0u);
        EXPECT_NE(r.err.find(c.where), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists(F("out.vsl")));
        EXPECT_EQ(FolderEntries(), 3u); // in.csv, stdout, stderr, and nothing else
    }

    for (const char* args : {"dump", "check", "import"}) {
        Outcome r = Vsl(std::string(args) + " " + P("missing.vsl") +
                        (std::string(args) == "import" ? " " + P("out.vsl") : ""));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("missing.vsl"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(Vsl("").status, 2);
    EXPECT_EQ(Vsl("frobnicate x").status, 2);
    Outcome help = Vsl("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("vsl import CSV FILE"), std::string::npos);
}

// What is not a regular file is refused at once, naming it: never read, never waited on.
TEST_F(VslTest, SpecialFilesAreRefusedAndNeverWaitedOn) {
    ASSERT_EQ(::mkfifo(F("fifo.vsl").c_str(), 0644), 0);
    fs::create_directory(F("folder.vsl"));
    fs::create_symlink(F("unmounted") / "list.vsl", F("link.vsl"));
    fs::create_symlink("/dev/null", F("null.vsl"));
    fs::create_symlink("fifo.vsl", F("to-fifo.vsl"));
    WriteBytes(F("in.csv"), kHeader);
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {F("fifo.vsl").string(), "not a regular file"},
        {"/dev/urandom", "not a regular file"},
        {"/dev/null", "not a regular file"},
        {F("folder.vsl").string(), "not a regular file"},
        {F("link.vsl").string(), "dangling symbolic link"},
        {F("null.vsl").string(), "not a regular file"},
        {F("to-fifo.vsl").string(), "not a regular file"},
    };
    for (const auto& c : cases) {
        for (std::string command : {"check", "dump", "import"}) {
            SCOPED_TRACE(c.path + " " + command);
            // Devices themselves are never offered to a test that writes, even a failing one.
            if (command == "import" && c.path.rfind("/dev/", 0) == 0)
                continue;
            const fs::file_type type = fs::symlink_status(c.path).type();
            const bool import = command == "import";
            // A read that waited would be cut off here and fail the test, not hang it.
            const Outcome r =
                Vsl(command + (import ? " " + P("in.csv") : "") + " '" + c.path + "'", nullptr, 10);
            EXPECT_EQ(r.status, 2);
            EXPECT_TRUE(r.out.empty());
            EXPECT_EQ(r.err, "vsl: " + c.path + (import ? ": cannot write: " : ": cannot read: ") +
                                 c.reason + "\n");
            EXPECT_EQ(fs::symlink_status(c.path).type(), type);
        }
    }
    EXPECT_EQ(FolderEntries(), 8u); // the files above, in.csv, stdout and stderr: no .bak
}

// A text that UTF-8 cannot carry is written as U+FFFD, as before, but said: which record and
// field, and exit status 1, so that a script knows the CSV is not a faithful copy.
TEST_F(VslTest, DumpNamesTextsThatUtf8CannotCarry) {
    WriteListFile(F("list.vsl"), {Garment{0, u"Shirt", u"1", u"", u"", 0, 0, 0},
                                  Garment{0, u"Coat", u"1", u"\xDC00", u"a\xD800", 0, 0, 0},
                                  Garment{0, u"Tie \U0001F454", u"1", u"", u"", 0, 0, 0}});
    const Outcome r = Vsl("dump " + P("list.vsl"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(kHeader) + "0,Shirt,1,,,0,0,0\r\n"
                                            "0,Coat,1,\xEF\xBF\xBD,a\xEF\xBF\xBD,0,0,0\r\n"
                                            "0,Tie \xF0\x9F\x91\x94,1,,,0,0,0\r\n");
    const std::string where = "vsl: " + F("list.vsl").string() + ": record 2, ";
    EXPECT_EQ(r.err, where + "Size: text that UTF-8 cannot carry, written with U+FFFD\n" + where +
                         "Note: text that UTF-8 cannot carry, written with U+FFFD\n");
}

// check and dump hold one record at a time: their peak memory does not grow with the list.
TEST_F(VslTest, CheckAndDumpMemoryDoesNotGrowWithTheList) {
    std::vector<Garment> items(400000, Garment{1, u"Coat", u"1", u"M", u"", 1, 2, 2003});
    WriteListFile(F("large.vsl"), items);
    items.resize(1000);
    WriteListFile(F("small.vsl"), items);
    for (const char* command : {"check", "dump"}) {
        SCOPED_TRACE(command);
        const long small = PeakKilobytes({command, F("small.vsl").string()});
        const long large = PeakKilobytes({command, F("large.vsl").string()});
        ASSERT_GT(small, 0);
        // Holding the records would take some 60 MB more.
        EXPECT_LT(large - small, 8 * 1024) << small << " kB against " << large << " kB";
    }
}

TEST_F(VslTest, ImportTakesNamesAsBytesAndTellsWhatIsWrongWithTheCsv) {
    const std::string row = "1,Shirt,2,L,,3,5,2002\r\n";
    fs::create_directory(F("caf\xE9"));
    fs::create_directory(F("dir.csv"));
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string(kHeader) + row)
        utf16 += std::string{c, '\0'};
    struct Case {
        const char* name;
        const char* csvName;
        std::string csv; // not written for dir.csv
        const char* listName;
        int status;
        const char* message; // expected in the error output
    } cases[] = {
        {"name not UTF-8", "in-\xE9.csv", kHeader + row, "caf\xE9/list-\xFF.vsl", 0, ""},
        {"empty lines at the end", "end.csv", kHeader + row + "\r\n\r\n", "end.vsl", 0, ""},
        {"UTF-16", "u16.csv", utf16, "u16.vsl", 2, "UTF-16"},
        {"UTF-16 without mark", "u16b.csv", utf16.substr(2), "u16b.vsl", 2, "UTF-16"},
        {"a folder", "dir.csv", "", "dir.vsl", 2, "dir.csv: cannot read: Is a directory"},
        {"empty line inside", "mid.csv", kHeader + row + "\r\n" + row, "mid.vsl", 2, "mid.csv:3"},
        {"columns in another order", "moved.csv",
         "Item Name,Year,Qty,AC,Day,Note,Month,Size\r\nShirt,2002,2,1,5,,3,L\r\n", "moved.vsl", 0,
         ""},
        {"a column missing", "lacks.csv", "AC,Item Name,Qty,Size,Note,Month,Day\r\n", "lacks.vsl",
         2, "lacks.csv:1: the header line does not name the column Year"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.csvName) != "dir.csv")
            WriteBytes(F(c.csvName), c.csv);
        Outcome r = Vsl("import " + P(c.csvName) + " " + P(c.listName));
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(fs::exists(F(c.listName)), c.status == 0);
        if (c.status == 0) {
            EXPECT_EQ(Vsl("dump " + P(c.listName)).out, kHeader + row);
        }
    }
    // Nothing made beside the folder whose name is not UTF-8.
    EXPECT_EQ(std::distance(fs::directory_iterator(F("caf\xE9")), {}), 1);
}

TEST_F(VslTest, MergeWritesTheRuleIntoOurs) {
    for (const MergeCase& c : MergeCases()) {
        SCOPED_TRACE(c.name);
        WriteListFile(F("base.vsl"), ShortGarments(c.base));
        WriteListFile(F("ours.vsl"), ShortGarments(c.ours));
        WriteListFile(F("theirs.vsl"), ShortGarments(c.theirs));
        WriteListFile(F("merged.vsl"), ShortGarments(c.merged));
        Outcome r = Vsl("merge " + P("base.vsl") + " " + P("ours.vsl") + " " + P("theirs.vsl"));
        EXPECT_EQ(r.status, c.bChangedOnBoth ? 1 : 0) << r.err;
        EXPECT_EQ(FileBytes(F("ours.vsl")), FileBytes(F("merged.vsl")));
    }
    // Git's temporary OURS leaves nothing behind in the work tree.
    EXPECT_FALSE(fs::exists(F("ours.vsl.bak")));
    EXPECT_FALSE(fs::exists(F("ours.vsl.history")));
}

TEST_F(VslTest, MergeWritesNothingUnlessAllThreeReadWhole) {
    WriteListFile(F("base.vsl"), ShortGarments({"A"}));
    WriteListFile(F("ours.vsl"), ShortGarments({"A", "B"}));
    WriteListFile(F("theirs.vsl"), ShortGarments({"A", "C"}));
    const std::string ours = FileBytes(F("ours.vsl"));
    WriteBytes(F("cut.vsl"), FileBytes(F("theirs.vsl")).substr(0, 50));
    const struct {
        const char *base, *theirs, *message;
    } cases[] = {
        {"base.vsl", "cut.vsl", "cut.vsl: damaged at byte 38 after 1 items"},
        {"missing.vsl", "theirs.vsl", "missing.vsl: cannot read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Outcome r = Vsl("merge " + P(c.base) + " " + P("ours.vsl") + " " + P(c.theirs));
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(FileBytes(F("ours.vsl")), ours);
    }
}

// Run as root (as CI does): root saves a user's list, and a user saves root's list where the
// kernel refuses the user a hard link to it (fs.protected_hardlinks).
TEST_F(VslTest, ImportKeepsOwnerModeAndAlwaysABackup) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to own files as another user";
    const OtherUser nobody;
    ::chmod(m_root.Path().c_str(), 0777);
    WriteBytes(F("in.csv"), kHeader + std::string("1,Shirt,2,L,,3,5,2002\r\n"));
    WriteBytes(F("old.csv"), kHeader);
    struct Case {
        const char* name;
        uid_t owner;
        mode_t mode;
        bool asNobody;
    } cases[] = {{"users.vsl", 65534, 0600, false},
                 {"roots.vsl", 0, 0644, true},
                 {"shared.vsl", 65534, 0664, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Vsl("import " + P("old.csv") + " " + P(c.name)).status, 0);
        ASSERT_EQ(::chown(F(c.name).c_str(), c.owner, c.owner), 0);
        ASSERT_EQ(::chmod(F(c.name).c_str(), c.mode), 0);
        Outcome r = Vsl("import " + P("in.csv") + " " + P(c.name), c.asNobody ? &nobody : nullptr);
        ASSERT_EQ(r.status, 0) << r.err;
        struct stat st {};
        ASSERT_EQ(::stat(F(c.name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        EXPECT_EQ(st.st_uid, c.asNobody ? 65534 : c.owner); // only root gives files away
        EXPECT_EQ(FileBytes(F(c.name).string() + ".bak"), "") << "no backup";
        ASSERT_EQ(::stat((F(c.name).string() + ".bak").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        // The owner can still read what root wrote.
        if (c.owner == 65534) {
            EXPECT_EQ(Vsl("check " + P(c.name), &nobody).out, "1 items\n");
        }
    }
}

// Saves that run at the same moment never take each other's new file. Beside them a clean-up
// runs all the time, removing every new file it can lock, as a save's clean-up does.
TEST_F(VslTest, ConcurrentImportsAllSucceed) {
    WriteBytes(F("in.csv"), kHeader + std::string("1,Shirt,2,L,,3,5,2002\r\n"));
    std::atomic<bool> done{false};
    std::thread cleaner([&] {
        while (!done) {
            for (const auto& e : fs::directory_iterator(m_root.Path())) {
                const std::string name = e.path().filename().string();
                if (name.rfind(".list.vsl.tmp-", 0) != 0 || name.size() != 20)
                    continue;
                int fd = ::open(e.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
                    ::unlink(e.path().c_str());
                if (fd >= 0)
                    ::close(fd);
            }
        }
    });
    const std::string one = "timeout 60 " + std::string(VSL_PROGRAM) + " import " + P("in.csv") +
                            " " + P("list.vsl") + " || echo failed";
    const std::string command = "(for p in 1 2 3 4; do (for i in $(seq 50); do " + one +
                                "; done) & done; wait) >" + P("said") + " 2>&1";
    const int status = std::system(command.c_str());
    done = true;
    cleaner.join();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(FileBytes(F("said")), "");
    EXPECT_EQ(Vsl("check " + P("list.vsl")).out, "1 items\n");
    for (const auto& e : fs::directory_iterator(m_root.Path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}
