// The program as a native Wayland client, on sway's headless compositor: it looks and behaves
// as on X11 under a window manager. Taps come through the compositor from a virtual pointer,
// keys from wtype, and what the screen shows from grim.
#include "tests/e2e/ProgramOnDesktop.h"
#include "tests/support/ListFile.h"
#include "tests/wayland/SwaySession.h"
#include "tests/wayland/WaylandPointer.h"

#include <gtest/gtest.h>

#include <ctime>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// Where the pointer rests while pictures are taken: the software cursor is in them.
constexpr int kRestX = SwaySession::kWidth - 1;
constexpr int kRestY = SwaySession::kHeight - 1;
// The handheld's caption strip, which a dialog paints where no window manager draws a title.
constexpr std::uint32_t kCaptionStrip = 0x003399;

const std::vector<Garment> kGarments = {
    {0, u"Blue shirt", u"2", u"M", u"", 0, 0, 0},
    {0, u"Wool coat with a name much too long for its column", u"1", u"L", u"", 0, 0, 0},
};

class WaylandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string missing;
        for (const std::string& tool : SwaySession::MissingTools())
            missing += " " + tool;
        if (!missing.empty())
            GTEST_SKIP() << "needs sway, wtype and grim (Debian sway, wtype, grim); missing:"
                         << missing;
        if (std::string(VIRTUAL_POINTER_PROGRAM).empty())
            GTEST_SKIP() << "the virtual pointer was not built: it needs libwayland-client and "
                            "wayland-scanner (Debian libwayland-dev) when configuring";
        if (!fs::exists(QT_PLUGINS "/platforms/libqwayland-generic.so"))
            GTEST_SKIP() << "needs Qt's Wayland platform (Debian qt6-wayland)";
        fs::create_directories(m_folder.Path() / "run");
        fs::permissions(m_folder.Path() / "run", fs::perms::owner_all);
        WriteListFile(ListFile(), kGarments);
        m_pSway = std::make_unique<SwaySession>(m_folder.Path());
        ASSERT_TRUE(m_pSway->Started()) << m_pSway->Output();
        m_pPointer =
            std::make_unique<WaylandPointer>(m_pSway->ClientEnvironment(), m_folder.Path());
        ASSERT_TRUE(m_pPointer->Move(kRestX, kRestY)) << m_pPointer->Output();
    }

    void TearDown() override {
        m_pProgram.reset(); // before the compositor it shows its windows on
        m_pPointer.reset();
        m_pSway.reset();
    }

    fs::path ListFile() const {
        return m_folder.Path() / "root" / "My Documents" / "Personal" / "Vestory.vsl";
    }

    // Starts the program and waits until its main window is shown.
    testing::AssertionResult Launch() {
        ChildProcess::Environment env = m_pSway->ClientEnvironment();
        const fs::path home = m_folder.Path();
        env.insert({{"VESTORYLIST_ROOT", (home / "root").string()},
                    {"XDG_CONFIG_HOME", (home / "config").string()},
                    {"XDG_RUNTIME_DIR", (home / "run").string()},
                    {"XDG_STATE_HOME", (home / "state").string()},
                    {"XDG_DATA_HOME", (home / "data").string()},
                    {"VESTORYLIST_EXIT_AFTER_FIRST_PAINT", std::nullopt},
                    {"LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS}});
        m_pProgram = std::make_unique<ChildProcess>(std::vector<std::string>{VESTORYLIST_PROGRAM},
                                                    env, (home / "program.txt").string());
        const testing::AssertionResult shown = WaitFor(
            "the main window \"VestoryList\" to show",
            [&] {
                m_main = m_pSway->Window("VestoryList").value_or(SwaySession::Area{});
                return m_main.cx > 0 || !m_pProgram->Running();
            },
            kStartTimeout);
        if (shown && m_pProgram->Running())
            return shown;
        return testing::AssertionFailure()
               << "the program did not show its window: " << m_pProgram->Output();
    }

    // The rows shown in the main window now. Sway tells where a new window goes before it
    // shows it there: the place is read again with each picture.
    std::vector<ProgramOnDesktop::ShownRow> Rows() {
        EXPECT_TRUE(m_pPointer->Move(kRestX, kRestY));
        m_main = m_pSway->Window("VestoryList").value_or(m_main);
        const auto picture = m_pSway->Picture(m_main);
        return picture ? ProgramOnDesktop::RowsShown(*picture)
                       : std::vector<ProgramOnDesktop::ShownRow>();
    }

    // The list file's garments, once what holds for them.
    testing::AssertionResult
    WaitForList(const std::string& what,
                const std::function<bool(const std::vector<CData>&)>& holds) {
        return WaitFor(
            what,
            [&] {
                try {
                    return holds(ReadListFile(ListFile()));
                } catch (...) {
                    return false;
                }
            },
            kStepTimeout);
    }

    TempFolder m_folder;
    std::unique_ptr<SwaySession> m_pSway;
    std::unique_ptr<WaylandPointer> m_pPointer;
    std::unique_ptr<ChildProcess> m_pProgram;
    SwaySession::Area m_main;
};

bool TickedToday(const CData& garment) {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    ::localtime_r(&now, &today);
    return garment.m_bAtCleaners == 1 && garment.m_nMonth == today.tm_mon + 1 &&
           garment.m_nDay == today.tm_mday && garment.m_nYear == today.tm_year + 1900;
}

// How many pixels of the part differ between the two pictures.
int Changed(const XwdImage& before, const XwdImage& after, const SwaySession::Area& part) {
    int n = 0;
    for (int y = part.y; y < part.y + part.cy; ++y)
        for (int x = part.x; x < part.x + part.cx; ++x)
            n += before.Pixel(x, y) != after.Pixel(x, y);
    return n;
}

// Whether a window new since `before` has the top-left corner of its frame at (x, y): a line
// of one colour, not there before, runs right and down from it.
bool FrameCornerAt(const XwdImage& before, const XwdImage& after, int x, int y) {
    constexpr int kEdge = 40;
    const std::uint32_t colour = after.Pixel(x, y);
    int nTop = 0, nLeft = 0;
    for (int i = 0; i < kEdge; ++i) {
        nTop += after.Pixel(x + i, y) == colour && before.Pixel(x + i, y) != colour;
        nLeft += after.Pixel(x, y + i) == colour && before.Pixel(x, y + i) != colour;
    }
    return nTop >= kEdge - 4 && nLeft >= kEdge - 4;
}

TEST_F(WaylandTest, TipsTapsThePopUpAndTheItemDialogAsUnderAWindowManager) {
    ASSERT_TRUE(Launch());
    std::vector<ProgramOnDesktop::ShownRow> rows;
    ASSERT_TRUE(WaitFor(
        "both garments to show", [&] { return (rows = Rows()).size() == 2; }, kStepTimeout));
    EXPECT_FALSE(rows[0].bTicked);
    const int xName = m_main.x + 60;

    // Hovering the long name shows it whole in a tool tip, which reaches past the window.
    const auto plain = m_pSway->Picture();
    ASSERT_TRUE(plain);
    // Entering the window is not yet a motion in it, which the tip waits for.
    ASSERT_TRUE(m_pPointer->Move(xName - 4, m_main.y + rows[1].yCentre));
    ASSERT_TRUE(m_pPointer->Move(xName, m_main.y + rows[1].yCentre));
    const SwaySession::Area beside{m_main.x + m_main.cx, m_main.y + rows[1].yCentre,
                                   SwaySession::kWidth - m_main.x - m_main.cx, 40};
    EXPECT_TRUE(WaitFor(
        "a tool tip beside the window",
        [&] {
            const auto now = m_pSway->Picture();
            return now && Changed(*plain, *now, beside) > 100;
        },
        kStepTimeout));

    // A tap in the box ticks it and saves.
    ASSERT_TRUE(m_pPointer->Tap(m_main.x + 10, m_main.y + rows[0].yCentre));
    EXPECT_TRUE(WaitForList(
        "the first garment ticked today in the list file", [](const std::vector<CData>& list) {
            return list.size() == 2 && TickedToday(list[0]) && list[1].m_bAtCleaners == 0;
        }));
    EXPECT_TRUE(WaitFor(
        "the tick to show", [&] { return (rows = Rows()).size() == 2 && rows[0].bTicked; },
        kStepTimeout));

    // A tap on the last name opens the pop-up menu with its corner at the pointer.
    const auto before = m_pSway->Picture();
    ASSERT_TRUE(before);
    const int yTap = m_main.y + rows[1].yCentre;
    ASSERT_TRUE(m_pPointer->Tap(xName, yTap));
    bool bAtPointer = false;
    WaitUntil(
        [&] {
            EXPECT_TRUE(m_pPointer->Move(kRestX, kRestY));
            const auto after = m_pSway->Picture();
            for (int dy = -2; after && dy <= 2 && !bAtPointer; ++dy)
                for (int dx = -2; dx <= 2 && !bAtPointer; ++dx)
                    bAtPointer = FrameCornerAt(*before, *after, xName + dx, yTap + dy);
            return bAtPointer;
        },
        kStepTimeout);
    ASSERT_TRUE(bAtPointer) << "no pop-up menu with its corner at the tap (" << xName << ", "
                            << yTap << ")";

    // New, its first item, opens the item dialog: its title once, in the compositor's bar.
    ASSERT_TRUE(m_pPointer->Tap(xName + 20, yTap + 10));
    // Shown where sway said, unlike the pictures taken before.
    SwaySession::Area dialog;
    std::optional<XwdImage> shown;
    ASSERT_TRUE(WaitFor(
        "the item dialog on the screen",
        [&] {
            dialog = m_pSway->Window("Dialog").value_or(SwaySession::Area{});
            shown = dialog.cx > 0 && m_pPointer->Move(kRestX, kRestY) ? m_pSway->Picture()
                                                                      : std::nullopt;
            return shown && Changed(*before, *shown, dialog) > dialog.cx * dialog.cy / 2;
        },
        kStepTimeout));
    int nStrip = 0;
    for (int y = dialog.y; y < dialog.y + dialog.cy; ++y)
        for (int x = dialog.x; x < dialog.x + dialog.cx; ++x)
            nStrip += shown->Pixel(x, y) == kCaptionStrip;
    EXPECT_EQ(nStrip, 0) << "the dialog paints a caption strip of its own";
    EXPECT_LE(dialog.cx, 240);

    // Escape closes it and leaves the list as it was.
    ASSERT_TRUE(m_pSway->Keys({"-k", "Escape"}));
    EXPECT_TRUE(WaitFor(
        "the item dialog to close", [&] { return !m_pSway->Window("Dialog"); }, kStepTimeout));
    EXPECT_EQ(ReadListFile(ListFile()).size(), 2u);
}

TEST_F(WaylandTest, KeysAddAGarmentAndTheSizeComesBackAtTheNextStart) {
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(m_pSway->Keys({"-k", "Insert"}));
    ASSERT_TRUE(WaitFor(
        "the item dialog", [&] { return m_pSway->Window("Dialog").has_value(); }, kStepTimeout));
    ASSERT_TRUE(m_pSway->Keys({"Silk tie", "-k", "Return"}));
    EXPECT_TRUE(WaitForList("the new garment in the list file", [](const std::vector<CData>& list) {
        return list.size() == 3 && list[2].m_strItemName.ToUtf8() == "Silk tie";
    }));

    // The user makes the window larger and quits; the next start shows it at that size.
    ASSERT_TRUE(m_pSway->Swaymsg({"[title=\"^VestoryList$\"]", "resize", "set", "420", "360"}));
    SwaySession::Area larger;
    ASSERT_TRUE(WaitFor(
        "the window to grow",
        [&] {
            larger = m_pSway->Window("VestoryList").value_or(SwaySession::Area{});
            return larger.cx > m_main.cx && larger.cy > m_main.cy;
        },
        kStepTimeout));
    ASSERT_TRUE(m_pSway->Keys({"-M", "ctrl", "q", "-m", "ctrl"}));
    ASSERT_EQ(m_pProgram->WaitExit(kStepTimeout), std::optional<int>(0)) << m_pProgram->Output();
    ASSERT_TRUE(Launch());
    EXPECT_EQ(m_main.cx, larger.cx);
    EXPECT_EQ(m_main.cy, larger.cy);
}

// The screen reader's test, with the program on this compositor instead of an X server.
TEST_F(WaylandTest, AScreenReaderReadsTheListAndTicksABox) {
    ChildProcess::Environment env = m_pSway->ClientEnvironment();
    env["LSAN_OPTIONS"] = "suppressions=" LSAN_SUPPRESSIONS;
    ChildProcess reader(
        {SYSTEM_PYTHON, SCREEN_READER_TEST, "--wayland", VESTORYLIST_PROGRAM, VSL_PROGRAM}, env,
        (m_folder.Path() / "reader.txt").string());
    const std::optional<int> status = reader.WaitExit(60s);
    if (status == std::optional<int>(77))
        GTEST_SKIP() << reader.Output();
    EXPECT_EQ(status, std::optional<int>(0)) << reader.Output();
}

} // namespace
