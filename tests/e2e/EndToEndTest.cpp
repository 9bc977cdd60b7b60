// The program as a person uses it: its own process on a real X server, driven from outside
// with the mouse and the keyboard; the list file checked afterwards with `vsl dump`.
#include "tests/e2e/ProgramOnDesktop.h"
#include "tests/support/ListFile.h"
#include "tests/support/OtherUser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// The dialog's caption strip.
constexpr std::uint32_t kCaptionBlue = 0x003399;

// The runs of a picture row that are not the caption's blue, from the right.
std::vector<std::pair<int, int>> CaptionButtonsFromRight(const XwdImage& picture, int y) {
    std::vector<std::pair<int, int>> runs;
    int x = picture.Width() - 1;
    while (x >= 0) {
        if (picture.Pixel(x, y) == kCaptionBlue) {
            --x;
            continue;
        }
        const int xRight = x;
        while (x >= 0 && picture.Pixel(x, y) != kCaptionBlue)
            --x;
        // Letters of the title are narrower than a button.
        if (xRight - x >= 10)
            runs.emplace_back(x + 1, xRight);
    }
    return runs;
}

bool IsPainted(const XwdImage& picture) {
    // Before its first paint a window on this server is black.
    long nBlack = 0;
    for (int y = 0; y < picture.Height(); y += 2)
        for (int x = 0; x < picture.Width(); x += 2)
            nBlack += picture.Pixel(x, y) == 0;
    return nBlack * 2 < long(picture.Width() / 2 + 1) * long(picture.Height() / 2 + 1);
}

class EndToEndTest : public ProgramOnDesktop {
protected:
    // Starts the program and waits until its main window is shown and painted.
    void StartProgram() {
        ASSERT_TRUE(LaunchProgram()) << m_pProgram->Output();
        ASSERT_TRUE(m_pProgram->Running()) << m_pProgram->Output();
        ASSERT_TRUE(WaitPainted(m_main));
        m_mainRect = Geometry(m_main);
        ASSERT_GT(m_mainRect.cx, 0);
    }

    testing::AssertionResult WaitPainted(const std::string& window) {
        return WaitFor(
            "window " + window + " to be painted",
            [&] {
                const auto picture = m_pDesktop->Picture(window);
                return picture && IsPainted(*picture);
            },
            kStepTimeout);
    }

    // The window the program shows besides its main window (one at a time: a pop-up menu, a
    // dialog, a message box), checked by its title when one is given.
    std::string WaitForWindow(const std::string& title = std::string()) {
        std::string found;
        const testing::AssertionResult shown = WaitFor(
            "a window besides the main window" + (title.empty() ? "" : " (\"" + title + "\")"),
            [&] { return !(found = OtherWindow()).empty(); }, kStepTimeout);
        if (!shown) {
            ADD_FAILURE() << shown.message();
            return found;
        }
        if (!title.empty()) {
            const std::string name =
                m_pDesktop->Xdotool({"getwindowname", found}).value_or(std::string());
            EXPECT_EQ(name, title + "\n") << "another window than the one expected";
            if (name != title + "\n")
                return std::string();
        }
        // Painted means the program has dealt with its showing, keyboard grab included.
        const testing::AssertionResult painted = WaitPainted(found);
        if (!painted)
            ADD_FAILURE() << painted.message();
        return painted ? found : std::string();
    }

    // The menu bar's "List" button, bottom left, opened with a tap; then keys in its pop-up.
    void ChooseFromListMenu(const std::vector<std::string>& keys) {
        ASSERT_TRUE(m_pDesktop->Click(m_mainRect.x + 10, m_mainRect.y + m_mainRect.cy - 8));
        const std::string menu = WaitForWindow();
        ASSERT_FALSE(menu.empty()) << "the List pop-up did not open";
        ASSERT_TRUE(m_pDesktop->Keys(keys));
        ASSERT_TRUE(WaitGone(menu));
    }

    // The item dialog as a person fills it: the name has the focus, Tab moves on.
    std::string OpenNewItemDialog() {
        ChooseFromListMenu({"Down", "Return"});
        const std::string dialog = WaitForWindow("Dialog");
        EXPECT_FALSE(dialog.empty()) << "List > New Item opened no dialog";
        EXPECT_TRUE(dialog.empty() || WaitFocus(dialog));
        return dialog;
    }

