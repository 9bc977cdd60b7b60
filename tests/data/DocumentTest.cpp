// The list document without a window: reading, saving and changing the list file.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/Resource.h"
#include "res/Resources.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListFile.h"
#include "tests/support/MergeCases.h"
#include "tests/support/PinnedClock.h"
#include "tests/support/Unprivileged.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace fs = std::filesystem;

namespace {
CData Record(const std::string& name, const std::string& qty = "1") {
    CData d;
    d.m_strItemName = CString::FromUtf8(name);
    d.m_strQty = CString::FromUtf8(qty);
    d.m_strSize = u"M";
    d.m_strNote = u"note\r\nline 2";
    return d;
}

std::vector<std::string> Names(const CVestoryListDoc& doc) {
    std::vector<std::string> names;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        names.push_back(doc.GetItem(i).m_strItemName.ToUtf8());
    return names;
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The document's messages are the program's string resources.
        AfxSetResourceHandle(VestoryListResources());
        m_previous =
            AfxSetMessageBoxPresenter([this](const CString& text, const CString&, UINT nType) {
                m_messages.emplace_back(text.ToUtf8(), nType);
                return IDOK;
            });
    }
    void TearDown() override { AfxSetMessageBoxPresenter(m_previous); }
    // A document as the framework sets it up at start-up.
    std::unique_ptr<CVestoryListDoc> Start() {
        auto doc = std::make_unique<CVestoryListDoc>();
        EXPECT_TRUE(doc->OnNewDocument());
        return doc;
    }
    fs::path Folder() const { return m_root.ListFile().parent_path(); }

    DeviceRoot m_root;
    std::vector<std::pair<std::string, UINT>> m_messages;
    AfxMessageBoxPresenter m_previous;
};
} // namespace

TEST_F(DocumentTest, StartsEmptyWithoutAFileAndCreatesNone) {
    auto doc = Start();
    EXPECT_EQ(doc->GetItemCount(), 0);
    EXPECT_FALSE(fs::exists(m_root.ListFile()));
    WriteBytes(m_root.ListFile(), "");
    doc = Start();
    EXPECT_EQ(doc->GetItemCount(), 0);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentTest, LoadsHundredsOfRecordsWholeAndInOrder) {
    std::vector<CData> items;
    std::vector<std::string> expected;
    for (int i = 0; i < 600; ++i) {
        // Names of varying length move the record edges across the buffer.
        std::string name = "Item " + std::to_string(i) + std::string(std::size_t(i % 37), 'x');
        items.push_back(Record(name, std::to_string(i % 20 + 1)));
        items.back().m_bAtCleaners = i % 2;
        items.back().m_nYear = i % 2 ? 2000 + i % 30 : 0;
        expected.push_back(name);
    }
    std::string bytes = ListBytes(items);
    ASSERT_GT(bytes.size(), 10u * 4096u);
    WriteBytes(m_root.ListFile(), bytes);

    auto doc = Start();
    EXPECT_EQ(Names(*doc), expected);
    EXPECT_EQ(doc->GetItem(599).m_nYear, 2000 + 599 % 30);
    EXPECT_TRUE(doc->GetItem(3).m_strNote == u"note\r\nline 2");
    // A second new-document step on the same document reads the list again, not twice.
    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->GetItemCount(), 600);
    // Saving unchanged records gives the same bytes back.
    doc->SaveList();
    EXPECT_EQ(FileBytes(m_root.ListFile()), bytes);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentTest, DamagedFileKeepsWhatReadsWholeAndACopy) {
    std::vector<std::size_t> starts;
    const std::string good = ListBytes({Record("Shirt"), Record("Coat"), Record("Tie")}, &starts);
    std::string hostile = good;
    hostile.replace(starts[2] + 4, 4, "\xFF\xFE\xFF\xFF"); // item name: 0xFFFF... follows
    hostile.insert(starts[2] + 8, "\xFF\xFF\xFF\xFF\xFF\xFF");
    struct Case {
        const char* name;
        std::string bytes;
        int itemsRead;
        bool takenAlready; // Vestory.vsl.damaged exists from an earlier start
    } cases[] = {
        {"cut inside the last record", good.substr(0, good.size() - 3), 2, false},
        {"cut inside the second record's name", good.substr(0, starts[1] + 9), 1, false},
        {"hostile string length", hostile, 2, false},
        {"a lone byte", "\x01", 0, false},
        {"earlier copy present", good.substr(0, good.size() - 3), 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Folder());
        m_messages.clear();
        WriteBytes(m_root.ListFile(), c.bytes);
        if (c.takenAlready)
            WriteBytes(m_root.ListFile().string() + ".damaged", "older");
        const std::string copyName =
            c.takenAlready ? "Vestory.vsl.damaged.1" : "Vestory.vsl.damaged";

        auto doc = Start();
        std::vector<std::string> expected = {"Shirt", "Coat", "Tie"};
        expected.resize(std::size_t(c.itemsRead));
        EXPECT_EQ(Names(*doc), expected);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].first, "The list file is damaged. " + std::to_string(c.itemsRead) +
                                           " items were read; the damaged file was kept as " +
                                           copyName + ".");
        EXPECT_EQ(m_messages[0].second, MB_ICONINFORMATION);
        EXPECT_EQ(FileBytes(Folder() / copyName), c.bytes);
        EXPECT_EQ(FileBytes(m_root.ListFile()), c.bytes); // untouched until a change

        // The next change writes what was read; the copy stays.
        doc->AddItem(Record("Scarf"));
        doc->SaveList();
        auto again = Start();
        expected.push_back("Scarf");
        EXPECT_EQ(Names(*again), expected);
        EXPECT_EQ(FileBytes(Folder() / copyName), c.bytes);
        EXPECT_EQ(m_messages.size(), 1u);
    }
}

