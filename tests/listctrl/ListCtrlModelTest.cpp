#include "platform/win/listctrl/ListCtrlModel.h"

#include "platform/win/WinUser.h"
#include "tests/listctrl/ListCtrlTestHelpers.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::u16string>;

TEST(ListCtrlModel, InsertionAtAPositionShiftsTheRowsBelow) {
    CListCtrlModel list;
    struct Step {
        int iPos;
        const char16_t* pszText;
        LRESULT expected;
    } steps[] = {{0, u"a", 0}, {1, u"b", 1}, {0, u"c", 0}, {99, u"d", 3}, {2, u"e", 2}};
    for (const Step& s : steps)
        EXPECT_EQ(InsertRow(list, s.iPos, s.pszText), s.expected) << s.iPos;
    EXPECT_EQ(Column(list, 0), (Texts{u"c", u"a", u"e", u"b", u"d"}));

    // A negative position or a sub-item insertion inserts nothing.
    EXPECT_EQ(InsertRow(list, -1, u"x"), -1);
    LVITEM sub{LVIF_TEXT, 0, 1, 0, 0, const_cast<LPWSTR>(u"x"), 0, 0, 0};
    EXPECT_EQ(Send(list, LVM_INSERTITEMW, 0, Ptr(&sub)), -1);
    EXPECT_EQ(Send(list, LVM_GETITEMCOUNT), 5);
}

TEST(ListCtrlModel, InsertionAppliesTheStateOnlyWhenTheMaskNamesIt) {
    struct Case {
        UINT mask;
        UINT state;
        UINT stateMask;
        UINT expected;
    } cases[] = {
        {LVIF_TEXT | LVIF_IMAGE, 0x2002, 0xFFFF, 0},
        {LVIF_TEXT | LVIF_STATE, 0x2002, LVIS_STATEIMAGEMASK, 0x2000},
        {LVIF_TEXT | LVIF_STATE, 0x2002, 0xFFFF, 0x2002},
    };
    for (const Case& c : cases) {
        CListCtrlModel list;
        InsertRow(list, 0, u"", c.mask, c.state, c.stateMask);
        EXPECT_EQ(GetState(list, 0), c.expected) << std::hex << c.mask;
    }
}

TEST(ListCtrlModel, SetItemStateChangesOnlyTheMaskedBits) {
    CListCtrlModel list;
    for (int i = 0; i < 3; ++i)
        InsertRow(list, i, u"");
    struct Step {
        int iRow;
        UINT state;
        UINT mask;
        UINT expected[3];
    } steps[] = {
        {1, LVIS_SELECTED, LVIS_SELECTED, {0, 0x0002, 0}},
        {1, 0x2000, LVIS_STATEIMAGEMASK, {0, 0x2002, 0}},
        {1, 0x1000, LVIS_STATEIMAGEMASK, {0, 0x1002, 0}},
        {-1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK, {0x2000, 0x2002, 0x2000}},
        {-1, 0, LVIS_SELECTED, {0x2000, 0x2000, 0x2000}},
        {0, 0x1000, 0xF000, {0x1000, 0x2000, 0x2000}},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(SetState(list, s.iRow, s.state, s.mask));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(GetState(list, i), s.expected[i]) << "row " << s.iRow << " state " << s.state;
    }
    EXPECT_EQ(GetState(list, 1, LVIS_STATEIMAGEMASK) >> 12, 2U);
}

