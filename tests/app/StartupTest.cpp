// Start-up shows the stored list: rows, pictures, dates and columns read back from the list.
#include "data/VestoryListDoc.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/frame/XpmQt.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/support/Input.h"
#include "tests/support/ListReadback.h"
#include "tests/support/Screenshot.h"
#include "ui/VestoryListView.h"

#include <QApplication>
#include <QImage>
#include <QToolButton>

#include <cstdlib>

namespace {

const std::vector<Garment> kGarments = {
    {0, u"Shirt", u"2", u"M", u"collar", 3, 7, 2002},
    {1, u"Coat", u"1", u"XL", u"lining", 12, 25, 2002},
    {-7, u"Tie", u"3", u"", u"silk", 4, 9, 0}, // any non-zero flag ticks; year 0: no date
    {0, u"Blouse", u"", u"S", u"", 0, 0, 0},
};

using StartupTest = AppFixture;

TEST_F(StartupTest, ShowsOneRowPerRecordInOrder) {
    ASSERT_TRUE(Start(kGarments));
    CWnd* pList = View();
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(ListItemCount(pList), int(kGarments.size()));

    const struct {
        int stateImage;
        const char16_t* date;
    } expected[] = {{1, u"03/07/2002"}, {2, u"12/25/2002"}, {2, u""}, {1, u""}};
    for (int i = 0; i < int(kGarments.size()); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ListStateImage(pList, i), expected[i].stateImage);
        EXPECT_EQ(ListItemText(pList, i, 0), u"");
        EXPECT_EQ(ListItemText(pList, i, 1), kGarments[std::size_t(i)].name);
        EXPECT_EQ(ListItemText(pList, i, 2), kGarments[std::size_t(i)].qty);
        EXPECT_EQ(ListItemText(pList, i, 3), expected[i].date);
        EXPECT_EQ(ListItemState(pList, i, LVIS_SELECTED | LVIS_FOCUSED) & LVIS_SELECTED, 0u);
        // Size and note are never shown.
        for (int sub = 0; sub < 4; ++sub) {
            const CString text = ListItemText(pList, i, sub);
            if (*kGarments[std::size_t(i)].size) {
                EXPECT_NE(text, kGarments[std::size_t(i)].size);
            }
            if (*kGarments[std::size_t(i)].note) {
                EXPECT_NE(text, kGarments[std::size_t(i)].note);
            }
        }
    }
}

TEST_F(StartupTest, SetsUpColumnsAndFullRowSelection) {
    ASSERT_TRUE(Start({}));
    CWnd* pList = View();
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(ListItemCount(pList), 0);
    const struct {
        const char16_t* title;
        int width;
    } columns[] = {{u"AC", 30}, {u"Item Name", 100}, {u"Qty", 35}, {u"Date", 80}};
    ASSERT_EQ(ListColumnCount(pList), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ListColumnTitle(pList, i), columns[i].title);
        EXPECT_EQ(ListColumnWidth(pList, i), columns[i].width);
    }
    EXPECT_EQ(pList->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE), LRESULT(LVS_EX_FULLROWSELECT));
    EXPECT_NE(pList->GetStyle() & LVS_REPORT, 0u);
    EXPECT_EQ(pList->GetStyle() & LVS_SHOWSELALWAYS, 0u);
}

TEST_F(StartupTest, MainWindowHasTheHandheldsSizeAndTitle) {
    ASSERT_TRUE(Start(kGarments));
    CString title;
    Frame()->GetWindowText(title);
    EXPECT_EQ(title, u"VestoryList");
    RECT rc;
    Frame()->GetClientRect(&rc);
    EXPECT_EQ(rc.right, 240);
    EXPECT_EQ(rc.bottom, 320);
    EXPECT_TRUE(Frame()->IsWindowVisible());

    // The view fills the frame above the command bar, which runs along the bottom edge.
    RECT rcView, rcBar;
    View()->GetClientRect(&rcView);
    CommandBar()->GetClientRect(&rcBar);
    POINT ptBar{0, 0};
    CommandBar()->ClientToScreen(&ptBar);
    EXPECT_EQ(ptBar.y + rcBar.bottom, 320);
    EXPECT_GT(rcBar.bottom, 0);
    POINT ptView{0, 0};
    View()->ClientToScreen(&ptView);
    EXPECT_EQ(ptView.y, 0);
    EXPECT_EQ(rcView.right, 240);
    EXPECT_EQ(rcView.bottom, ptBar.y);
}