TEST_F(DocumentTest, DeleteKeepsTheOrderAndSaves) {
    const std::vector<std::string> all = {"a", "b", "c", "d"};
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        auto doc = Start();
        doc->DeleteContents();
        for (const std::string& n : all)
            doc->AddItem(Record(n));
        doc->DeleteItem(index);
        std::vector<std::string> expected = all;
        expected.erase(expected.begin() + index);
        EXPECT_EQ(Names(*doc), expected);
        EXPECT_EQ(Names(*Start()), expected); // the file holds exactly the rest
    }
    auto doc = Start();
    while (doc->GetItemCount() > 0)
        doc->DeleteItem(0);
    EXPECT_EQ(fs::file_size(m_root.ListFile()), 0u);
    EXPECT_EQ(Start()->GetItemCount(), 0);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(DocumentTest, ToggleStampsTodayAndClearsCompletely) {
    const PinnedClock clock(2002, 12, 31, 23, 59);
    auto doc = Start();
    doc->AddItem(Record("Shirt", "3"));
    doc->ToggleAtCleaners(0);
    CData d = doc->GetItem(0);
    EXPECT_EQ(d.m_bAtCleaners, 1);
    EXPECT_EQ(d.m_nMonth, 12);
    EXPECT_EQ(d.m_nDay, 31);
    EXPECT_EQ(d.m_nYear, 2002);
    EXPECT_FALSE(fs::exists(m_root.ListFile())); // the caller saves
    doc->SaveList();
    std::string bytes = FileBytes(m_root.ListFile());
    EXPECT_EQ(bytes.substr(bytes.size() - 12), std::string("\x1F\0\0\0\x0C\0\0\0\xD2\x07\0\0", 12));

    doc->ToggleAtCleaners(0);
    d = doc->GetItem(0);
    EXPECT_EQ(d.m_bAtCleaners, 0);
    EXPECT_EQ(d.m_nMonth + d.m_nDay + d.m_nYear, 0);
    EXPECT_TRUE(d.m_strItemName == u"Shirt");
    EXPECT_TRUE(d.m_strQty == u"3");
}

