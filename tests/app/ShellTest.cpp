// The shell around the list: menu bar, command bar, commands, accelerators and ending the run.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/shell/Clipboard.h"
#include "platform/win/shell/SignalClose.h"
#include "platform/win/shell/SingleInstance.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/e2e/ChildProcess.h"
#include "tests/support/CommandBarReadback.h"
#include "tests/support/Input.h"
#include "tests/support/ListReadback.h"
#include "tests/support/Modal.h"
#include "tests/support/Unprivileged.h"
#include "ui/VestoryListView.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/stat.h>

namespace {

const std::vector<Garment> kGarments = {
    {0, u"Shirt", u"2", u"M", u"", 3, 7, 2002},
    {1, u"Coat", u"1", u"", u"", 12, 25, 2002},
};

std::vector<CString> RowNames(CWnd* pList) {
    std::vector<CString> names;
    for (int i = 0; i < ListItemCount(pList); ++i)
        names.push_back(ListItemText(pList, i, 1));
    return names;
}

using ShellTest = AppFixture;

TEST_F(ShellTest, MenuBarHoldsListAndToolsThenTheToolBarWithTheirTips) {
    ASSERT_TRUE(Start(kGarments));
    const std::vector<BarButton> buttons = CommandBarButtons(CommandBar());
    ASSERT_EQ(buttons.size(), 6u);
    const struct {
        const char16_t* text;
        const char16_t* tip;
        bool opensMenu;
        bool enabled;
    } expected[] = {
        {u"&List", u"File", true, true}, {u"&Tools", u"Help", true, true},
        {u"", u"Cut", false, false},     {u"", u"Copy", false, false},
        {u"", u"Paste", false, false},   {u"", u"About", false, true},
    };
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(buttons[i].text, expected[i].text);
        EXPECT_EQ(buttons[i].toolTip, expected[i].tip);
        EXPECT_EQ(buttons[i].opensMenu, expected[i].opensMenu);
        EXPECT_EQ(buttons[i].hasPicture, !expected[i].opensMenu);
        EXPECT_EQ(buttons[i].enabled, expected[i].enabled);
    }
}