TEST(ListCtrlModel, TextsAreKeptPerSubItemAndCopiedIntoTheCallersBuffer) {
    CListCtrlModel list;
    InsertProgramColumns(list);
    InsertRow(list, 0, u"");
    EXPECT_TRUE(SetText(list, 0, 1, u"Shirt"));
    EXPECT_TRUE(SetText(list, 0, 3, u"03/07/2002"));
    EXPECT_EQ(GetText(list, 0, 0), u"");
    EXPECT_EQ(GetText(list, 0, 1), u"Shirt");
    EXPECT_EQ(GetText(list, 0, 2), u"");
    EXPECT_EQ(GetText(list, 0, 3), u"03/07/2002");
    EXPECT_TRUE(SetText(list, 0, 3, u"")); // a cleared date must not linger
    EXPECT_EQ(GetText(list, 0, 3), u"");

    struct Case {
        int cchTextMax;
        std::u16string expected;
        LRESULT length;
    } cases[] = {{10, u"Shirt", 5}, {6, u"Shirt", 5}, {5, u"Shir", 4}, {1, u"", 0}, {0, u"#", 0}};
    for (const Case& c : cases) {
        char16_t buffer[16] = u"#";
        LVITEM item{};
        item.iSubItem = 1;
        item.pszText = buffer;
        item.cchTextMax = c.cchTextMax;
        EXPECT_EQ(Send(list, LVM_GETITEMTEXTW, 0, Ptr(&item)), c.length) << c.cchTextMax;
        EXPECT_EQ(std::u16string(buffer), c.expected) << c.cchTextMax;
    }
}

// A row keeps its texts together: cells set in any order, on any row, growing or shrinking,
// read back exactly, also after rows came and went and the store moved them together.
TEST(ListCtrlModel, TextsSetOneByOneReadBackExactly) {
    CListCtrlModel list;
    InsertProgramColumns(list);
    std::vector<std::vector<std::u16string>> rows;
    auto insert = [&](int iPos) {
        InsertRow(list, iPos, u"");
        rows.insert(rows.begin() + iPos, std::vector<std::u16string>(4));
    };
    auto set = [&](int iRow, int iSub, const std::u16string& text) {
        EXPECT_TRUE(SetText(list, iRow, iSub, text.c_str()));
        rows[std::size_t(iRow)][std::size_t(iSub)] = text;
    };
    auto check = [&](int line) {
        ASSERT_EQ(Send(list, LVM_GETITEMCOUNT), LRESULT(rows.size())) << line;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            for (int sub = 0; sub < 4; ++sub) {
                std::vector<char16_t> buffer(70000, u'#');
                LVITEM item{};
                item.iSubItem = sub;
                item.pszText = buffer.data();
                item.cchTextMax = int(buffer.size());
                Send(list, LVM_GETITEMTEXTW, WPARAM(i), Ptr(&item));
                EXPECT_EQ(std::u16string(buffer.data()), rows[i][std::size_t(sub)])
                    << "line " << line << ", row " << i << ", sub-item " << sub;
            }
        }
    };
    const std::u16string longText = std::u16string(40000, u'w') + u"end"; // two-unit length
    insert(0);
    set(0, 1, u"Shirt");
    set(0, 2, u"2");
    set(0, 3, u"03/07/2002");
    insert(1);
    set(1, 3, u"12/25/2002"); // a later cell before an earlier one
    set(1, 1, u"Coat");
    check(__LINE__);
    set(0, 1, u"Shirt, white oxford"); // grows, no longer the last row written
    set(0, 2, u"");
    set(1, 1, longText);
    set(1, 0, u"first");
    insert(1);
    set(1, 2, u"é👕");
    set(2, 1, u"Coat again");
    check(__LINE__);
    EXPECT_TRUE(Send(list, LVM_DELETEITEM, 0));
    rows.erase(rows.begin());
    check(__LINE__);
    // Texts rewritten again and again on two rows by turns, long enough to leave more dropped
    // than kept, so that the store moves the rows' texts together.
    for (int i = 0; i < 400; ++i)
        set(i % 2, 1 + i % 3, std::u16string(200 + i % 7, char16_t(u'a' + i % 26)));
    check(__LINE__);
}