    void TapDialogOk(const std::string& dialog) {
        const auto picture = m_pDesktop->Picture(dialog);
        ASSERT_TRUE(picture);
        // The caption runs across the top; its buttons sit in the middle of it: "ok", then
        // the close box at the far right.
        int cyCaption = 0;
        while (picture->Pixel(1, cyCaption) == kCaptionBlue)
            ++cyCaption;
        ASSERT_GT(cyCaption, 0) << "no caption strip";
        const auto buttons = CaptionButtonsFromRight(*picture, cyCaption / 2);
        ASSERT_GE(buttons.size(), 2u) << "no ok button in the caption";
        const Rect r = Geometry(dialog);
        ASSERT_TRUE(m_pDesktop->Click(r.x + (buttons[1].first + buttons[1].second) / 2,
                                      r.y + cyCaption / 2));
    }

    // Waits until the list file holds n records (the header line and one line each, as long
    // as no note breaks a line).
    testing::AssertionResult WaitForRecords(int n) {
        return WaitFor(
            "the list file to hold " + std::to_string(n) + " lines of records",
            [&] {
                const std::string csv = Dump();
                return !csv.empty() && std::count(csv.begin(), csv.end(), '\n') == n + 1;
            },
            kStepTimeout);
    }

    std::vector<ShownRow> RowsOnScreen() {
        const auto picture = m_pDesktop->Picture(m_main);
        return picture ? RowsShown(*picture) : std::vector<ShownRow>();
    }

    testing::AssertionResult ExitThroughListMenu() {
        // Exit is the last item of the List pop-up.
        ChooseFromListMenu({"Up", "Return"});
        const std::optional<int> status = m_pProgram->WaitExit(kStepTimeout);
        if (!status)
            return testing::AssertionFailure()
                   << "timed out after " << std::chrono::seconds(kStepTimeout).count()
                   << " s waiting for the program to end after Exit";
        if (*status != 0)
            return testing::AssertionFailure() << "the program ended with status " << *status;
        return testing::AssertionSuccess();
    }

    Rect m_mainRect;
};