TEST_F(StartupTest, UpdateRowClearsADateShownBefore) {
    ASSERT_TRUE(Start(kGarments));
    CWnd* pList = View();
    ASSERT_EQ(ListItemText(pList, 1, 3), u"12/25/2002");
    // Unmarking a garment clears its drop date.
    Document()->ToggleAtCleaners(1);
    View()->UpdateRow(1);
    EXPECT_EQ(ListItemText(pList, 1, 3), u"");
    EXPECT_EQ(ListStateImage(pList, 1), 1);
    EXPECT_EQ(ListItemText(pList, 1, 1), u"Coat");
}

TEST_F(StartupTest, RefreshListRebuildsExactlyTheDocumentsRows) {
    ASSERT_TRUE(Start(kGarments));
    CWnd* pList = View();
    LVITEM select{};
    select.state = LVIS_SELECTED;
    select.stateMask = LVIS_SELECTED;
    pList->SendMessage(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    View()->RefreshList();
    View()->RefreshList();
    ASSERT_EQ(ListItemCount(pList), int(kGarments.size()));
    for (int i = 0; i < int(kGarments.size()); ++i) {
        EXPECT_EQ(ListItemText(pList, i, 1), kGarments[std::size_t(i)].name);
        EXPECT_EQ(ListItemState(pList, i, LVIS_SELECTED), 0u);
    }
}

// Counts the pixels of one colour in the check-box column of the row at client height y.
int CountInCheckBoxColumn(const WindowPicture& picture, int yTop, int yBottom, COLORREF colour) {
    int n = 0;
    for (int y = yTop; y < yBottom; ++y) {
        for (int x = 0; x < 30 && x < picture.cx; ++x)
            n += picture.At(x, y) == colour ? 1 : 0;
    }
    return n;
}

TEST_F(StartupTest, TickedRowShowsTheBlueTickAndUntickedTheGreyBox) {
    ASSERT_TRUE(Start(kGarments));
    CWnd* pList = View();
    const WindowPicture picture = GrabWindow(pList);
    ASSERT_GT(picture.cy, 0);

    // Where each row lies, as the list's own hit test says.
    std::vector<std::pair<int, int>> rowSpan(kGarments.size(), {-1, -1});
    for (int y = 0; y < picture.cy; ++y) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{8, y};
        const int row = int(pList->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row < 0 || row >= int(rowSpan.size()))
            continue;
        if (rowSpan[std::size_t(row)].first < 0)
            rowSpan[std::size_t(row)].first = y;
        rowSpan[std::size_t(row)].second = y + 1;
    }

    constexpr COLORREF kBlue = RGB(0, 0, 255);
    constexpr COLORREF kGrey = RGB(128, 128, 128);
    constexpr COLORREF kBlack = RGB(0, 0, 0);
    // The tick has 40 blue pixels; the box's frame is 15 by 14 pixels, 54 in all.
    const auto [y0, y0End] = rowSpan[0];
    const auto [y1, y1End] = rowSpan[1];
    ASSERT_GE(y0, 0);
    ASSERT_GE(y1, 0);
    EXPECT_EQ(CountInCheckBoxColumn(picture, y1, y1End, kBlue), 40);
    EXPECT_GE(CountInCheckBoxColumn(picture, y1, y1End, kBlack), 54);
    EXPECT_EQ(CountInCheckBoxColumn(picture, y0, y0End, kBlue), 0);
    EXPECT_GE(CountInCheckBoxColumn(picture, y0, y0End, kGrey), 54);
}