TEST(ListCtrlModel, DeleteAllItemsClearsRowsSelectionAndMark) {
    CListCtrlModel list;
    InsertRow(list, 0, u"a");
    InsertRow(list, 1, u"b");
    list.TapRow(1);
    ASSERT_EQ(Send(list, LVM_GETSELECTIONMARK), 1);
    EXPECT_TRUE(Send(list, LVM_DELETEALLITEMS));
    EXPECT_EQ(Send(list, LVM_GETITEMCOUNT), 0);
    EXPECT_EQ(Send(list, LVM_GETSELECTIONMARK), -1);
    InsertRow(list, 0, u"a");
    InsertRow(list, 1, u"b");
    EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), 0);
    EXPECT_EQ(Send(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), -1);
}

TEST(ListCtrlModel, TheSelectionMarkFollowsItsRow) {
    CListCtrlModel list;
    for (int i = 0; i < 4; ++i)
        InsertRow(list, i, u"");
    struct Step {
        UINT msg;
        int iRow;
        LRESULT mark;
    } steps[] = {
        {LVM_SETSELECTIONMARK, 2, 2},  {LVM_INSERTITEMW, 0, 3},      {LVM_INSERTITEMW, 4, 3},
        {LVM_DELETEITEM, 0, 2},        {LVM_DELETEITEM, 2, -1},      {LVM_SETSELECTIONMARK, 1, 1},
        {LVM_SETSELECTIONMARK, 9, -1}, {LVM_SETSELECTIONMARK, 0, 0},
    };
    for (const Step& s : steps) {
        if (s.msg == LVM_INSERTITEMW)
            InsertRow(list, s.iRow, u"");
        else if (s.msg == LVM_DELETEITEM)
            Send(list, s.msg, WPARAM(s.iRow));
        else
            Send(list, s.msg, 0, s.iRow);
        EXPECT_EQ(Send(list, LVM_GETSELECTIONMARK), s.mark) << s.msg << " " << s.iRow;
    }
}

TEST(ListCtrlModel, ExtendedStyleWithMaskZeroReplacesEveryBit) {
    CListCtrlModel list;
    struct Step {
        DWORD mask;
        DWORD style;
        LRESULT old;
        LRESULT now;
    } steps[] = {
        {0, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES, 0, 0x05},
        {0, LVS_EX_FULLROWSELECT, 0x05, 0x20},
        {LVS_EX_GRIDLINES, LVS_EX_GRIDLINES, 0x20, 0x21},
        {LVS_EX_FULLROWSELECT, 0, 0x21, 0x01},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(Send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, s.mask, LPARAM(s.style)), s.old);
        EXPECT_EQ(Send(list, LVM_GETEXTENDEDLISTVIEWSTYLE), s.now);
    }
}

TEST(ListCtrlModel, ColumnsKeepTitleWidthAndSubItem) {
    CListCtrlModel list;
    InsertProgramColumns(list);
    const char16_t* titles[] = {u"AC", u"Item Name", u"Qty", u"Date"};
    const int widths[] = {30, 100, 35, 80};
    for (int i = 0; i < 4; ++i) {
        char16_t buffer[32] = {};
        LVCOLUMN col{LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM, -1, 0, buffer, 32, -1};
        ASSERT_TRUE(Send(list, LVM_GETCOLUMNW, WPARAM(i), Ptr(&col)));
        EXPECT_EQ(std::u16string(buffer), titles[i]);
        EXPECT_EQ(col.cx, widths[i]);
        EXPECT_EQ(col.fmt, LVCFMT_LEFT);
        EXPECT_EQ(col.iSubItem, i);
        EXPECT_EQ(Send(list, LVM_GETCOLUMNWIDTH, WPARAM(i)), widths[i]);
    }
    list.ResizeColumn(0, 45);
    EXPECT_EQ(Send(list, LVM_GETCOLUMNWIDTH, 0), 45);
    EXPECT_TRUE(Send(list, LVM_SETCOLUMNWIDTH, 1, 60));
    EXPECT_EQ(Send(list, LVM_GETCOLUMNWIDTH, 1), 60);
}