TEST_F(DocumentTest, FailedSaveChangesNothingAndTheNextOneWorks) {
    auto doc = Start();
    doc->AddItem(Record("Shirt"));
    doc->SaveList();
    const std::string before = FileBytes(m_root.ListFile());
    doc->AddItem(Record("Coat"));
    ::chmod(m_root.Path().c_str(), 0755);
    ::chmod((m_root.Path() / "My Documents").c_str(), 0755);

    // A read-only folder, then a full disk (a file size limit) in the middle of the write.
    for (int failure = 0; failure < 2; ++failure) {
        SCOPED_TRACE(failure == 0 ? "read-only folder" : "disk full");
        m_messages.clear();
        rlimit oldLimit{};
        ::getrlimit(RLIMIT_FSIZE, &oldLimit);
        ::chmod(Folder().c_str(), failure == 0 ? 0555 : 0777);
        {
            Unprivileged user;
            if (failure == 1) {
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit small = oldLimit;
                small.rlim_cur = 40;
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            doc->SaveList();
            ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        }
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].first, "Unable to save list file!");
        EXPECT_EQ(m_messages[0].second, 0x40u);
        EXPECT_EQ(FileBytes(m_root.ListFile()), before);
        EXPECT_EQ(FolderEntries(Folder()), (std::vector<std::string>{"Vestory.vsl"}));
        EXPECT_EQ(Names(*doc), (std::vector<std::string>{"Shirt", "Coat"}));
    }

    m_messages.clear();
    ::chmod(Folder().c_str(), 0755);
    doc->SaveList();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(Names(*Start()), (std::vector<std::string>{"Shirt", "Coat"}));
    EXPECT_EQ(FileBytes(m_root.ListFile().string() + ".bak"), before);

    // Another writer's version that cannot be read here is never written over unseen.
    m_messages.clear();
    const fs::path incoming = Folder() / "incoming.vsl";
    WriteListFile(incoming, ShortGarments({"Tie"}));
    ::chmod(incoming.c_str(), 0);
    fs::rename(incoming, m_root.ListFile());
    ::chmod(Folder().c_str(), 0777);
    {
        Unprivileged user;
        doc->SaveList();
    }
    ::chmod(m_root.ListFile().c_str(), 0644);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].first, "Unable to save list file!");
    EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes(ShortGarments({"Tie"})));
}

TEST_F(DocumentTest, OpenReplacesTheRecordsAndSaveAsWritesACopy) {
    auto doc = Start();
    doc->AddItem(Record("Shirt"));
    doc->SaveList();
    const fs::path other = m_root.Path() / "other.vsl";
    WriteBytes(other, ListBytes({Record("Coat"), Record("Tie")}));
    const CString otherPath = CString::FromUtf8(other.string());

    EXPECT_TRUE(doc->OnOpenDocument(otherPath));
    EXPECT_EQ(Names(*doc), (std::vector<std::string>{"Coat", "Tie"}));
    EXPECT_FALSE(doc->CanUndo());

    const fs::path copy = m_root.Path() / "copy.vsl";
    EXPECT_TRUE(doc->OnSaveDocument(CString::FromUtf8(copy.string())));
    EXPECT_EQ(FileBytes(copy), FileBytes(other));

    // A failed open changes nothing, what Ctrl+Z can take back included.
    doc->ToggleAtCleaners(0);
    EXPECT_FALSE(doc->OnOpenDocument(CString::FromUtf8((m_root.Path() / "none.vsl").string())));
    EXPECT_EQ(Names(*doc), (std::vector<std::string>{"Coat", "Tie"}));
    EXPECT_EQ(m_messages.size(), 1u);
    doc->Undo();
    EXPECT_EQ(doc->GetItem(0).m_bAtCleaners, 0);
}

TEST_F(DocumentTest, NewItemCommandIsInTheDocumentsMap) {
    CVestoryListDoc doc;
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(doc.OnCmdMsg(32774, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &doc);
    EXPECT_EQ(CRuntimeClass::FromName("CData") != nullptr, true);
    std::unique_ptr<CObject> created(RUNTIME_CLASS(CVestoryListDoc)->CreateObject());
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CDocument)));
}

