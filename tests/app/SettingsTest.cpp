// What the user makes of the window (its size, the column dividers) comes back at the next
// start, from the settings file under the test's own XDG_CONFIG_HOME.
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/WndQt.h"
#include "tests/app/AppFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <array>
#include <fstream>
#include <functional>

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

} // namespace