TEST(ListCtrlModel, HitTestFindsTheRowUnderAClientPoint) {
    CListCtrlModel list;
    InsertProgramColumns(list); // 245 pixels wide
    for (int i = 0; i < 3; ++i)
        InsertRow(list, i, u"");
    LISTCTRLLAYOUT layout;
    layout.xRows = 0;
    layout.yRows = 20; // header above
    layout.cxRows = 300;
    layout.cyRows = 200;
    layout.cyRow = 18;
    struct Case {
        int x, y, yScroll;
        DWORD exStyle;
        LRESULT row;
    } cases[] = {
        {10, 5, 0, 0, -1}, // header
        {10, 20, 0, 0, 0},
        {10, 37, 0, 0, 0},
        {10, 38, 0, 0, 1},
        {244, 73, 0, 0, 2},
        {10, 74, 0, 0, -1},  // below the last row
        {10, 230, 0, 0, -1}, // below the rows' area
        {10, 20, 18, 0, 1},  // scrolled one row
        {250, 30, 0, 0, -1}, // right of the last column
        {250, 30, 0, LVS_EX_FULLROWSELECT, 0},
        {-1, 30, 0, 0, -1},
    };
    for (const Case& c : cases) {
        layout.yScroll = c.yScroll;
        list.SetLayout(layout);
        Send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(c.exStyle));
        LVHITTESTINFO info{{c.x, c.y}, 0, 0, 0};
        EXPECT_EQ(Send(list, LVM_HITTEST, 0, Ptr(&info)), c.row) << c.x << "," << c.y;
        EXPECT_EQ(info.iItem, c.row);
        // The row's rectangle holds the point's line and spans the columns.
        if (c.row >= 0) {
            RECT bounds{LVIR_BOUNDS, 0, 0, 0};
            EXPECT_TRUE(Send(list, LVM_GETITEMRECT, WPARAM(c.row), Ptr(&bounds)));
            EXPECT_LE(bounds.top, c.y);
            EXPECT_GT(bounds.bottom, c.y);
            EXPECT_EQ(bounds.right - bounds.left, 245);
        }
    }
}

TEST(ListCtrlModel, SeveralRowsMayBeSelectedUnlessSingleSelection) {
    struct Case {
        DWORD style;
        LRESULT count;
        LRESULT second;
    } cases[] = {{LVS_REPORT, 2, 2}, {LVS_REPORT | LVS_SINGLESEL, 1, -1}};
    for (const Case& c : cases) {
        CListCtrlModel list;
        list.SetStyle(c.style);
        for (int i = 0; i < 3; ++i)
            InsertRow(list, i, u"");
        SetState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
        SetState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), c.count);
        const LRESULT first = Send(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED);
        EXPECT_EQ(Send(list, LVM_GETNEXTITEM, WPARAM(first), LVNI_SELECTED), c.second);

        // A tap with Ctrl adds a row where the style allows it; a plain tap selects one.
        list.TapRow(1, {}, TRUE);
        EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), c.count == 2 ? 3 : 1);
        list.TapRow(1);
        EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), 1);
        EXPECT_EQ(GetState(list, 1, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
        // A selected row deleted is no longer counted.
        Send(list, LVM_DELETEITEM, 1);
        EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), 0);
    }
}

// What the parent sees when a notification arrives.
struct Seen {
    UINT code;
    int iItem;
    int iSubItem;
    LRESULT mark;
    UINT state;
};

