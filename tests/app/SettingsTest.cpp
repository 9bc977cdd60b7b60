// What the user makes of the window (its size, the column dividers) comes back at the next
// start, from the settings file under the test's own XDG_CONFIG_HOME.
#include "platform/core/Profile.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/WndQt.h"
#include "tests/app/AppFixture.h"
#include "tests/e2e/ChildProcess.h"
#include "tests/support/CaseName.h"
#include "tests/support/Input.h"
#include "tests/support/ListFile.h"
#include "ui/VestoryListView.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>

#include <array>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace {

const std::vector<Garment> kGarments = {{0, u"Shirt", u"2", u"M", u"", 0, 0, 0}};

struct Shown {
    int cxClient, cyClient;
    std::array<int, 4> widths;      // LVM_GETCOLUMNWIDTH
    std::array<int, 4> shownWidths; // the header's sections
    bool bHorizontalScroll;
};

struct SettingsCase {
    const char* name;
    std::function<void(CWnd* pFrame, QTableView* pList)> change; // the user, in the first run
    Shown shown;                                                 // the second run
};

class SettingsSurvive : public AppFixture, public ::testing::WithParamInterface<SettingsCase> {
protected:
    QTableView* List() { return static_cast<QTableView*>(AfxGetWidget(View())); }

    Shown Read() {
        Shown s{};
        QWidget* pFrame = AfxGetWidget(Frame());
        s.cxClient = pFrame->width();
        s.cyClient = pFrame->height();
        for (int i = 0; i < 4; ++i) {
            s.widths[std::size_t(i)] = int(View()->SendMessage(LVM_GETCOLUMNWIDTH, WPARAM(i)));
            s.shownWidths[std::size_t(i)] = List()->horizontalHeader()->sectionSize(i);
        }
        s.bHorizontalScroll = List()->horizontalScrollBar()->isVisible();
        return s;
    }
};

TEST_P(SettingsSurvive, ARestart) {
    ASSERT_TRUE(Start(kGarments));
    GetParam().change(Frame(), List());
    ProcessEvents();
    TearDown(); // the program ends: the settings are written
    ASSERT_TRUE(std::ifstream(m_root.SettingsFile()).good());

    ASSERT_TRUE(Start(kGarments));
    ProcessEvents();
    const Shown got = Read();
    const Shown& want = GetParam().shown;
    EXPECT_EQ(got.cxClient, want.cxClient);
    EXPECT_EQ(got.cyClient, want.cyClient);
    EXPECT_EQ(got.widths, want.widths);
    // The name column takes the room the others leave, less the vertical scroll bar if any.
    const int cxRows = List()->viewport()->width();
    std::array<int, 4> shownWanted = want.shownWidths;
    if (shownWanted[1] == -1)
        shownWanted[1] = cxRows - want.widths[0] - want.widths[2] - want.widths[3];
    EXPECT_EQ(got.shownWidths, shownWanted);
    EXPECT_EQ(got.bHorizontalScroll, want.bHorizontalScroll);

    // Written again over the first: a settings file keeps no backup and no history.
    TearDown();
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(m_root.SettingsFile().parent_path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{m_root.SettingsFile().filename().string()});
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SettingsSurvive,
    ::testing::Values(
        // The handheld's screen: the columns are wider than the list, as on the device.
        SettingsCase{"Nothing", [](CWnd*, QTableView*) {},
                     Shown{240, 320, {30, 100, 35, 80}, {30, 100, 35, 80}, true}},
        // A wider window: the name gets the room, no scroll bar; its own width stays 100.
        SettingsCase{"WindowWidened",
                     [](CWnd* pFrame, QTableView*) { AfxGetWidget(pFrame)->resize(420, 300); },
                     Shown{420, 300, {30, 100, 35, 80}, {30, -1, 35, 80}, false}},
        // A divider dragged: every column keeps the width it showed (the name its 275 of
        // room), so the widened "AC" pushes the others past the edge.
        SettingsCase{"DividerDragged",
                     [](CWnd* pFrame, QTableView* pList) {
                         AfxGetWidget(pFrame)->resize(420, 300);
                         ProcessEvents();
                         pList->horizontalHeader()->resizeSection(0, 50);
                     },
                     Shown{420, 300, {50, 275, 35, 80}, {50, 275, 35, 80}, true}}),
    CaseName());

std::string SettingsText(int x, int y, int cx, int cy) {
    return "[Window]\nLeft=" + std::to_string(x) + "\nTop=" + std::to_string(y) +
           "\nWidth=" + std::to_string(cx) + "\nHeight=" + std::to_string(cy) + "\n";
}