// Only a list file that is not there at all is no list. Anything else in its place is said,
// the garments held are kept (start-up then fails with none) and nothing in the folder
// changes.
TEST_F(DocumentTest, AListThatCannotBeReadIsNeverTakenForNoList) {
    const fs::path list = m_root.ListFile();
    const std::string bytes = ListBytes({Record("Shirt"), Record("Coat")});
    const bool bRoot = ::geteuid() == 0;
    const struct Case {
        const char* name;
        std::function<void()> make;
        const char* reason;
    } cases[] = {
        {"another user's file, mode 0600",
         [&] {
             WriteBytes(list, bytes);
             // Root reads everything; the test reads as an ordinary user (Unprivileged).
             ::chmod(list.c_str(), bRoot ? 0600 : 0);
         },
         "Permission denied"},
        {"link to an unmounted folder",
         [&] { fs::create_symlink(m_root.Path() / "unmounted/Vestory.vsl", list); },
         "dangling symbolic link"},
        {"folder that links to an unmounted folder",
         [&] {
             fs::remove(Folder());
             fs::create_directory_symlink(m_root.Path() / "unmounted", Folder());
         },
         "dangling symbolic link"},
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(list.c_str(), 0644), 0); }, "not a regular file"},
        {"folder", [&] { fs::create_directory(list); }, "not a regular file"},
        {"socket",
         [&] {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             ASSERT_LT(list.string().size(), sizeof address.sun_path);
             std::strcpy(address.sun_path, list.c_str());
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
         },
         "not a regular file"},
    };
    ::chmod(m_root.Path().c_str(), 0755);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_root.Path() / "My Documents");
        fs::create_directories(Folder());
        ::chmod((m_root.Path() / "My Documents").c_str(), 0755);
        ASSERT_NO_FATAL_FAILURE(c.make());
        const std::vector<std::string> before = FolderEntries(m_root.Path() / "My Documents");
        m_messages.clear();

        CVestoryListDoc started;
        CVestoryListDoc shown;
        shown.AddItem(Record("Scarf"));
        {
            Unprivileged user;
            EXPECT_FALSE(started.OnNewDocument());
            EXPECT_FALSE(shown.OnNewDocument());
        }
        const std::string expected = "The list file " + list.string() +
                                     " cannot be read: " + c.reason + ". Nothing was changed.";
        ASSERT_EQ(m_messages.size(), 2u);
        EXPECT_EQ(m_messages[0], std::make_pair(expected, UINT(MB_ICONINFORMATION)));
        EXPECT_EQ(m_messages[1], m_messages[0]);
        EXPECT_EQ(started.GetItemCount(), 0);
        EXPECT_EQ(Names(shown), (std::vector<std::string>{"Scarf"}));
        EXPECT_EQ(FolderEntries(m_root.Path() / "My Documents"), before);
        if (fs::is_directory(Folder())) {
            EXPECT_EQ(FolderEntries(Folder()), (std::vector<std::string>{"Vestory.vsl"}));
        }
    }
}

// Starting again and again on a damaged list keeps one copy of it, readable by no one the
// list was not readable by, holes and all.
TEST_F(DocumentTest, ADamagedListIsCopiedOnceWithItsPermissions) {
    const fs::path list = m_root.ListFile();
    std::string bytes = ListBytes({Record("Shirt")});
    bytes += '\x01';
    WriteBytes(list, bytes);
    ::chmod(list.c_str(), 0600);
    // A different damaged file kept earlier.
    WriteBytes(list.string() + ".damaged", "older");
    for (int start = 0; start < 3; ++start) {
        m_messages.clear();
        auto doc = Start();
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].first, "The list file is damaged. 1 items were read; the damaged "
                                       "file was kept as Vestory.vsl.damaged.1.");
    }
    EXPECT_EQ(
        FolderEntries(Folder()),
        (std::vector<std::string>{"Vestory.vsl", "Vestory.vsl.damaged", "Vestory.vsl.damaged.1"}));
    EXPECT_EQ(FileBytes(list.string() + ".damaged.1"), bytes);
    EXPECT_EQ(fs::status(list.string() + ".damaged.1").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    // A long run of zeros is a hole in the copy as in the list (empty records, then damage).
    fs::remove(list.string() + ".damaged.1");
    const int fd = ::open(list.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "\x01", 1, 4 << 20), 1);
    ::close(fd);
    Start();
    struct stat st {};
    ASSERT_EQ(::stat((list.string() + ".damaged.1").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, (4 << 20) + 1);
    EXPECT_LT(st.st_blocks * 512, 1 << 20);
}

