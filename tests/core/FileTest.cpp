#include "platform/core/DevicePath.h"
#include "platform/core/Exception.h"
#include "platform/core/ReplaceFile.h"
#include "tests/core/TempRoot.h"

#include <gtest/gtest.h>

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
    TempRoot root;
    const std::string r = root.path().string();
    EXPECT_EQ(AfxHostPathFromDevicePath(u"\\My Documents\\Personal\\Vestory.vsl"),
              r + "/My Documents/Personal/Vestory.vsl");
    EXPECT_EQ(AfxHostPathFromDevicePath(u"relative/x.vsl"), "relative/x.vsl");
    EXPECT_EQ(AfxHostPathFromDevicePath(u"/tmp/\u00E9.vsl"), "/tmp/\xC3\xA9.vsl");

    // Without a device root, "\My Documents" is the user's documents folder.
    ::unsetenv("VESTORYLIST_ROOT");
    std::string home = (root.path() / "home").string();
    fs::create_directories(root.path() / "home/.config");
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
        fs::remove(root.path() / "home/.config/user-dirs.dirs");
        if (c.userDirs)
            TempRoot::WriteAll(root.path() / "home/.config/user-dirs.dirs", c.userDirs);
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
    TempRoot root;
    CFile f;
    EXPECT_FALSE(f.Open(u"\\My Documents\\missing.vsl", CFile::modeRead));
    EXPECT_FALSE(f.IsOpen());

    TempRoot::WriteAll(root.path() / "My Documents/x.vsl", "old contents");
    ASSERT_TRUE(f.Open(u"\\My Documents\\x.vsl", CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(f.GetLength(), 0u); // cut before the first write
    WriteVia(f, "new");
    f.Close();
    EXPECT_EQ(TempRoot::ReadAll(root.path() / "My Documents/x.vsl"), "new");

    ASSERT_TRUE(f.Open(u"\\My Documents\\x.vsl", CFile::modeRead));
    char buf[16];
    EXPECT_EQ(f.Read(buf, sizeof buf), 3u);
    EXPECT_EQ(f.Read(buf, sizeof buf), 0u);
}

TEST(ReplaceFileTest, CommitPutsTheNewVersionInPlaceAndKeepsTheOld) {
    TempRoot root;
    const fs::path target = root.ListFile();
    {
        CReplaceFile f; // the folders do not exist yet
        ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
        WriteVia(f, "first");
        EXPECT_FALSE(fs::exists(target)); // nothing visible before the commit
        f.Commit();
    }
    EXPECT_EQ(TempRoot::ReadAll(target), "first");
    {
        CReplaceFile f;
        ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
        WriteVia(f, "second");
        EXPECT_EQ(TempRoot::ReadAll(target), "first");
        f.Commit();
    }
    EXPECT_EQ(TempRoot::ReadAll(target), "second");
    EXPECT_EQ(TempRoot::ReadAll(target.string() + ".bak"), "first");
    EXPECT_EQ(CountEntries(target.parent_path()), 2u);
}

TEST(ReplaceFileTest, AbandonedOrFailedVersionsLeaveNothingBehind) {
    TempRoot root;
    const fs::path target = root.ListFile();
    TempRoot::WriteAll(target, "kept");
    {
        CReplaceFile f;
        ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
        WriteVia(f, "dropped");
    } // destroyed without a commit
    EXPECT_EQ(TempRoot::ReadAll(target), "kept");
    EXPECT_EQ(CountEntries(target.parent_path()), 1u);

    // A folder in the file's place makes the rename fail.
    fs::create_directories(root.path() / "My Documents/Personal/Dir.vsl/inner");
    CReplaceFile f;
    ASSERT_TRUE(f.Open(u"\\My Documents\\Personal\\Dir.vsl"));
    WriteVia(f, "x");
    EXPECT_THROW(f.Commit(), CFileException);
    EXPECT_EQ(CountEntries(target.parent_path()), 2u); // Vestory.vsl and Dir.vsl only
}

TEST(ReplaceFileTest, ReadOnlyFolderRefusesToOpen) {
    TempRoot root;
    fs::create_directories(root.ListFile().parent_path());
    ::chmod(root.path().c_str(), 0755);
    ::chmod(root.ListFile().parent_path().c_str(), 0555);
    Unprivileged user;
    CReplaceFile f;
    EXPECT_FALSE(f.Open(u"\\My Documents\\Personal\\Vestory.vsl"));
}