TEST(ListCtrlModel, TapsSelectAndMarkBeforeTheParentIsNotified) {
    CListCtrlModel list;
    InsertProgramColumns(list);
    for (int i = 0; i < 3; ++i)
        InsertRow(list, i, u"");
    std::vector<Seen> seen;
    list.SetNotifySink([&](NMHDR* pHdr) {
        const auto* pNm = reinterpret_cast<NMLISTVIEW*>(pHdr);
        seen.push_back({pHdr->code, pNm->iItem, pNm->iSubItem, Send(list, LVM_GETSELECTIONMARK),
                        pNm->iItem >= 0 ? GetState(list, pNm->iItem) : 0});
        return LRESULT(0);
    });
    SetState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    list.TapRow(2, {40, 60});
    EXPECT_EQ(GetState(list, 0, LVIS_SELECTED), 0U);
    list.TapEmpty();
    list.TapHeader(2);
    list.TapHeader(4); // no such column
    ASSERT_EQ(seen.size(), 3U);
    const UINT selFocus = LVIS_SELECTED | LVIS_FOCUSED;
    EXPECT_EQ(seen[0].code, NM_CLICK);
    EXPECT_EQ(seen[0].iItem, 2);
    EXPECT_EQ(seen[0].iSubItem, 1);
    EXPECT_EQ(seen[0].mark, 2);
    EXPECT_EQ(seen[0].state & selFocus, selFocus);
    EXPECT_EQ(seen[1].code, NM_CLICK);
    EXPECT_EQ(seen[1].iItem, -1);
    EXPECT_EQ(Send(list, LVM_GETSELECTEDCOUNT), 0);
    EXPECT_EQ(seen[2].code, LVN_COLUMNCLICK);
    EXPECT_EQ(seen[2].iSubItem, 2);
    EXPECT_EQ(int(seen[2].code), -108);
    EXPECT_EQ(int(seen[0].code), -2);
}

TEST(ListCtrlModel, OutOfRangeRequestsFailQuietly) {
    CListCtrlModel list;
    InsertProgramColumns(list);
    InsertRow(list, 0, u"a");
    LVITEM item{};
    item.iItem = 5;
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    struct Case {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT expected;
    } cases[] = {
        {LVM_GETITEMSTATE, 5, LPARAM(~0U), 0},   {LVM_SETITEMSTATE, 5, Ptr(&item), FALSE},
        {LVM_SETITEMSTATE, 0, 0, FALSE},         {LVM_SETITEMTEXTW, 5, Ptr(&item), FALSE},
        {LVM_GETITEMTEXTW, 5, Ptr(&item), 0},    {LVM_GETITEMW, 0, Ptr(&item), FALSE},
        {LVM_SETITEMW, 0, Ptr(&item), FALSE},    {LVM_DELETEITEM, 5, 0, FALSE},
        {LVM_GETCOLUMNWIDTH, 9, 0, 0},           {LVM_SETCOLUMNWIDTH, 9, 50, FALSE},
        {LVM_GETCOLUMNW, 9, 0, FALSE},           {LVM_INSERTITEMW, 0, 0, -1},
        {LVM_INSERTCOLUMNW, 0, 0, -1},           {LVM_HITTEST, 0, 0, -1},
        {LVM_GETNEXTITEM, 7, LVNI_ALL, -1},      {LVM_SETIMAGELIST, 7, 0, 0},
        {LVM_GETITEMRECT, 5, Ptr(&rect), FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Send(list, c.msg, c.wParam, c.lParam), c.expected) << std::hex << c.msg;
    LRESULT lResult = 0;
    EXPECT_FALSE(list.OnWndMsg(0x0999, 0, 0, &lResult));
    EXPECT_EQ(Send(list, LVM_GETITEMCOUNT), 1);
}

TEST(ListCtrlModel, StateImageListIsHeldAndTheOldOneReturned) {
    CListCtrlModel list;
    auto* hFirst = reinterpret_cast<HIMAGELIST>(0x1000);
    auto* hSecond = reinterpret_cast<HIMAGELIST>(0x2000);
    EXPECT_EQ(Send(list, LVM_SETIMAGELIST, LVSIL_STATE, Ptr(hFirst)), 0);
    EXPECT_EQ(Send(list, LVM_SETIMAGELIST, LVSIL_STATE, Ptr(hSecond)), Ptr(hFirst));
    EXPECT_EQ(list.GetStateImageList(), hSecond);
    EXPECT_EQ(Send(list, LVM_GETIMAGELIST, LVSIL_SMALL), 0);
}

} // namespace