// The merge as the window makes it when a sync engine leaves a conflict copy beside the list:
// the list file holds ours (the window's own save), the copy theirs, and the base is the
// version both had. The copy is then kept in the history.
TEST_F(DocumentTest, AConflictCopyIsMergedByTheRuleAndKept) {
    for (const MergeCase& c : MergeCases()) {
        SCOPED_TRACE(c.name);
        DeviceRoot root; // what this machine knows of the list starts afresh
        // The list a link into a synced folder, as the README has it.
        const fs::path list = root.Path() / "Sync/Vestory.vsl";
        const fs::path copy =
            list.parent_path() / "Vestory.sync-conflict-20261208-101500-ABCDEFG.vsl";
        WriteListFile(list, ShortGarments(c.base));
        fs::create_directories(root.ListFile().parent_path());
        fs::create_symlink(list, root.ListFile());
        auto doc = Start();
        const fs::path ours = root.Path() / "ours.vsl";
        WriteListFile(ours, ShortGarments(c.ours));
        ASSERT_TRUE(doc->OnOpenDocument(CString::FromUtf8(ours.string())));
        doc->SaveList();
        WriteListFile(copy, ShortGarments(c.theirs));
        doc->OnListFileChanged();
        EXPECT_EQ(FileBytes(list), ListBytes(ShortGarments(c.merged)));
        EXPECT_FALSE(fs::exists(copy));
        EXPECT_EQ(FileBytes(list.string() + ".history/" + copy.filename().string()),
                  ListBytes(ShortGarments(c.theirs)));
    }
    EXPECT_TRUE(m_messages.empty());
}

// Another device may bring the conflict copy of this machine's version before the sync engine
// puts the other machine's version in the list file's place: the two are merged then.
TEST_F(DocumentTest, AConflictCopyOfTheOwnVersionThatCameFirstIsMergedWithTheOther) {
    WriteListFile(m_root.ListFile(), ShortGarments({"A", "B"}));
    auto doc = Start();
    const fs::path ours = m_root.Path() / "ours.vsl";
    WriteListFile(ours, ShortGarments({"A", "B", "C"}));
    ASSERT_TRUE(doc->OnOpenDocument(CString::FromUtf8(ours.string())));
    doc->SaveList();
    WriteBytes(Folder() / "Vestory.sync-conflict-20261208-101500-ABCDEFG.vsl",
               FileBytes(m_root.ListFile()));
    doc->OnListFileChanged();
    const std::string replaced = m_root.ListFile().string() + ".new";
    WriteListFile(replaced, ShortGarments({"A", "B+"}));
    fs::rename(replaced, m_root.ListFile());
    doc->OnListFileChanged();
    EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes(ShortGarments({"A", "B+", "C"})));
}