TEST_F(EndToEndTest, AddTickSortDeleteAndExitAsAPersonWould) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_TRUE(RowsOnScreen().empty());

    // First garment: every field, the note on two lines, confirmed with the caption's ok.
    std::string dialog = OpenNewItemDialog();
    ASSERT_FALSE(dialog.empty());
    ASSERT_TRUE(m_pDesktop->Type("Wool coat"));
    ASSERT_TRUE(m_pDesktop->Keys({"Tab", "ctrl+a"}));
    ASSERT_TRUE(m_pDesktop->Type("2"));
    ASSERT_TRUE(m_pDesktop->Keys({"Tab"}));
    ASSERT_TRUE(m_pDesktop->Type("L"));
    ASSERT_TRUE(m_pDesktop->Keys({"Tab"}));
    ASSERT_TRUE(m_pDesktop->Type("Brown buttons"));
    ASSERT_TRUE(m_pDesktop->Keys({"Return"}));
    ASSERT_TRUE(m_pDesktop->Type("Dry clean only"));
    ASSERT_NO_FATAL_FAILURE(TapDialogOk(dialog));
    ASSERT_TRUE(WaitGone(dialog));
    ASSERT_TRUE(WaitForRecords(1 + 1)) << Dump(); // the note's line break is one more line

    // Two more, confirmed with Enter in the size field, as a keyboard user would.
    for (const char* name : {"Blue shirt", "Silk scarf"}) {
        dialog = OpenNewItemDialog();
        ASSERT_FALSE(dialog.empty());
        ASSERT_TRUE(m_pDesktop->Type(name));
        ASSERT_TRUE(m_pDesktop->Keys({"Tab", "ctrl+a"}));
        ASSERT_TRUE(m_pDesktop->Type("1"));
        ASSERT_TRUE(m_pDesktop->Keys({"Tab"}));
        ASSERT_TRUE(m_pDesktop->Type("M"));
        ASSERT_TRUE(m_pDesktop->Keys({"Return"}));
        ASSERT_TRUE(WaitGone(dialog));
    }
    ASSERT_TRUE(WaitForRecords(3 + 1)) << Dump();

    // The rows as the screen shows them: three empty boxes, one row below the other.
    std::vector<ShownRow> rows;
    ASSERT_TRUE(WaitFor(
        "three rows on screen", [&] { return (rows = RowsOnScreen()).size() == 3; }, kStepTimeout))
        << rows.size() << " rows shown";
    const int cyRow = rows[1].yCentre - rows[0].yCentre;
    ASSERT_GT(cyRow, 0);

    // Tick the shirt's box: a tap within the first 30 pixels of its row.
    const std::string dayBefore = Today();
    ASSERT_TRUE(m_pDesktop->Click(m_mainRect.x + 10, m_mainRect.y + rows[1].yCentre));
    ASSERT_TRUE(WaitFor(
        "the tick to reach the list file",
        [&] { return Dump().find("\r\n1,Blue shirt,") != std::string::npos; }, kStepTimeout))
        << Dump();
    const std::string dayAfter = Today();
    ASSERT_TRUE(WaitFor(
        "the second row's box to show the tick",
        [&] {
            rows = RowsOnScreen();
            return rows.size() == 3 && rows[1].bTicked;
        },
        kStepTimeout));

    // Sort by name: a tap on the "Item Name" header, above the first row, in the second column
    // (the "AC" column is 30 pixels wide, "Item Name" 100).
    const int yHeader = (rows[0].yCentre - cyRow / 2) / 2;
    ASSERT_TRUE(m_pDesktop->Click(m_mainRect.x + 80, m_mainRect.y + yHeader));
    // Sorted, the shirt is on top: its box is the ticked one.
    ASSERT_TRUE(WaitFor(
        "the rows sorted by name, the ticked one on top",
        [&] {
            rows = RowsOnScreen();
            return rows.size() == 3 && rows[0].bTicked && !rows[1].bTicked;
        },
        kStepTimeout));

    // Delete the scarf, second row now: a tap on the row opens the pop-up; Delete is its last
    // item; the question is answered Yes.
    ASSERT_TRUE(m_pDesktop->Click(m_mainRect.x + 80, m_mainRect.y + rows[1].yCentre));
    const std::string popup = WaitForWindow();
    ASSERT_FALSE(popup.empty()) << "a tap on a row opened no pop-up menu";
    ASSERT_TRUE(m_pDesktop->Keys({"Up", "Return"}));
    ASSERT_TRUE(WaitGone(popup));
    const std::string question = WaitForWindow("VestoryList");
    ASSERT_FALSE(question.empty()) << "Delete asked nothing";
    ASSERT_TRUE(WaitFocus(question));
    ASSERT_TRUE(m_pDesktop->Keys({"y"}));
    ASSERT_TRUE(WaitGone(question));
    ASSERT_TRUE(WaitForRecords(2 + 1)) << Dump();

    ASSERT_TRUE(ExitThroughListMenu()) << m_pProgram->Output();

    // The file: the sorted order (the deletion saved it), the shirt ticked with the day of the
    // tap, the coat's note with its line break.
    const std::string expectedHead = "AC,Item Name,Qty,Size,Note,Month,Day,Year\r\n"
                                     "1,Blue shirt,1,M,,";
    const std::string expectedTail = "\r\n0,Wool coat,2,L,\"Brown buttons\r\nDry clean only\","
                                     "0,0,0\r\n";
    const std::string csv = Dump();
    EXPECT_TRUE(csv == expectedHead + dayBefore + expectedTail ||
                csv == expectedHead + dayAfter + expectedTail)
        << csv;
    const std::string saved = FileBytes(ListFile());

    // A new start shows the same two rows, the first ticked; leaving again writes nothing.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitFor(
        "two rows on screen after the new start",
        [&] {
            rows = RowsOnScreen();
            return rows.size() == 2;
        },
        kStepTimeout));
    EXPECT_TRUE(rows[0].bTicked);
    EXPECT_FALSE(rows[1].bTicked);

    // Started again while it runs, the program hands over to the running one and ends.
    ChildProcess second({VESTORYLIST_PROGRAM}, ProgramEnvironment(),
                        (m_folder.Path() / "second.txt").string());
    EXPECT_EQ(second.WaitExit(kStepTimeout), std::optional<int>(0)) << second.Output();
    EXPECT_TRUE(m_pProgram->Running());
    // Nothing had given the window the keyboard since its start; the request did.
    EXPECT_TRUE(WaitFocus(m_main)) << "focus on " << m_pDesktop->FocusedWindow();
    ASSERT_TRUE(ExitThroughListMenu()) << m_pProgram->Output();
    EXPECT_EQ(FileBytes(ListFile()), saved);

    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    RecordProperty("seconds", std::to_string(seconds.count()));
    std::cout << "end-to-end run: " << seconds.count() << " s\n";
}

