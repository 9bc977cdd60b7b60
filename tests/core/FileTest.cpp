#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/KeptVersions.h"
#include "platform/core/ReplaceFile.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"
#include "tests/support/PinnedClock.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

namespace fs = std::filesystem;

namespace {
std::size_t CountEntries(const fs::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(folder))
        ++n;
    return n;
}

void WriteVia(CFile& f, const std::string& s) {
    f.Write(s.data(), UINT(s.size()));
}
} // namespace

TEST(DevicePathTest, MapsTheHandheldsFolders) {
    DeviceRoot root;
    const std::string r = root.Path().string();
    EXPECT_EQ(AfxHostPathFromDevicePath(u"\\My Documents\\Personal\\Vestory.vsl"),
              r + "/My Documents/Personal/Vestory.vsl");
    EXPECT_EQ(AfxHostPathFromDevicePath(u"relative/x.vsl"), "relative/x.vsl");
    EXPECT_EQ(AfxHostPathFromDevicePath(u"/tmp/\u00E9.vsl"), "/tmp/\xC3\xA9.vsl");

    // Without a device root, "\My Documents" is the user's documents folder.
    ::unsetenv("VESTORYLIST_ROOT");
    std::string home = (root.Path() / "home").string();
    fs::create_directories(root.Path() / "home/.config");
    const char* oldHome = std::getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DOCUMENTS_DIR");
    struct Case {
        const char* userDirs; // null: no user-dirs.dirs
        const char* docsEnv;
        std::string expected;
    } cases[] = {
        {nullptr, nullptr, home + "/Documents/Personal/Vestory.vsl"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", nullptr,
         home + "/Dokumente/Personal/Vestory.vsl"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", nullptr, home + "/Documents/Personal/Vestory.vsl"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "/srv/docs", "/srv/docs/Personal/Vestory.vsl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        fs::remove(root.Path() / "home/.config/user-dirs.dirs");
        if (c.userDirs)
            WriteBytes(root.Path() / "home/.config/user-dirs.dirs", c.userDirs);
        if (c.docsEnv)
            ::setenv("XDG_DOCUMENTS_DIR", c.docsEnv, 1);
        else
            ::unsetenv("XDG_DOCUMENTS_DIR");
        EXPECT_EQ(AfxHostPathFromDevicePath(u"\\My Documents\\Personal\\Vestory.vsl"), c.expected);
    }
    ::unsetenv("XDG_DOCUMENTS_DIR");
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST(FileTest, OpenModes) {
    DeviceRoot root;
    CFile f;
    EXPECT_FALSE(f.Open(u"\\My Documents\\missing.vsl", CFile::modeRead));
    EXPECT_FALSE(f.IsOpen());

    WriteBytes(root.Path() / "My Documents/x.vsl", "old contents");
    ASSERT_TRUE(f.Open(u"\\My Documents\\x.vsl", CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(f.GetLength(), 0u); // cut before the first write
    WriteVia(f, "new");
    f.Close();
    EXPECT_EQ(FileBytes(root.Path() / "My Documents/x.vsl"), "new");

    ASSERT_TRUE(f.Open(u"\\My Documents\\x.vsl", CFile::modeRead));
    char buf[16];
    EXPECT_EQ(f.Read(buf, sizeof buf), 3u);
    EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
}

TEST(ReplaceFileTest, CommitPutsTheNewVersionInPlaceAndKeepsTheOld) {
    DeviceRoot root;
    const fs::path target = root.ListFile();
    const CKeptVersions versions(target.string());
    {
        CReplaceFile f; // the folders do not exist yet
        ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
        WriteVia(f, "first");
        EXPECT_FALSE(fs::exists(target)); // nothing visible before the commit
        f.Commit(&versions);
    }
    EXPECT_EQ(FileBytes(target), "first");
    {
        CReplaceFile f;
        ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
        WriteVia(f, "second");
        EXPECT_EQ(FileBytes(target), "first");
        f.Commit(&versions);
    }
    EXPECT_EQ(FileBytes(target), "second");
    EXPECT_EQ(FileBytes(target.string() + ".bak"), "first");
    EXPECT_EQ(CountEntries(target.parent_path()), 3u); // and the history folder

    // A file that keeps no versions (the settings) is only replaced.
    const fs::path plain = target.parent_path() / "plain.ini";
    WriteBytes(plain, "old");
    CReplaceFile f;
    ASSERT_TRUE(f.Open(CString::FromUtf8(plain.string())));
    WriteVia(f, "new");
    f.Commit();
    EXPECT_EQ(FileBytes(plain), "new");
    EXPECT_EQ(CountEntries(target.parent_path()), 4u);
}

TEST(ReplaceFileTest, AbandonedOrFailedVersionsLeaveNothingBehind) {
    DeviceRoot root;
    const fs::path target = root.ListFile();
    WriteBytes(target, "kept");
    {
        CReplaceFile f;
        ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
        WriteVia(f, "dropped");
    } // destroyed without a commit
    EXPECT_EQ(FileBytes(target), "kept");
    EXPECT_EQ(CountEntries(target.parent_path()), 1u);

    // A folder put in the file's place while the new version is written makes the commit fail.
    CReplaceFile f;
    ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Dir.vsl"));
    fs::create_directories(root.Path() / "My Documents/Personal/Dir.vsl/inner");
    WriteVia(f, "x");
    EXPECT_THROW(f.Commit(), CFileException);
    EXPECT_EQ(CountEntries(target.parent_path()), 2u); // Vestory.vsl and Dir.vsl only
}

TEST(ReplaceFileTest, ReadOnlyFolderRefusesToOpen) {
    DeviceRoot root;
    fs::create_directories(root.ListFile().parent_path());
    ::chmod(root.Path().c_str(), 0755);
    ::chmod(root.ListFile().parent_path().c_str(), 0555);
    Unprivileged user;
    CReplaceFile f;
    EXPECT_FALSE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
}

namespace {
// A save of a list, which keeps its versions.
void Save(const char16_t* path, const std::string& bytes) {
    CReplaceFile f;
    ASSERT_TRUE(f.Open(path));
    WriteVia(f, bytes);
    const CKeptVersions versions(AfxHostPathFromDevicePath(path));
    f.Commit(&versions);
}
} // namespace

TEST(ReplaceFileTest, SavesThroughLinksToTheirTargetAndKeepsTheLinks) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link, what it points to
        std::string target;
    } cases[] = {
        {"absolute", {{"Personal/Vestory.vsl", "@/Sync/list.vsl"}}, "Sync/list.vsl"},
        {"relative", {{"Personal/Vestory.vsl", "../Sync/list.vsl"}}, "Sync/list.vsl"},
        {"chain",
         {{"Personal/Vestory.vsl", "../Hop/one.vsl"}, {"Hop/one.vsl", "@/Sync/deep/list.vsl"}},
         "Sync/deep/list.vsl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceRoot root;
        const fs::path docs = root.Path() / "My Documents";
        const fs::path target = docs / c.target;
        WriteBytes(target, "old");
        ::chmod(target.c_str(), 0640);
        for (const auto& [link, to] : c.links) {
            fs::create_directories((docs / link).parent_path());
            fs::create_symlink(to[0] == '@' ? (docs.string() + to.substr(1)) : to, docs / link);
        }
        Save(u"\\My Documents\\Personal\\Vestory.vsl", "new");
        for (const auto& [link, to] : c.links)
            EXPECT_TRUE(fs::is_symlink(docs / link)) << link;
        EXPECT_EQ(FileBytes(target), "new");
        EXPECT_EQ(FileBytes(target.string() + ".bak"), "old");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
        EXPECT_FALSE(fs::exists(docs / "Personal/Vestory.vsl.bak"));
        EXPECT_TRUE(fs::is_directory(target.string() + ".history"));
    }
}

TEST(ReplaceFileTest, FirstSaveOfEachDayKeepsTheListBeforeIt) {
    DeviceRoot root;
    const fs::path list = root.ListFile();
    const fs::path history = list.string() + ".history";
    // Not ours: never removed, whatever they are called.
    WriteBytes(history / "notes.txt", "mine");
    WriteBytes(history / "2026-11-01.vsl.keep", "mine");
    int version = 0;
    {
        PinnedClock clock(2026, 12, 1);
        for (int d = 1; d <= 10; ++d) {
            clock.Set(2026, 12, d);
            for (int i = 0; i < 2; ++i) // the second save of the day keeps nothing
                Save(u"\\My Documents\\Personal\\Vestory.vsl",
                     std::string("v").append(std::to_string(++version)));
        }
    }
    // Day d's copy holds the list before its first save, the last one of day d - 1.
    for (int d = 1; d <= 10; ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "2026-12-%02d.vsl", d);
        if (d < 4)
            EXPECT_FALSE(fs::exists(history / name)) << name;
        else
            EXPECT_EQ(FileBytes(history / name), "v" + std::to_string(2 * d - 2)) << name;
    }
    EXPECT_EQ(CountEntries(history), 9u);

    // Copies dated after today (the clock was once ahead) never push today's out, and stay.
    for (int d = 1; d <= 7; ++d)
        WriteBytes(history / ("2027-01-0" + std::to_string(d) + ".vsl"), "ahead");
    {
        PinnedClock clock(2026, 12, 11);
        Save(u"\\My Documents\\Personal\\Vestory.vsl", "v21");
    }
    EXPECT_EQ(FileBytes(history / "2026-12-11.vsl"), "v20");
    EXPECT_FALSE(fs::exists(history / "2026-12-04.vsl"));
    EXPECT_EQ(CountEntries(history), 16u);

    // A history that cannot be written never stops a save, and a link in the folder's place
    // leads to a folder that is none of the save's business: nothing is added or removed there.
    const fs::path elsewhere = root.Path() / "elsewhere";
    for (int d = 1; d <= 10; ++d)
        WriteBytes(elsewhere / ("2026-11-" + std::to_string(10 + d) + ".vsl"), "mine");
    fs::remove_all(history);
    for (const bool bLink : {false, true}) {
        fs::remove(history);
        if (bLink)
            fs::create_directory_symlink(elsewhere, history);
        else
            WriteBytes(history, "a file in the folder's place");
        PinnedClock clock(2026, 12, 12 + int(bLink));
        Save(u"\\My Documents\\Personal\\Vestory.vsl", bLink ? "link" : "file");
        EXPECT_EQ(FileBytes(list), bLink ? "link" : "file");
    }
    EXPECT_EQ(CountEntries(elsewhere), 10u);
}

TEST(ReplaceFileTest, CleanUpTakesOnlyNewFilesOfSavesThatAreGone) {
    DeviceRoot root;
    const fs::path folder = root.ListFile().parent_path();
    WriteBytes(root.ListFile(), "old");
    const char* kept[] = {".Vestory.vsl.backup",         ".Vestory.vsl.tmp-ABC",
                          ".Vestory.vsl.tmp-ABCDEF.txt", ".Vestory.vsl.bak.new",
                          ".Other.vsl.tmp-ABCDEF",       ".Vestory.vsl.tmp-LIVE01"};
    const char* gone[] = {".Vestory.vsl.tmp-DEAD01", ".Vestory.vsl.tmp-DEAD01.bak",
                          ".Vestory.vsl.tmp-DEAD02.day"};
    for (const char* name : kept)
        WriteBytes(folder / name, "x");
    for (const char* name : gone)
        WriteBytes(folder / name, "x");
    // A save under way elsewhere holds its new file locked.
    int live = ::open((folder / ".Vestory.vsl.tmp-LIVE01").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    Save(u"\\My Documents\\Personal\\Vestory.vsl", "new");
    ::close(live);
    for (const char* name : kept)
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    for (const char* name : gone)
        EXPECT_FALSE(fs::exists(folder / name)) << name;
}