// The blue pixels of a picture, as offsets from the top-left one.
std::vector<std::pair<int, int>> BluePattern(const QImage& image) {
    std::vector<std::pair<int, int>> pattern;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(0, 0, 255))
                pattern.emplace_back(x, y);
        }
    }
    const auto [x0, y0] = pattern.empty() ? std::pair(0, 0) : pattern.front();
    for (auto& [x, y] : pattern) {
        x -= x0;
        y -= y0;
    }
    return pattern;
}

// The check boxes and the tool bar's buttons are drawn from the pictures made for the display's
// device pixel ratio, pixel for pixel: at 200% (ctest runs this with QT_SCALE_FACTOR=2 too)
// those drawn at twice the size, not the small ones blown up.
TEST_F(StartupTest, PicturesAreTheOnesForTheDisplaysPixelRatio) {
    ASSERT_TRUE(Start({{1, u"Coat", u"1", u"", u"", 12, 25, 2002}}));
    const int nScale = qApp->devicePixelRatio() > 1 ? 2 : 1;
    const AFX_RESOURCE* pTicks = AfxFindResource(VestoryListResources(), IDB_CHECKBOXES, RT_BITMAP);
    ASSERT_NE(pTicks, nullptr);
    const QImage ticked =
        AfxBitmapImage(*pTicks, nScale).copy(16 * nScale, 0, 16 * nScale, 16 * nScale);
    const QImage shown =
        AfxGetWidget(View())->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(ticked.isNull());
    EXPECT_EQ(shown.width(), 240 * nScale);
    EXPECT_EQ(BluePattern(shown.copy(0, 0, 30 * nScale, shown.height())), BluePattern(ticked));

    const AFX_RESOURCE* pBar = AfxFindResource(VestoryListResources(), IDR_MAINFRAME, RT_BITMAP);
    ASSERT_NE(pBar, nullptr);
    const QImage bar = AfxBitmapImage(*pBar, nScale);
    const QList<QToolButton*> buttons =
        AfxGetWidget(CommandBar())->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(buttons.size(), 6);
    for (int i = 0; i < 4; ++i) {
        const QImage icon = buttons[2 + i]->icon().pixmap(QSize(16, 16), nScale).toImage();
        ASSERT_EQ(icon.size(), QSize(16 * nScale, 16 * nScale)) << i;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb rgb = bar.pixel(16 * nScale * i + x, y);
                if (rgb != qRgb(192, 192, 192)) {
                    ASSERT_EQ(icon.pixel(x, y), rgb) << "button " << i << " at " << x << "," << y;
                }
            }
        }
    }
}

} // namespace

// The picture of the main window in the README comes from here:
// VESTORYLIST_SCREENSHOT=docs/screenshot-main.png ctest -R Screenshot
TEST_F(StartupTest, MainWindowPicture) {
    ASSERT_TRUE(Start({
        {1, u"White shirt", u"3", u"16", u"", 3, 7, 2002},
        {0, u"Grey suit", u"1", u"42R", u"", 0, 0, 0},
        {1, u"Silk tie", u"2", u"", u"stain", 3, 9, 2002},
        {0, u"Wool coat", u"1", u"L", u"", 0, 0, 0},
        {1, u"Blouse", u"2", u"S", u"", 12, 25, 2002},
        {0, u"Trousers", u"4", u"32", u"", 0, 0, 0},
    }));
    const char* target = std::getenv("VESTORYLIST_SCREENSHOT");
    const std::string path = target ? target : (m_root.Path() / "main.png").string();
    EXPECT_TRUE(SaveWindowPicture(Frame(), path));
    const WindowPicture picture = GrabWindow(Frame());
    EXPECT_EQ(picture.cx, 240);
    EXPECT_EQ(picture.cy, 320);
}