// A list that cannot be read, as a desktop makes them: the program says so in a message box
// and, once it is answered, ends with status 1, having touched nothing.
TEST_F(EndToEndTest, AListThatCannotBeReadEndsTheStartTouchingNothing) {
    const fs::path folder = ListFile().parent_path();
    // The folders are open to the ordinary user that one case runs as.
    for (const fs::path& p : {m_folder.Path(), m_folder.Path() / "root"})
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path userRun = m_folder.Path() / "user-run";
    fs::create_directories(userRun);
    const bool bRoot = ::geteuid() == 0;
    // The other user runs the program from a copy it can reach.
    const OtherUser user;
#if defined(__SANITIZE_ADDRESS__) // GCC
    const bool bSanitized = true;
#elif defined(__has_feature)
    const bool bSanitized = __has_feature(address_sanitizer); // clang
#else
    const bool bSanitized = false;
#endif
    const struct Case {
        const char* name;
        std::function<void()> make;
        std::vector<std::string> wrapper; // what the program is started under; setpriv: as 65534
        const char* skipped;              // why the case cannot run here, or null
    } cases[] = {
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(ListFile().c_str(), 0644), 0); }, {}, nullptr},
        {"another user's list",
         [&] {
             WriteBytes(ListFile(), std::string(44, '\0'));
             fs::permissions(ListFile(), fs::perms::owner_read | fs::perms::owner_write);
             ASSERT_EQ(::chown(userRun.c_str(), 65534, 65534), 0);
         },
         {"setpriv"},
         bRoot ? nullptr : "running the program as another user needs root"},
        // 10,000,000 empty records: far more than the memory the program is allowed.
        {"too large",
         [&] { fs::resize_file((std::ofstream(ListFile()), ListFile()), 200'000'000); },
         {"prlimit", "--as=2000000000", "--"},
         bSanitized ? "the address sanitizer needs an unlimited address space" : nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.skipped) {
            std::cout << "skipped \"" << c.name << "\": " << c.skipped << "\n";
            continue;
        }
        fs::remove_all(folder.parent_path());
        fs::create_directories(folder);
        for (const fs::path& p : {folder.parent_path(), folder})
            fs::permissions(p, fs::perms::all);
        ASSERT_NO_FATAL_FAILURE(c.make());
        std::vector<std::string> before;
        for (const auto& e : fs::directory_iterator(folder))
            before.push_back(e.path().filename().string());

        std::vector<std::string> argv;
        for (const std::string& w : c.wrapper)
            argv.push_back(w == "prlimit" ? FindProgram(w) : w);
        argv.push_back(VESTORYLIST_PROGRAM);
        ChildProcess::Environment env = ProgramEnvironment();
        if (!c.wrapper.empty() && c.wrapper[0] == "setpriv") {
            argv = user.Command({VESTORYLIST_PROGRAM});
            env["XDG_RUNTIME_DIR"] = userRun.string();
            env["ASAN_OPTIONS"] = "detect_leaks=0"; // no leak check across the change of user
        }
        m_pProgram =
            std::make_unique<ChildProcess>(argv, env, (m_folder.Path() / "program.txt").string());
        ASSERT_TRUE(m_pProgram->Started());
        const std::string message = WaitForWindow("VestoryList");
        ASSERT_FALSE(message.empty()) << "no message: " << m_pProgram->Output();
        ASSERT_TRUE(WaitFocus(message));
        ASSERT_TRUE(m_pDesktop->Keys({"Return"}));
        EXPECT_EQ(m_pProgram->WaitExit(kStepTimeout), std::optional<int>(1))
            << m_pProgram->Output();
        std::vector<std::string> after;
        for (const auto& e : fs::directory_iterator(folder))
            after.push_back(e.path().filename().string());
        EXPECT_EQ(after, before);
    }
}

} // namespace
