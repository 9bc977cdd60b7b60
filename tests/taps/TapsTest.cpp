// Taps on the list as a user makes them: the check box, the pop-up menu and its commands,
// the column headers. Every tap is a real press and release on the device screen.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/support/CommandBarReadback.h"
#include "tests/support/Input.h"
#include "tests/support/ListReadback.h"
#include "tests/support/Modal.h"
#include "ui/VestoryListView.h"

#include <ctime>
#include <string>

namespace {

const Garment kShirt = {0, u"Shirt", u"10", u"M", u"collar", 0, 0, 0};
const Garment kCoat = {1, u"Coat", u"9", u"XL", u"lining", 12, 25, 2025};
const Garment kTie = {0, u"tie", u"2", u"", u"silk", 0, 0, 0};
const Garment kApron = {1, u"Apron", u"", u"", u"", 3, 7, 2026};

class Taps : public AppFixture {
protected:
    std::string ListFileBytes() { return FileBytes(m_root.ListFile()); }

    // Client y of the middle of a row, found the way the program finds rows: by hit test.
    LONG RowClientY(int row) {
        RECT client;
        View()->GetClientRect(&client);
        LONG first = -1, last = -1;
        for (LONG y = 0; y < client.bottom; ++y) {
            if (HitTest({40, y}) == row) {
                if (first < 0)
                    first = y;
                last = y;
            }
        }
        EXPECT_GE(first, 0) << "row " << row << " is not on screen";
        return (first + last) / 2;
    }
    int HitTest(POINT client) {
        LVHITTESTINFO hit = {};
        hit.pt = client;
        return int(View()->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    }
    POINT ToDevice(POINT client) {
        View()->ClientToScreen(&client);
        return client;
    }

    // A tap on a row at a device-screen x.
    void TapRow(int row, LONG xDevice) {
        POINT pt = ToDevice({0, RowClientY(row)});
        pt.x = xDevice;
        ASSERT_TRUE(Tap(pt));
        ProcessEvents();
    }
    void TapHeader(int column) {
        LONG x = 0;
        for (int c = 0; c < column; ++c)
            x += ListColumnWidth(View(), c);
        x += ListColumnWidth(View(), column) / 2;
        // The header lies above the first row.
        ASSERT_TRUE(Tap(ToDevice({x, RowClientY(0) / 4})));
        ProcessEvents();
    }

    std::vector<std::u16string> Names() {
        std::vector<std::u16string> names;
        for (int i = 0; i < ListItemCount(View()); ++i)
            names.emplace_back(ListItemText(View(), i, 1).str());
        return names;
    }
    CString Cell(int row, int sub) { return ListItemText(View(), row, sub); }
    // Writes a text into a cell that only a rebuild of the rows would overwrite.
    void MarkCell(int row, const char16_t* text) {
        LVITEM item = {};
        item.iSubItem = 2;
        item.pszText = const_cast<LPTSTR>(text);
        View()->SendMessage(LVM_SETITEMTEXT, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    }
    void ResizeAcColumn(int width) { View()->SendMessage(LVM_SETCOLUMNWIDTH, 0, width); }
};

CString Today() {
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    CString text;
    text.Format(u"%02d/%02d/%04d", t->tm_mon + 1, t->tm_mday, t->tm_year + 1900);
    return text;
}

TEST_F(Taps, CheckBoxTapTogglesOneRowAndSaves) {
    ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
    MarkCell(0, u"not rebuilt");
    MarkCell(2, u"not rebuilt");

    TapRow(1, 30); // Coat: ticked, so the tap clears flag and date
    EXPECT_EQ(ListStateImage(View(), 1), 1);
    EXPECT_EQ(Cell(1, 3), u"");
    EXPECT_EQ(ListFileBytes(), ListBytes({kShirt, kCoat.Cleared(), kTie}));

    TapRow(2, 30); // tie: ticked with today's date
    EXPECT_EQ(ListStateImage(View(), 2), 2);
    EXPECT_EQ(Cell(2, 3), Today());
    const CData tie = Document()->GetItem(2);
    EXPECT_EQ(tie.m_bAtCleaners, 1);
    const Garment tieOn = kTie.Ticked(tie.m_nMonth, tie.m_nDay, tie.m_nYear);
    EXPECT_EQ(ListFileBytes(), ListBytes({kShirt, kCoat.Cleared(), tieOn}));

    // Only the tapped rows were rewritten; the others kept what was on screen.
    EXPECT_EQ(Cell(0, 2), u"not rebuilt");
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"Coat", u"tie"}));