// Copies that do not read whole stay where they are, named once; a backup's copy is only kept;
// a copy of another list whose name begins as this one's is left alone.
TEST_F(DocumentTest, ConflictCopiesThatDoNotReadWholeStayAndBackupCopiesAreKept) {
    WriteListFile(m_root.ListFile(), ShortGarments({"A"}));
    const fs::path cut = Folder() / "Vestory (conflicted copy 2026-12-08 101500).vsl";
    const fs::path backup = Folder() / "Vestory.vsl.sync-conflict-20261208-101500-ABCDEFG.bak";
    WriteBytes(cut, ListBytes(ShortGarments({"A", "B"})).substr(0, 30));
    WriteListFile(backup, ShortGarments({"C"}));
    const fs::path otherList = Folder() / "Vestory (copy) (Bob's conflicted copy 2026-12-08).vsl";
    WriteListFile(otherList, ShortGarments({"D"}));
    auto doc = Start();
    doc->OnListFileChanged();
    EXPECT_EQ(Names(*doc), std::vector<std::string>{"A"});
    EXPECT_TRUE(fs::exists(cut));
    EXPECT_TRUE(fs::exists(otherList));
    EXPECT_EQ(FileBytes(m_root.ListFile().string() + ".history/" + backup.filename().string()),
              ListBytes(ShortGarments({"C"})));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].first.find("conflicted copy"), std::string::npos);
}

// Ctrl+Z takes back this window's own steps by their garments after another writer's version
// came in, and never takes away what that writer added.
TEST_F(DocumentTest, UndoAfterAnotherWritersVersionTakesBackOnlyOwnSteps) {
    const struct {
        const char* name;
        std::vector<const char*> list;
        std::function<void(CVestoryListDoc&)> step;
        std::vector<const char*> theirs; // the other writer's version after the step
        std::vector<const char*> undone;
    } cases[] = {
        {"a tick, with a garment added on top",
         {"A", "B", "C"},
         [](CVestoryListDoc& doc) { doc.ToggleAtCleaners(1); },
         {"X", "A", "B+", "C"},
         {"X", "A", "B", "C"}},
        {"a deletion, with a garment added",
         {"A", "B", "C"},
         [](CVestoryListDoc& doc) { doc.DeleteItems({0}); },
         {"B", "C", "X"},
         {"A", "B", "C", "X"}},
        {"a sort, with a garment added",
         {"C", "B", "A"},
         [](CVestoryListDoc& doc) { doc.SortByColumn(1); },
         {"A", "B", "C", "X"},
         {"C", "B", "A", "X"}},
        {"a tick that the other writer changed again: nothing left to take back",
         {"A", "B", "C"},
         [](CVestoryListDoc& doc) { doc.ToggleAtCleaners(1); },
         {"A", "B/starch", "C"},
         {"A", "B/starch", "C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteListFile(m_root.ListFile(), ShortGarments(c.list));
        auto doc = Start();
        c.step(*doc);
        doc->SaveList();
        const std::string replaced = m_root.ListFile().string() + ".new";
        WriteListFile(replaced, ShortGarments(c.theirs));
        fs::rename(replaced, m_root.ListFile());
        doc->OnListFileChanged();
        doc->Undo();
        std::vector<CData> held;
        for (int i = 0; i < doc->GetItemCount(); ++i)
            held.push_back(doc->GetItem(i));
        EXPECT_EQ(ListBytes(held), ListBytes(ShortGarments(c.undone)));
        EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes(ShortGarments(c.undone)));
    }
}

// A save first looks at the file: another writer's version that the window has not seen yet
// is merged in, never written over.
TEST_F(DocumentTest, ASaveMergesAVersionItHasNotSeen) {
    const struct {
        const char* name;
        std::function<void(CVestoryListDoc&)> change;
        std::vector<const char*> saved;
    } cases[] = {
        {"a tick", [](CVestoryListDoc& doc) { doc.ToggleAtCleaners(0); }, {"A+", "B", "X"}},
        {"a deletion", [](CVestoryListDoc& doc) { doc.DeleteItem(1); }, {"A", "X"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteListFile(m_root.ListFile(), ShortGarments({"A", "B"}));
        auto doc = Start();
        const std::string replaced = m_root.ListFile().string() + ".new";
        WriteListFile(replaced, ShortGarments({"A", "B", "X"}));
        fs::rename(replaced, m_root.ListFile());
        c.change(*doc);
        doc->SaveList();
        EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes(ShortGarments(c.saved)));
        EXPECT_EQ(doc->GetItemCount(), int(c.saved.size()));
    }
}