TEST_F(ShellTest, MenuBarButtonsOpenThePopUpsOfMenu128) {
    ASSERT_TRUE(Start(kGarments));
    const struct {
        int button;
        std::vector<MenuEntry> items;
    } cases[] = {
        // The keys stand after a tab, as the menu resource writes them.
        {0, {{u"&New Item\tIns", true}, {u"", true}, {u"E&xit\tCtrl+Q", true}}},
        {1, {{u"&About VestoryList...", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        std::vector<MenuEntry> shown;
        ArmModal([&shown](ModalHandle& menu) {
            shown = MenuEntries(menu);
            menu.PressEscape();
        });
        PressCommandBarButton(CommandBar(), c.button);
        ASSERT_TRUE(ModalRan());
        EXPECT_EQ(shown, c.items);
    }
}

TEST_F(ShellTest, ListExitEndsTheRunAndLeavesTheListFileAlone) {
    ASSERT_TRUE(Start(kGarments));
    const auto file = m_root.ListFile();
    const auto stamp = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(file, stamp);
    const std::string before = FileBytes(file);

    ArmModal([](ModalHandle& menu) { menu.PickMenuItem(u"Exit"); });
    PressCommandBarButton(CommandBar(), 0);
    ASSERT_TRUE(ModalRan());
    ProcessEvents();

    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(std::filesystem::last_write_time(file), stamp);
}

// A signal that ends the program (log-out, kill) ends an open dialog or pop-up as if cancelled,
// lets its handler finish (the item dialog's saves), then ends the run as Exit does.
TEST_F(ShellTest, ASignalDuringAModalRunEndsItThenTheRun) {
    const struct {
        const char* name;
        std::function<void()> open;
    } cases[] = {
        {"item dialog", [this] { Frame()->SendMessage(WM_COMMAND, ID_LIST_NEW_ITEM, 0); }},
        {"List pop-up", [this] { PressCommandBarButton(CommandBar(), 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start(kGarments));
        const std::string before = FileBytes(m_root.ListFile());
        AfxInstallSignalClose();
        ArmModal([](ModalHandle&) { std::raise(SIGTERM); });
        // The command comes from the message loop, as a user's does. A run still going after a
        // while is ended from here, which fails the test.
        QTimer::singleShot(0, qApp, c.open);
        QTimer bound;
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        bound.start(10000);
        m_pApp->Run();
        AfxRemoveSignalClose();
        EXPECT_TRUE(ModalRan());
        EXPECT_TRUE(bound.isActive()) << "the signal did not end the run";
        EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
        EXPECT_EQ(FileBytes(m_root.ListFile()), before);
        TearDown();
    }
}

TEST_F(ShellTest, CtrlQEndsTheRunAsExitDoes) {
    ASSERT_TRUE(Start(kGarments));
    PressCtrlKey('Q');
    ProcessEvents();
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
}

TEST_F(ShellTest, CtrlNTwiceLeavesRowsAndColumns) {
    ASSERT_TRUE(Start(kGarments));
    const std::vector<CString> before = RowNames(View());
    PressCtrlKey('N');
    PressCtrlKey('N');
    ProcessEvents();
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(RowNames(View()), before);
    EXPECT_EQ(ListColumnCount(View()), 4);
    EXPECT_EQ(ListStateImage(View(), 1), 2);
}

// Nothing selected, nothing changed yet, no text on the clipboard: nothing for them to do.
TEST_F(ShellTest, EditKeysWithNothingToActOnDoNothing) {
    ASSERT_TRUE(Start(kGarments));
    AfxSetClipboardText(u"");
    const std::string before = FileBytes(m_root.ListFile());
    for (char key : {'Z', 'X', 'C', 'V'})
        PressCtrlKey(key);
    ProcessEvents();
    ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
    EXPECT_EQ(RowNames(View()), (std::vector<CString>{u"Shirt", u"Coat"}));
    EXPECT_EQ(FileBytes(m_root.ListFile()), before);
}

TEST_F(ShellTest, CtrlSWritesACopyAndLeavesTheListFile) {
    ASSERT_TRUE(Start(kGarments));
    const auto copy = m_root.Path() / "copy.vsl";
    const std::string before = FileBytes(m_root.ListFile());
    ArmModal([&copy](ModalHandle& dialog) { dialog.ChooseFile(CString::FromUtf8(copy.string())); });
    PressCtrlKey('S');
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(FileBytes(copy), before);
    EXPECT_EQ(FileBytes(m_root.ListFile()), before);
}

TEST_F(ShellTest, CtrlOReplacesTheListWithTheChosenFilesRecords) {
    ASSERT_TRUE(Start(kGarments));
    const auto other = m_root.Path() / "other.vsl";
    WriteListFile(other, {{0, u"Scarf", u"1", u"", u"", 0, 0, 0},
                          {1, u"Suit", u"2", u"", u"", 1, 2, 2003},
                          {0, u"Dress", u"1", u"", u"", 0, 0, 0}});
    ArmModal(
        [&other](ModalHandle& dialog) { dialog.ChooseFile(CString::FromUtf8(other.string())); });
    PressCtrlKey('O');
    ASSERT_TRUE(ModalRan());
    EXPECT_EQ(RowNames(View()), (std::vector<CString>{u"Scarf", u"Suit", u"Dress"}));
    EXPECT_EQ(ListItemText(View(), 1, 3), u"01/02/2003");
    EXPECT_EQ(ListColumnCount(View()), 4);
    EXPECT_EQ(Document()->GetItemCount(), 3);
}

// The records a fresh start would read from the list file.
std::vector<CString> SavedNames() {
    CVestoryListDoc doc;
    doc.OnNewDocument();
    std::vector<CString> names;
    for (int i = 0; i < doc.GetItemCount(); ++i)
        names.push_back(doc.GetItem(i).m_strItemName);
    return names;
}

// Ctrl+N and Ctrl+O as their keys send them, whichever window Qt takes for the active one
// after a dialog.
void Command(UINT nID) {
    AfxGetApp()->m_pMainWnd->SendMessage(WM_COMMAND, nID);
    ProcessEvents();
}

// Message boxes answered at once, their texts kept; a question gets yesNo.
class MessageRecorder {
public:
    MessageRecorder()
        : m_previous(
              AfxSetMessageBoxPresenter([this](const CString& text, const CString&, UINT nType) {
                  texts.push_back(text.ToUtf8());
                  types.push_back(nType);
                  return (nType & 0xF) == MB_YESNO ? yesNo : IDOK;
              })) {}
    ~MessageRecorder() { AfxSetMessageBoxPresenter(m_previous); }
    std::vector<std::string> texts;
    std::vector<UINT> types;
    int yesNo = IDNO;

private:
    AfxMessageBoxPresenter m_previous;
};

// Ctrl+O never swaps the list on screen for less: a file that does not read whole, or cannot
// be read, leaves the rows, the records and the list file as they were, and is not copied.
TEST_F(ShellTest, CtrlOKeepsTheListWhenAFileDoesNotReadWhole) {
    ASSERT_TRUE(Start(kGarments));
    MessageRecorder messages;
    const std::filesystem::path list = m_root.ListFile();
    const std::string listBytes = FileBytes(list);
    const std::filesystem::path notes = m_root.Path() / "notes.txt";
    WriteBytes(notes, "Shirt, 2\n");
    const std::filesystem::path damaged = list.string() + ".damaged";
    WriteBytes(damaged, listBytes.substr(0, listBytes.size() - 3));
    const std::filesystem::path fifo = m_root.Path() / "pipe.vsl";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::vector<CString> shown = {u"Shirt", u"Coat"};

    for (const std::filesystem::path& opened : {notes, damaged, fifo}) {
        SCOPED_TRACE(opened.filename().string());
        messages.texts.clear();
        ArmModal([&opened](ModalHandle& dialog) {
            dialog.ChooseFile(CString::FromUtf8(opened.string()));
        });
        Command(ID_FILE_OPEN);
        ASSERT_TRUE(ModalRan());
        ProcessEvents();
        EXPECT_EQ(messages.texts, std::vector<std::string>{opened.filename().string() +
                                                           " is not a whole list file. The "
                                                           "list was not changed."});
        EXPECT_EQ(RowNames(View()), shown);
        EXPECT_EQ(Document()->GetItemCount(), 2);
        EXPECT_FALSE(std::filesystem::exists(opened.string() + ".damaged"));
    }

    // The next change saves the list on screen; nothing of the opened files got into it.
    Document()->DeleteItem(1);
    EXPECT_EQ(SavedNames(), std::vector<CString>{u"Shirt"});
    EXPECT_EQ(FileBytes(list.string() + ".bak"), listBytes);
}

// A second start given a file hands it to the running window (here, this process), which opens
// it as Ctrl+O does: the name as the system passed it, with the same checks and messages.
TEST_F(ShellTest, ASecondStartHandsItsFileToTheRunningWindow) {
    ASSERT_TRUE(Start(kGarments));
    int nExitCode = -1;
    ASSERT_TRUE(AfxClaimSingleInstance(nullptr, &nExitCode));
    MessageRecorder messages;
    const std::filesystem::path odd = m_root.Path() / "a\"b c\td.vsl";
    WriteListFile(odd, {{0, u"Scarf", u"1", u"", u"", 0, 0, 0}});
    const std::filesystem::path quoted = m_root.Path() / "it's \"quoted\"\t.vsl";
    WriteListFile(quoted, {{0, u"Tie", u"1", u"", u"", 0, 0, 0}});
    const std::filesystem::path dashed = m_root.Path() / "-x.vsl";
    WriteBytes(dashed, FileBytes(odd).substr(0, 5));
    struct Case {
        std::vector<std::string> args;
        std::vector<CString> shown;
        std::vector<std::string> said;
    } const cases[] = {
        {{"--", odd.string()}, {u"Scarf"}, {}},
        {{quoted.string()}, {u"Tie"}, {}},
        {{"--", dashed.string()},
         {u"Tie"},
         {"-x.vsl is not a whole list file. The list was not changed."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        messages.texts.clear();
        std::vector<std::string> argv = {VESTORYLIST_PROGRAM};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        ChildProcess second(argv, {}, (m_root.Path() / "second.txt").string());
        EXPECT_TRUE(WaitUntil(
            [&] {
                ProcessEvents();
                return !second.Running();
            },
            std::chrono::seconds(10)));
        EXPECT_EQ(second.WaitExit(std::chrono::seconds(1)), 0) << second.Output();
        WaitUntil(
            [&] {
                ProcessEvents();
                return RowNames(View()) == c.shown && messages.texts.size() == c.said.size();
            },
            std::chrono::seconds(2));
        EXPECT_EQ(RowNames(View()), c.shown);
        EXPECT_EQ(messages.texts, c.said);
    }
    AfxReleaseSingleInstance();
}

// After a failed save, Ctrl+N saves the garments held before it reads the file again, and
// while it cannot, it keeps them.
TEST_F(ShellTest, CtrlNSavesTheGarmentsOfAFailedSaveFirst) {
    ASSERT_TRUE(Start(kGarments));
    MessageRecorder messages;
    const std::filesystem::path folder = m_root.ListFile().parent_path();
    for (const std::filesystem::path& p : {m_root.Path(), folder.parent_path()})
        ::chmod(p.c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    Document()->AddItem(CData());
    {
        Unprivileged user;
        Document()->SaveList();
        Command(ID_FILE_NEW);
        ProcessEvents();
    }
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{"Unable to save list file!", "Unable to save list file!"}));
    EXPECT_EQ(Document()->GetItemCount(), 3);
    EXPECT_EQ(SavedNames().size(), 2u);

    ::chmod(folder.c_str(), 0755);
    messages.texts.clear();
    Command(ID_FILE_NEW);
    ProcessEvents();
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(ListItemCount(View()), 3);
    EXPECT_EQ(SavedNames().size(), 3u);
}

// After a failed save, List > Exit saves once more; when that fails too it asks, No being the
// default, and only Yes ends the run without the garments that could not be saved.
TEST_F(ShellTest, ExitAfterAFailedSaveSavesOnceMoreElseAsks) {
    const struct {
        const char* name;
        bool bWritableAtExit;
        int answer;
        bool bEnds;
        std::size_t nSaved;
    } cases[] = {
        {"saved at the second try", true, IDNO, true, 3},
        {"No keeps the program", false, IDNO, false, 2},
        {"Yes ends without them", false, IDYES, true, 2},
    };
    const std::string question = "The list could not be saved: Permission denied. Quit anyway and "
                                 "lose the changes that were not saved?";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start(kGarments));
        MessageRecorder messages;
        messages.yesNo = c.answer;
        const std::filesystem::path folder = m_root.ListFile().parent_path();
        for (const std::filesystem::path& p : {m_root.Path(), folder.parent_path()})
            ::chmod(p.c_str(), 0755);
        ::chmod(folder.c_str(), 0555);
        Document()->AddItem(CData());
        {
            Unprivileged user;
            Document()->SaveList();
        }
        if (c.bWritableAtExit) {
            ::chmod(folder.c_str(), 0755);
            Command(ID_LIST_EXIT);
        } else {
            Unprivileged user;
            Command(ID_LIST_EXIT);
        }
        std::vector<std::string> expected{"Unable to save list file!"};
        if (!c.bWritableAtExit)
            expected.push_back(question);
        EXPECT_EQ(messages.texts, expected);
        if (messages.types.size() == 2) {
            EXPECT_EQ(messages.types[1] & MB_DEFBUTTON2, MB_DEFBUTTON2);
        }
        EXPECT_EQ(m_pApp->m_pMainWnd == nullptr, c.bEnds);
        EXPECT_EQ(SavedNames().size(), c.nSaved);
        ::chmod(folder.c_str(), 0755);
        TearDown();
    }
}

// A signal after a failed save tries once more, then keeps the garments in a file of their own
// in the data folder and names it.
TEST_F(ShellTest, ASignalAfterAFailedSaveKeepsTheGarmentsInTheDataFolder) {
    ASSERT_TRUE(Start(kGarments));
    const std::filesystem::path data = m_root.Path() / "data";
    std::filesystem::create_directory(data);
    ::chmod(data.c_str(), 0777);
    MessageRecorder messages;
    const std::filesystem::path folder = m_root.ListFile().parent_path();
    for (const std::filesystem::path& p : {m_root.Path(), folder.parent_path()})
        ::chmod(p.c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    Document()->AddItem(CData());
    AfxInstallSignalClose();
    testing::internal::CaptureStderr();
    {
        Unprivileged user;
        Document()->SaveList();
        QTimer::singleShot(0, qApp, [] { std::raise(SIGTERM); });
        m_pApp->Run();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    AfxRemoveSignalClose();
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    std::vector<std::filesystem::path> kept;
    for (const auto& e : std::filesystem::directory_iterator(data / "VestoryList"))
        kept.push_back(e.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].filename().string().rfind("unsaved-", 0), 0u);
    EXPECT_NE(err.find(kept[0].string()), std::string::npos) << err;
    std::filesystem::rename(kept[0], m_root.ListFile());
    EXPECT_EQ(SavedNames().size(), 3u);
}

// Each command reaches the map that handles it through the frame's route; the pop-up's
// commands reach the view's map through the view.
TEST_F(ShellTest, CommandsReachTheirHandlersMaps) {
    ASSERT_TRUE(Start(kGarments));
    CCmdTarget* const pApp = m_pApp.get();
    CCmdTarget* const pFrame = Frame();
    CCmdTarget* const pView = View();
    CCmdTarget* const pDoc = Document();
    const struct {
        UINT nID;
        CCmdTarget* pStart;
        CCmdTarget* pHandler; // null: nothing handles it
    } routes[] = {
        {ID_LIST_NEW_ITEM, pFrame, pDoc},    {ID_LIST_EXIT, pFrame, pApp},
        {ID_APP_ABOUT, pFrame, pApp},        {ID_FILE_NEW, pFrame, pApp},
        {ID_FILE_OPEN, pFrame, pApp},        {ID_FILE_SAVE, pFrame, pFrame},
        {ID_APP_EXIT, pFrame, pApp},         {ID_EDIT_CUT, pFrame, pView},
        {ID_EDIT_COPY, pFrame, pView},       {ID_EDIT_PASTE, pFrame, pView},
        {ID_EDIT_SELECT_ALL, pFrame, pView}, {ID_EDIT_UNDO, pFrame, pDoc},
        {ID_LIST_BUTTON, pFrame, nullptr},   {ID_TOOLS_BUTTON, pFrame, nullptr},
        {ID_POPUP_NEW, pView, pView},        {ID_POPUP_EDIT, pView, pView},
        {ID_POPUP_DELETE, pView, pView},     {ID_LIST_NEW_ITEM, pView, pDoc},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.nID);
        AFX_CMDHANDLERINFO info{};
        const BOOL bHandled = route.pStart->OnCmdMsg(route.nID, CN_COMMAND, nullptr, &info);
        EXPECT_EQ(bHandled != FALSE, route.pHandler != nullptr);
        if (bHandled) {
            EXPECT_EQ(info.pTarget, route.pHandler);
        }
    }
}

// A module with every resource of the program but one.
AFX_RESOURCE_MODULE Without(UINT nType, UINT nID) {
    AFX_RESOURCE_MODULE module = *VestoryListResources();
    std::erase_if(module.resources,
                  [=](const AFX_RESOURCE& r) { return r.nType == nType && r.nID == nID; });
    return module;
}

TEST_F(ShellTest, AFailingCommandBarStepLeavesNoWindowAndAFailedRun) {
    const struct {
        const char* what;
        UINT nType;
    } missing[] = {
        {"tool bar", RT_TOOLBAR},
        {"tool bar pictures", RT_BITMAP},
        {"menu bar definition", RT_RCDATA},
        {"menu", RT_MENU},
    };
    for (const auto& m : missing) {
        SCOPED_TRACE(m.what);
        const AFX_RESOURCE_MODULE module = Without(m.nType, IDR_MAINFRAME);
        m_pApp = std::make_unique<CVestoryListApp>();
        static TCHAR emptyCommandLine[] = u"";
        EXPECT_NE(AfxWinMain(&module, nullptr, emptyCommandLine, SW_SHOW), 0);
        EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
        EXPECT_FALSE(AnyWindowVisible());
        m_pApp.reset();
    }
    AfxSetResourceHandle(VestoryListResources());
}

TEST(ProgramTest, VersionOptionPrintsTheVersionBlocksVersion) {
    FILE* pipe = popen(VESTORYLIST_PROGRAM " --version", "r");
    ASSERT_NE(pipe, nullptr);
    char line[128] = {};
    const bool bRead = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = pclose(pipe);
    ASSERT_TRUE(bRead);
    EXPECT_STREQ(line, "VestoryList 1.0.0.1\n");
    EXPECT_EQ(status, 0);
}

} // namespace