namespace {

// Which rows are selected, as a string of '.' and 'S', with 'F' or 'f' for the focused row
// (selected or not).
std::string Selection(CListCtrlModel& list) {
    std::string rows;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const UINT state = list.GetRow(i).state;
        const bool bSelected = (state & LVIS_SELECTED) != 0;
        rows += (state & LVIS_FOCUSED) ? (bSelected ? 'F' : 'f') : (bSelected ? 'S' : '.');
    }
    return rows;
}

} // namespace

TEST(ListCtrlModel, KeysMoveTheFocusAndTheSelectionTogetherAndShiftExtendsIt) {
    struct Key {
        WORD vk;
        BOOL bShift;
    };
    const struct {
        const char* name;
        std::vector<Key> keys;
        std::string expected;
        int mark;
    } cases[] = {
        {"the first Down enters the list", {{VK_DOWN, FALSE}}, "F.....", 0},
        {"Down and Up", {{VK_DOWN, FALSE}, {VK_DOWN, FALSE}, {VK_UP, FALSE}}, "F.....", 0},
        {"Up stops at the top", {{VK_UP, FALSE}, {VK_UP, FALSE}}, "F.....", 0},
        {"End and Down stop at the bottom", {{VK_END, FALSE}, {VK_DOWN, FALSE}}, ".....F", 5},
        {"Home", {{VK_END, FALSE}, {VK_HOME, FALSE}}, "F.....", 0},
        {"a page is the rows shown less one", {{VK_DOWN, FALSE}, {VK_NEXT, FALSE}}, "..F...", 2},
        {"Page Up", {{VK_END, FALSE}, {VK_PRIOR, FALSE}}, "...F..", 3},
        {"Shift extends from the mark",
         {{VK_DOWN, FALSE}, {VK_DOWN, TRUE}, {VK_DOWN, TRUE}},
         "SSF...",
         0},
        {"and shrinks back", {{VK_DOWN, FALSE}, {VK_END, TRUE}, {VK_UP, TRUE}}, "SSSSF.", 0},
        {"a plain key ends the range",
         {{VK_DOWN, FALSE}, {VK_END, TRUE}, {VK_UP, FALSE}},
         "....F.",
         4},
        {"other keys only notify",
         {{VK_DOWN, FALSE}, {VK_SPACE, FALSE}, {VK_F2, FALSE}},
         "F.....",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CListCtrlModel list;
        for (int i = 0; i < 6; ++i)
            InsertRow(list, i, u"");
        std::vector<WORD> notified;
        list.SetNotifySink([&notified](NMHDR* pNMHDR) -> LRESULT {
            if (pNMHDR->code == LVN_KEYDOWN)
                notified.push_back(reinterpret_cast<NMLVKEYDOWN*>(pNMHDR)->wVKey);
            return 0;
        });
        for (const Key& key : c.keys)
            list.KeyDown(key.vk, key.bShift, 3);
        EXPECT_EQ(Selection(list), c.expected);
        EXPECT_EQ(Send(list, LVM_GETSELECTIONMARK), c.mark);
        EXPECT_EQ(notified.size(), c.keys.size()); // every key is offered to the parent first
    }
}

TEST(ListCtrlModel, EnterDoubleAndRightClicksSendTheirOwnNotifications) {
    CListCtrlModel list;
    for (int i = 0; i < 3; ++i)
        InsertRow(list, i, u"");
    std::vector<UINT> codes;
    list.SetNotifySink([&codes](NMHDR* pNMHDR) -> LRESULT {
        codes.push_back(pNMHDR->code);
        return 0;
    });
    list.TapRow(0);
    list.DoubleTapRow(0);
    list.RightTapRow(2);
    list.KeyDown(VK_RETURN, FALSE, 3);
    EXPECT_EQ(codes, (std::vector<UINT>{NM_CLICK, NM_DBLCLK, NM_RCLICK, LVN_KEYDOWN, NM_RETURN}));
    // The right click selected its row alone and made it the focus and the mark.
    EXPECT_EQ(Selection(list), "..F");
    EXPECT_EQ(Send(list, LVM_GETSELECTIONMARK), 2);
}
