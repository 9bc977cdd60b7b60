#include "platform/win/listctrl/ListCtrlWidgetQt.h"

#include "platform/win/listctrl/ImageList.h"
#include "tests/listctrl/ListCtrlTestHelpers.h"
#include "tests/listctrl/TestPictures.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A list as the program builds it: four columns, full-row selection, the state pictures of
// the test bitmap, rows whose state-image index is 1, 2 and 0.
class ListCtrlWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        m_hOld = AfxGetResourceHandle();
        AfxSetResourceHandle(&TestPictureModule());
        ASSERT_TRUE(m_images.Create(IDB_TEST_STATES, kTestPictureSize, 1, RGB(255, 0, 0)));
        m_list.SetStyle(LVS_REPORT | LVS_SHOWSELALWAYS);
        Send(m_list, LVM_SETIMAGELIST, LVSIL_STATE, Ptr(m_images.GetSafeHandle()));
        Send(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        InsertProgramColumns(m_list);
        const UINT states[] = {0x1000, 0x2000, 0};
        for (int i = 0; i < 3; ++i) {
            InsertRow(m_list, i, u"");
            SetState(m_list, i, states[i], LVIS_STATEIMAGEMASK);
            SetText(m_list, i, 1, u"Shirt");
        }
        m_list.SetNotifySink([this](NMHDR* pHdr) {
            const auto* pNm = reinterpret_cast<NMITEMACTIVATE*>(pHdr);
            m_seen.push_back({pHdr->code, pNm->iItem, pNm->iSubItem,
                              Send(m_list, LVM_GETSELECTIONMARK), pNm->ptAction});
            return LRESULT(0);
        });
        m_pWidget = std::make_unique<CListCtrlWidget>(m_list, nullptr);
        m_pWidget->resize(240, 200);
        m_pWidget->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        m_pWidget.reset();
        AfxSetResourceHandle(m_hOld);
    }

    // Cell (row, column) in the widget's own (client) coordinates.
    QRect Cell(int iRow, int iCol) const {
        const QRect r = m_pWidget->visualRect(m_pWidget->model()->index(iRow, iCol));
        return r.translated(m_pWidget->viewport()->pos());
    }
    QColor StatePictureCentre(const QImage& shot, int iRow) const {
        const QRect cell = Cell(iRow, 0);
        const int y = cell.top() + (cell.height() - kTestPictureSize) / 2;
        return shot.pixelColor(cell.left() + 2 + kTestPictureSize / 2, y + kTestPictureSize / 2);
    }

    struct Seen {
        UINT code;
        int iItem;
        int iSubItem;
        LRESULT mark;
        POINT pt;
    };
    HINSTANCE m_hOld = nullptr;
    CImageList m_images;
    CListCtrlModel m_list;
    std::unique_ptr<CListCtrlWidget> m_pWidget;
    std::vector<Seen> m_seen;
};

TEST_F(ListCtrlWidgetTest, AClickOnARowSelectsItThenNotifies) {
    const QPoint pt = Cell(1, 1).center();
    QTest::mouseClick(m_pWidget->viewport(), Qt::LeftButton, {}, pt - m_pWidget->viewport()->pos());
    ASSERT_EQ(m_seen.size(), 1U);
    EXPECT_EQ(m_seen[0].code, NM_CLICK);
    EXPECT_EQ(m_seen[0].iItem, 1);
    EXPECT_EQ(m_seen[0].iSubItem, 1);
    EXPECT_EQ(m_seen[0].mark, 1); // already marked when the parent hears of it
    EXPECT_EQ(m_seen[0].pt.x, pt.x());
    EXPECT_EQ(m_seen[0].pt.y, pt.y());
    EXPECT_EQ(GetState(m_list, 1, LVIS_SELECTED), LVIS_SELECTED);

    // The widget's client point hit-tests to the same row, as the program does it.
    LVHITTESTINFO info{{pt.x(), pt.y()}, 0, 0, 0};
    EXPECT_EQ(Send(m_list, LVM_HITTEST, 0, Ptr(&info)), 1);
    // And the row's rectangle is where the row is drawn.
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    EXPECT_TRUE(Send(m_list, LVM_GETITEMRECT, 1, Ptr(&bounds)));
    EXPECT_EQ(bounds.left, Cell(1, 0).left());
    EXPECT_EQ(bounds.top, Cell(1, 0).top());
    EXPECT_EQ(bounds.bottom, Cell(1, 0).bottom() + 1);
}

TEST_F(ListCtrlWidgetTest, ClickBelowTheLastRowSelectsNothing) {
    SetState(m_list, 0, LVIS_SELECTED, LVIS_SELECTED);
    const QPoint pt(50, Cell(2, 1).bottom() + 10);
    QTest::mouseClick(m_pWidget->viewport(), Qt::LeftButton, {}, pt - m_pWidget->viewport()->pos());
    ASSERT_EQ(m_seen.size(), 1U);
    EXPECT_EQ(m_seen[0].iItem, -1);
    EXPECT_EQ(Send(m_list, LVM_GETSELECTEDCOUNT), 0);
}