    TapRow(2, 30); // and again: flag and date are gone, not kept from the first tap
    EXPECT_EQ(ListStateImage(View(), 2), 1);
    EXPECT_EQ(Cell(2, 3), u"");
    EXPECT_EQ(ListFileBytes(), ListBytes({kShirt, kCoat.Cleared(), kTie}));
}

TEST_F(Taps, CheckBoxZoneIsTheScreensLeftEdgeNotTheColumn) {
    const struct {
        int acWidth;
        LONG x;
        bool popup;
    } cases[] = {
        {30, 30, false},
        {30, 31, true},
        {60, 35, true},  // dragged wider: still the pop-up
        {15, 30, false}, // dragged narrower: Item Name toggles
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "AC width " << c.acWidth << ", x " << c.x);
        ASSERT_TRUE(Start({kShirt, kTie}));
        ResizeAcColumn(c.acWidth);
        const std::string before = ListFileBytes();
        CString menu;
        if (c.popup) {
            ArmModal([&](ModalHandle& popup) {
                menu = popup.Text();
                popup.PressEscape();
            });
        }
        TapRow(0, c.x);
        if (c.popup) {
            EXPECT_TRUE(ModalRan());
            EXPECT_EQ(menu, u"New\nEdit\n\nDelete");
            EXPECT_EQ(ListStateImage(View(), 0), 1);
            EXPECT_EQ(ListFileBytes(), before);
        } else {
            EXPECT_EQ(ListStateImage(View(), 0), 2);
            EXPECT_NE(ListFileBytes(), before);
        }
        TearDown();
    }
}

TEST_F(Taps, TapBelowTheLastRowDoesNothing) {
    ASSERT_TRUE(Start({kShirt, kTie}));
    const std::string before = ListFileBytes();
    int popups = 0;
    ArmModal([&](ModalHandle& popup) {
        ++popups;
        popup.PressEscape();
    });
    const LONG below = RowClientY(1) + 3 * (RowClientY(1) - RowClientY(0));
    for (LONG x : {10, 100}) {
        POINT pt = ToDevice({0, below});
        pt.x = x;
        ASSERT_TRUE(Tap(pt));
        ProcessEvents();
    }
    EXPECT_EQ(popups, 0);
    EXPECT_EQ(ListStateImage(View(), 0), 1);
    EXPECT_EQ(ListStateImage(View(), 1), 1);
    EXPECT_EQ(ListFileBytes(), before);
    // The armed answer is still waiting: a tap on the row itself opens the pop-up.
    TapRow(1, 100);
    EXPECT_EQ(popups, 1);
}

// Without the pop-up menu's resource a row tap has nothing to show; the check box still works.
TEST_F(Taps, MissingPopupMenuResourceMakesRowTapsDoNothing) {
    AFX_RESOURCE_MODULE withoutMenu = *VestoryListResources();
    std::erase_if(withoutMenu.resources, [](const AFX_RESOURCE& r) {
        return r.nType == RT_MENU && r.nID == IDR_POPUP_MENU;
    });
    ASSERT_TRUE(Start({kShirt, kTie}, &withoutMenu));
    const std::string before = ListFileBytes();
    int modals = 0;
    ArmModal([&](ModalHandle& modal) {
        ++modals;
        modal.PressEscape();
    });
    TapRow(0, 100);
    EXPECT_EQ(modals, 0);
    EXPECT_EQ(ListFileBytes(), before);
    TapRow(1, 30);
    EXPECT_EQ(ListStateImage(View(), 1), 2);
    // Something that does open a window takes the armed answer, so no later test gets it.
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    ProcessEvents();
    EXPECT_EQ(modals, 1);
    TearDown();
    AfxSetResourceHandle(VestoryListResources());
}

TEST_F(Taps, DeleteAsksAndRemovesOnlyOnYes) {
    ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
    const std::string before = ListFileBytes();
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        CString question;
        bool asked = false;
        ArmModal([&](ModalHandle& popup) {
            ArmModal([&](ModalHandle& box) {
                asked = true;
                question = box.Text();
                box.PressButton(answer);
            });
            popup.PickMenuItem(u"Delete");
        });
        TapRow(1, 100);
        ProcessEvents();
        EXPECT_TRUE(asked);
        EXPECT_EQ(question, u"Are you sure you want to delete this record?");
        if (answer == IDNO) {
            EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"Coat", u"tie"}));
            EXPECT_EQ(ListFileBytes(), before);
        }
    }
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"tie"}));
    EXPECT_EQ(ListFileBytes(), ListBytes({kShirt, kTie}));
    EXPECT_EQ(View()->SendMessage(LVM_GETSELECTEDCOUNT), 0);
}