// A saved place that is not wholly on the screen comes back moved onto it, its frame (the
// platform's, in m) no larger than it.
using WindowPlaceTest = AppFixture;

TEST_F(WindowPlaceTest, ASavedPlaceComesBackOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int right = screen.x() + screen.width(), bottom = screen.y() + screen.height();
    struct Case {
        const char* what;
        std::array<int, 4> saved; // left, top, width, height: QRect cannot hold any numbers
        std::function<QRect(QSize m)> frame;
    } const cases[] = {
        {"on the screen",
         {10, 20, 300, 200},
         [](QSize m) { return QRect(10, 20, 300 + m.width(), 200 + m.height()); }},
        {"past the right edge",
         {right - 24, 20, 600, 200},
         [&](QSize m) {
             return QRect(right - 600 - m.width(), 20, 600 + m.width(), 200 + m.height());
         }},
        {"above and left of it",
         {-5000, -5000, 300, 200},
         [&](QSize m) { return QRect(screen.x(), screen.y(), 300 + m.width(), 200 + m.height()); }},
        {"larger than it",
         {0, 0, screen.width() + 500, screen.height() + 500},
         [&](QSize) { return screen; }},
        {"numbers no screen has",
         {2000000000, 2000000000, 2000000000, 300},
         [&](QSize m) {
             return QRect(screen.x(), bottom - 300 - m.height(), screen.width(), 300 + m.height());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::create_directories(m_root.SettingsFile().parent_path());
        WriteBytes(m_root.SettingsFile(),
                   SettingsText(c.saved[0], c.saved[1], c.saved[2], c.saved[3]));
        ASSERT_TRUE(Start(kGarments));
        ProcessEvents();
        QWidget* pFrame = AfxGetWidget(Frame());
        const QSize margins = pFrame->frameGeometry().size() - pFrame->size();
        EXPECT_EQ(pFrame->frameGeometry(), c.frame(margins))
            << margins.width() << " " << margins.height();
        TearDown();
    }
}

// The settings file is read as the list is: the start never waits on what lies in its place,
// nor reads more than settings can take, and what it could not read it leaves as it found it.
// A folder whose name is not UTF-8 is the folder written to and read from.
TEST(SettingsFileTest, ReadOnlyWhatIsSettingsAndLeaveTheRest) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path& file)> make;
        const char* configFolder;
        bool bWrittenAtExit;
    } const cases[] = {
        {"a FIFO", [](const auto& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }, "config", false},
        {"a link to an endless device",
         [](const auto& f) { std::filesystem::create_symlink("/dev/zero", f); }, "config", false},
        {"a file larger than settings",
         [](const auto& f) {
             WriteBytes(f, SettingsText(0, 0, 420, 300) +
                               std::string(std::size_t(CProfile::kMaxBytes), ';'));
         },
         "config", false},
        {"settings that the program's own would push past the bound",
         [](const auto& f) {
             std::string text;
             for (int i = 0; text.size() < CProfile::kMaxBytes - 100; ++i)
                 text += "[S" + std::to_string(i) + "]\nk=v\n";
             WriteBytes(f, text);
         },
         "config", false},
        {"a folder named in bytes that are not UTF-8",
         [](const auto& f) { WriteBytes(f, SettingsText(5, 5, 300, 280)); }, "config-\xff", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceRoot root;
        const std::filesystem::path config = root.Path() / c.configFolder;
        const std::filesystem::path file =
            config / root.SettingsFile().lexically_relative(root.Path() / "config");
        std::filesystem::create_directories(file.parent_path());
        c.make(file);
        const auto type = std::filesystem::symlink_status(file).type();
        const std::string before =
            type == std::filesystem::file_type::regular ? FileBytes(file) : "";
        ChildProcess program(
            {VESTORYLIST_PROGRAM},
            {{"XDG_CONFIG_HOME", config.string()}, {"VESTORYLIST_EXIT_AFTER_FIRST_PAINT", "1"}},
            (root.Path() / "output.txt").string());
        EXPECT_EQ(program.WaitExit(std::chrono::seconds(20)), 0) << program.Output();
        EXPECT_EQ(std::filesystem::symlink_status(file).type(), type);
        if (c.bWrittenAtExit) {
            // Read (the place came back) and written back to the same file.
            EXPECT_NE(FileBytes(file).find("Width=300\n"), std::string::npos) << FileBytes(file);
            EXPECT_FALSE(std::filesystem::exists(root.Path() / "config-\xEF\xBF\xBD"));
        } else if (type == std::filesystem::file_type::regular) {
            EXPECT_TRUE(FileBytes(file) == before);
        }
    }
}

} // namespace