TEST_F(ListCtrlWidgetTest, HeaderTapAndDividerDrag) {
    QHeaderView* pHeader = m_pWidget->horizontalHeader();
    const int y = pHeader->height() / 2;
    // The columns are 245 pixels in a 240-pixel list: a tap on the last header must not
    // scroll it sideways.
    for (int iCol : {2, 3}) {
        m_seen.clear();
        QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, {},
                          QPoint(pHeader->sectionViewportPosition(iCol) + 10, y));
        QApplication::processEvents();
        ASSERT_EQ(m_seen.size(), 1U);
        EXPECT_EQ(m_seen[0].code, LVN_COLUMNCLICK);
        EXPECT_EQ(m_seen[0].iSubItem, iCol);
        EXPECT_EQ(m_pWidget->horizontalScrollBar()->value(), 0) << iCol;
    }

    // Drag the divider between "AC" and "Item Name" 20 pixels to the right.
    const QPoint divider(pHeader->sectionViewportPosition(1) - 1, y);
    QTest::mousePress(pHeader->viewport(), Qt::LeftButton, {}, divider);
    QTest::mouseMove(pHeader->viewport(), divider + QPoint(20, 0));
    QTest::mouseRelease(pHeader->viewport(), Qt::LeftButton, {}, divider + QPoint(20, 0));
    EXPECT_EQ(Send(m_list, LVM_GETCOLUMNWIDTH, 0), 50);
    EXPECT_EQ(Send(m_list, LVM_GETCOLUMNWIDTH, 1), 100);
    EXPECT_EQ(m_seen.size(), 1U); // a drag is no header tap

    // And a width set by message shows in the header.
    Send(m_list, LVM_SETCOLUMNWIDTH, 3, 60);
    QApplication::processEvents();
    EXPECT_EQ(pHeader->sectionSize(3), 60);
}

TEST_F(ListCtrlWidgetTest, Column0ShowsTheStatePictureOfTheRowsStateImageIndex) {
    QImage shot = m_pWidget->grab().toImage();
    EXPECT_EQ(StatePictureCentre(shot, 0), QColor(Qt::green)); // index 1: picture 0
    EXPECT_EQ(StatePictureCentre(shot, 1), QColor(Qt::blue));  // index 2: picture 1
    const QColor none = StatePictureCentre(shot, 2);
    EXPECT_NE(none, QColor(Qt::green));
    EXPECT_NE(none, QColor(Qt::blue));
    // The mask colour never shows.
    const QRect cell = Cell(1, 0);
    const int y = cell.top() + (cell.height() - kTestPictureSize) / 2;
    EXPECT_NE(shot.pixelColor(cell.left() + 2, y), QColor(Qt::red));

    // A state change repaints; a selected row keeps its picture untinted.
    SetState(m_list, 0, 0x2000 | LVIS_SELECTED, LVIS_STATEIMAGEMASK | LVIS_SELECTED);
    QApplication::processEvents();
    shot = m_pWidget->grab().toImage();
    EXPECT_EQ(StatePictureCentre(shot, 0), QColor(Qt::blue));
}

TEST_F(ListCtrlWidgetTest, FullRowSelectionHighlightsEveryCellElseOnlyColumn0) {
    SetState(m_list, 1, LVIS_SELECTED, LVIS_SELECTED);
    struct Case {
        DWORD exStyle;
        bool lastCellHighlighted;
    } cases[] = {{LVS_EX_FULLROWSELECT, true}, {0, false}};
    for (const Case& c : cases) {
        Send(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(c.exStyle));
        QApplication::processEvents();
        const QImage shot = m_pWidget->grab().toImage();
        const QColor selected = shot.pixelColor(Cell(1, 0).right() - 2, Cell(1, 0).center().y());
        const QColor unselected = shot.pixelColor(Cell(0, 3).center());
        EXPECT_NE(selected, unselected);
        EXPECT_EQ(shot.pixelColor(Cell(1, 3).center()) == selected, c.lastCellHighlighted)
            << c.exStyle;
    }
}

TEST_F(ListCtrlWidgetTest, StatePictureIsReportedAsTickedOrNot) {
    QAccessibleInterface* pList = QAccessible::queryAccessibleInterface(m_pWidget.get());
    ASSERT_NE(pList, nullptr);
    QAccessibleTableInterface* pTable = pList->tableInterface();
    ASSERT_NE(pTable, nullptr);
    struct Case {
        int iRow;
        bool checkable;
        bool checked;
    } cases[] = {{0, true, false}, {1, true, true}, {2, false, false}};
    for (const Case& c : cases) {
        QAccessibleInterface* pCell = pTable->cellAt(c.iRow, 0);
        ASSERT_NE(pCell, nullptr);
        EXPECT_EQ(bool(pCell->state().checkable), c.checkable) << c.iRow;
        EXPECT_EQ(bool(pCell->state().checked), c.checked) << c.iRow;
    }
}

} // namespace

namespace {

// What a user sees of a cell's text, and the tool tip that hovering it shows.
TEST_F(ListCtrlWidgetTest, CellsShowOneLineAndCutOffTextsShowWholeInATip) {
    const struct {
        const char16_t* text;
        const char* shown;
        bool bTip;
    } cases[] = {
        {u"Shirt", "Shirt", false},
        {u"Coat\r\nwool", "Coat\u21B5wool", true},
        {u"a\nb\rc", "a\u21B5b\u21B5c", true},
        {u"A very long garment name that does not fit",
         "A very long garment name that does not fit", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        SetText(m_list, 0, 1, c.text);
        m_pWidget->SyncNow();
        const QModelIndex cell = m_pWidget->model()->index(0, 1);
        EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), QString::fromUtf8(c.shown));
        QToolTip::hideText();
        QHelpEvent help(
            QEvent::ToolTip, Cell(0, 1).center() - m_pWidget->viewport()->pos(),
            m_pWidget->viewport()->mapToGlobal(Cell(0, 1).center() - m_pWidget->viewport()->pos()));
        QApplication::sendEvent(m_pWidget->viewport(), &help);
        EXPECT_EQ(QToolTip::isVisible(), c.bTip);
        if (c.bTip) {
            EXPECT_EQ(QToolTip::text(), QString::fromUtf16(c.text));
        }
    }
    QToolTip::hideText();
}

} // namespace