// A selection mark left from rows that are gone never reaches the document.
TEST_F(Taps, StaleSelectionMarkTouchesNothing) {
    ASSERT_TRUE(Start({kShirt}));
    const std::string before = ListFileBytes();
    int boxes = 0;
    AfxMessageBoxPresenter previous =
        AfxSetMessageBoxPresenter([&](const CString&, const CString&, UINT) {
            ++boxes;
            return IDYES;
        });
    View()->SendMessage(LVM_SETSELECTIONMARK, 0, 5);
    View()->SendMessage(WM_COMMAND, ID_POPUP_DELETE, 0);
    View()->SendMessage(WM_COMMAND, ID_POPUP_EDIT, 0);
    AfxSetMessageBoxPresenter(previous);
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt"}));
    EXPECT_EQ(ListFileBytes(), before);
}

TEST_F(Taps, HeaderTapsSortWithoutSaving) {
    const struct {
        int column;
        std::vector<std::u16string> names;
    } cases[] = {
        {0, {u"Coat", u"Apron", u"Shirt", u"tie"}}, // ticked first, each group in its order
        {1, {u"Apron", u"Coat", u"Shirt", u"tie"}},
        {2, {u"Apron", u"tie", u"Coat", u"Shirt"}}, // "" as 0, then 2, 9, 10
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        ASSERT_TRUE(Start({kShirt, kCoat, kTie, kApron}));
        const std::string before = ListFileBytes();
        TapHeader(c.column);
        EXPECT_EQ(Names(), c.names);
        EXPECT_EQ(ListFileBytes(), before);
        TearDown();
    }
}

TEST_F(Taps, DateHeaderChangesNothing) {
    ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
    MarkCell(0, u"not rebuilt");
    const std::string before = ListFileBytes();
    TapHeader(3);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"Coat", u"tie"}));
    EXPECT_EQ(Cell(0, 2), u"not rebuilt");
    EXPECT_EQ(ListFileBytes(), before);
}

TEST_F(Taps, SortedOrderReachesTheFileWithTheNextChange) {
    ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
    TapHeader(2); // tie 2, Coat 9, Shirt 10
    TapRow(0, 30);
    const CData tie = Document()->GetItem(0);
    const Garment tieOn = kTie.Ticked(tie.m_nMonth, tie.m_nDay, tie.m_nYear);
    EXPECT_EQ(ListFileBytes(), ListBytes({tieOn, kCoat, kShirt}));
}

TEST_F(Taps, PopupNewIsListNewItemWhicheverRowWasTapped) {
    ASSERT_TRUE(Start({kShirt, kCoat}));
    ArmModal([](ModalHandle& popup) {
        ArmModal([](ModalHandle& dialog) {
            dialog.TypeText(IDC_ITEM_NAME, u"Trousers");
            dialog.PressButton(IDOK);
        });
        popup.PickMenuItem(u"New");
    });
    TapRow(0, 100);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"Coat", u"Trousers"}));
    EXPECT_EQ(Cell(2, 2), u"1");
    EXPECT_EQ(Document()->GetItemCount(), 3);
    EXPECT_EQ(ListFileBytes(),
              ListBytes({kShirt, kCoat, {0, u"Trousers", u"1", u"", u"", 0, 0, 0}}));
}

TEST_F(Taps, PopupEditOpensTheTappedRow) {
    ASSERT_TRUE(Start({kShirt, kCoat}));
    CString shown;
    ArmModal([&](ModalHandle& popup) {
        ArmModal([&](ModalHandle& dialog) {
            shown = dialog.ControlText(IDC_ITEM_NAME);
            dialog.TypeText(IDC_ITEM_NAME, u"Winter coat");
            dialog.PressButton(IDOK);
        });
        popup.PickMenuItem(u"Edit");
    });
    TapRow(1, 100);
    EXPECT_EQ(shown, u"Coat");
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"Winter coat"}));
    Garment edited = kCoat;
    edited.name = u"Winter coat";
    EXPECT_EQ(ListFileBytes(), ListBytes({kShirt, edited}));
}

} // namespace
