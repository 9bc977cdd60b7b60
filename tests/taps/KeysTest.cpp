// The keyboard and the desktop mouse on the list, as a person uses them: every key reaches
// the same document operation as the stylus, and every change can be taken back.
#include "data/VestoryListDoc.h"
#include "platform/core/Afx.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/shell/Clipboard.h"
#include "res/resource.h"
#include "tests/app/AppFixture.h"
#include "tests/support/CommandBarReadback.h"
#include "tests/support/Input.h"
#include "tests/support/ListReadback.h"
#include "tests/support/Modal.h"
#include "ui/VestoryListView.h"

#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include "tests/support/SourceLine.h"
#include <chrono>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

namespace {

const Garment kShirt = {0, u"Shirt", u"10", u"M", u"collar", 0, 0, 0};
const Garment kCoat = {1, u"Coat", u"9", u"XL", u"lining", 12, 25, 2025};
const Garment kTie = {0, u"tie", u"2", u"", u"silk", 0, 0, 0};

Garment TickedToday(const Garment& g) {
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    return g.Ticked(t->tm_mon + 1, t->tm_mday, t->tm_year + 1900);
}

Garment Named(Garment g, const char16_t* name) {
    g.name = name;
    return g;
}

class Keys : public AppFixture {
protected:
    std::vector<std::u16string> Names() {
        std::vector<std::u16string> names;
        for (int i = 0; i < ListItemCount(View()); ++i)
            names.emplace_back(ListItemText(View(), i, 1).str());
        return names;
    }
    int FocusedRow() { return int(View()->SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)); }
    POINT RowPoint(int row, LONG xDevice) {
        RECT client;
        View()->GetClientRect(&client);
        for (LONG y = 0; y < client.bottom; ++y) {
            LVHITTESTINFO hit = {};
            hit.pt = {40, y};
            if (View()->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row) {
                POINT pt = {0, y + 3};
                View()->ClientToScreen(&pt);
                pt.x = xDevice;
                return pt;
            }
        }
        ADD_FAILURE() << "row " << row << " is not on screen";
        return {};
    }
};

// What the user does with a modal window that a key opens.
using Answer = std::function<void(ModalHandle&)>;

Answer TypeName(const char16_t* name) {
    return [name](ModalHandle& dialog) {
        dialog.TypeText(IDC_ITEM_NAME, name);
        dialog.PressButton(IDOK);
    };
}
Answer Press(int button) {
    return [button](ModalHandle& box) { box.PressButton(button); };
}
Answer Pick(const char16_t* item, Answer then = nullptr) {
    return [item, then](ModalHandle& menu) {
        if (then)
            ArmModal(then);
        menu.PickMenuItem(item);
    };
}

TEST_F(Keys, EveryKeyDoesWhatTheStylusDoesAndSavesIt) {
    const struct {
        const char* name;
        const char* keys;
        Answer answer; // for the one modal window the keys open, if any
        std::vector<Garment> after;
        int focusedAfter;
    } cases[] = {
        {"Space clears the focused row's tick",
         "Down Down Space",
         nullptr,
         {kShirt, kCoat.Cleared(), kTie},
         1},
        {"Space ticks an empty box", "End Space", nullptr, {kShirt, kCoat, TickedToday(kTie)}, 2},
        {"Space twice clears again", "Down Space Space", nullptr, {kShirt, kCoat, kTie}, 0},
        {"Enter edits the focused row",
         "Down Down Return",
         TypeName(u"Blazer"),
         {kShirt, Named(kCoat, u"Blazer"), kTie},
         1},
        {"F2 edits the focused row",
         "End F2",
         TypeName(u"Bow tie"),
         {kShirt, kCoat, Named(kTie, u"Bow tie")},
         2},
        {"Insert adds a garment",
         "Down Insert",
         TypeName(u"Scarf"),
         {kShirt, kCoat, kTie, {0, u"Scarf", u"1", u"", u"", 0, 0, 0}},
         0},
        {"Delete asks once for the selection", "Down Shift+Down Delete", Press(IDYES), {kTie}, 0},
        {"Delete answered No keeps all", "Down Delete", Press(IDNO), {kShirt, kCoat, kTie}, 0},
        {"Ctrl+A selects all for Delete", "Ctrl+A Delete", Press(IDYES), {}, -1},
        {"The menu key opens the pop-up on the row",
         "End Menu",
         Pick(u"Edit", TypeName(u"Cravat")),
         {kShirt, kCoat, Named(kTie, u"Cravat")},
         2},
        {"Shift+F10 too", "Down Shift+F10", Pick(u"Delete", Press(IDYES)), {kCoat, kTie}, 0},
        {"Ctrl+Z takes a tick back", "Down Space Ctrl+Z", nullptr, {kShirt, kCoat, kTie}, 0},
        {"Ctrl+Z takes back step by step",
         "Down Space Down Space Ctrl+Z",
         nullptr,
         {TickedToday(kShirt), kCoat, kTie},
         1},
        {"Ctrl+Z brings deleted rows back",
         "Ctrl+A Delete Ctrl+Z",
         Press(IDYES),
         {kShirt, kCoat, kTie},
         -1},
        {"Ctrl+Z puts a deleted row back between the others",
         "Down Down Delete Ctrl+Z",
         Press(IDYES),
         {kShirt, kCoat, kTie},
         1},
        {"Ctrl+X cuts without asking", "Down Shift+Down Ctrl+X", nullptr, {kTie}, 0},
        {"Copy and paste add copies at the end",
         "Down Shift+End Ctrl+C Ctrl+V",
         nullptr,
         {kShirt, kCoat, kTie, kShirt, kCoat, kTie},
         3},
        {"Cut, paste and undo the paste", "End Ctrl+X Ctrl+V Ctrl+Z", nullptr, {kShirt, kCoat}, 1},
        {"Alt+L opens the List menu",
         "Alt+L",
         Pick(u"New Item", TypeName(u"Scarf")),
         {kShirt, kCoat, kTie, {0, u"Scarf", u"1", u"", u"", 0, 0, 0}},
         -1},
        {"F10 opens it too",
         "F10",
         Pick(u"New Item", TypeName(u"Scarf")),
         {kShirt, kCoat, kTie, {0, u"Scarf", u"1", u"", u"", 0, 0, 0}},
         -1},
        {"Undo with nothing to undo", "Ctrl+Z", nullptr, {kShirt, kCoat, kTie}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
        View()->SetFocus();
        AfxSetClipboardText(u"");
        if (c.answer)
            ArmModal(c.answer);
        PressKeys(c.keys);
        ProcessEvents();
        if (c.answer) {
            EXPECT_TRUE(ModalRan());
        }
        ASSERT_NE(View(), nullptr);
        std::vector<std::u16string> names;
        for (const Garment& g : c.after)
            names.emplace_back(g.name);
        EXPECT_EQ(Names(), names);
        EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes(c.after));
        EXPECT_EQ(FocusedRow(), c.focusedAfter);
        TearDown();
    }
}

TEST_F(Keys, DoubleClickIsOneTapAndRightClickOpensThePopUpWithoutATick) {
    const struct {
        const char* name;
        BOOL (*click)(POINT, SourceLine);
        int row;
        LONG x;
        Answer answer;
        std::vector<Garment> after;
        bool bWritten; // whether the list file was written at all
    } cases[] = {
        {"a double click on a box ticks it once",
         &DoubleTap,
         2,
         15,
         nullptr,
         {kShirt, kCoat, TickedToday(kTie)},
         true},
        {"a double click on a ticked box clears it once",
         &DoubleTap,
         1,
         15,
         nullptr,
         {kShirt, kCoat.Cleared(), kTie},
         true},
        {"a right click on a box opens the pop-up",
         &RightTap,
         0,
         15,
         [](ModalHandle& menu) { menu.PressEscape(); },
         {kShirt, kCoat, kTie},
         false},
        {"its commands act on the clicked row",
         &RightTap,
         2,
         100,
         Pick(u"Edit", TypeName(u"Cravat")),
         {kShirt, kCoat, Named(kTie, u"Cravat")},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
        const auto stamp = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        std::filesystem::last_write_time(m_root.ListFile(), stamp);
        CString shown;
        LRESULT markShown = -1;
        if (c.answer) {
            ArmModal([&, answer = c.answer](ModalHandle& menu) {
                shown = menu.Text();
                markShown = View()->SendMessage(LVM_GETSELECTIONMARK);
                answer(menu);
            });
        }
        ASSERT_TRUE(c.click(RowPoint(c.row, c.x), SourceLine::current()));
        ProcessEvents();
        if (c.answer) {
            EXPECT_TRUE(ModalRan());
            EXPECT_EQ(shown, u"New\nEdit\n\nDelete");
        }
        std::vector<std::u16string> names;
        for (const Garment& g : c.after)
            names.emplace_back(g.name);
        EXPECT_EQ(Names(), names);
        EXPECT_EQ(FileBytes(m_root.ListFile()), ListBytes(c.after));
        EXPECT_EQ(std::filesystem::last_write_time(m_root.ListFile()) != stamp, c.bWritten);
        if (c.click == &RightTap) {
            EXPECT_EQ(markShown, c.row); // the clicked row is the pop-up's row
        }
        TearDown();
    }
}

// The tool bar's Cut, Copy and Paste follow the selection and the clipboard, as the program
// finds them whenever it is idle, and act like their keys.
TEST_F(Keys, CutCopyAndPasteButtonsAreEnabledExactlyWhenTheyApply) {
    ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
    View()->SetFocus();
    AfxSetClipboardText(u"");
    constexpr int kCut = 2, kCopy = 3, kPaste = 4;
    const auto enabled = [this] {
        // An event loop that waits: the program goes idle and brings the buttons up to date.
        QEventLoop idle;
        QTimer::singleShot(20, &idle, &QEventLoop::quit);
        idle.exec();
        std::string shown;
        for (int i : {kCut, kCopy, kPaste})
            shown += CommandBarButtons(CommandBar())[std::size_t(i)].enabled ? '+' : '-';
        return shown;
    };
    const struct {
        const char* keys;
        int button; // pressed after the keys, or -1
        const char* expected;
        std::vector<std::u16string> names;
    } steps[] = {
        {"", -1, "---", {u"Shirt", u"Coat", u"tie"}},
        {"Down", -1, "++-", {u"Shirt", u"Coat", u"tie"}},
        {"", kCopy, "+++", {u"Shirt", u"Coat", u"tie"}},
        {"", kPaste, "+++", {u"Shirt", u"Coat", u"tie", u"Shirt"}},
        {"End", kCut, "--+", {u"Shirt", u"Coat", u"tie"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.keys);
        PressKeys(step.keys);
        if (step.button >= 0)
            PressCommandBarButton(CommandBar(), step.button);
        ProcessEvents();
        EXPECT_EQ(enabled(), step.expected);
        EXPECT_EQ(Names(), step.names);
    }
}

// The process's data segment: what it holds now, and the limit on it, which the memory left
// that the program sees follows.
class DataLimit {
public:
    // No limit when headroom is 0.
    explicit DataLimit(rlim_t headroom) {
        ::getrlimit(RLIMIT_DATA, &m_before);
        if (headroom == 0)
            return;
        std::ifstream status("/proc/self/status");
        rlim_t kb = 0;
        for (std::string key; status >> key && key != "VmData:";)
            status.ignore(1 << 20, '\n');
        status >> kb;
        rlimit limit = m_before;
        limit.rlim_cur = kb * 1024 + headroom;
        ::setrlimit(RLIMIT_DATA, &limit);
    }
    ~DataLimit() { Lift(); }
    void Lift() { ::setrlimit(RLIMIT_DATA, &m_before); }
    DataLimit(const DataLimit&) = delete;
    DataLimit& operator=(const DataLimit&) = delete;

private:
    rlimit m_before{};
};

// A paste adds all of the clipboard's garments or none: text it cannot read, a list the next
// start could not read back, and text there is no memory for change nothing and say why.
TEST_F(Keys, APasteThatCannotBeKeptChangesNothingAndSaysWhy) {
#if defined(__SANITIZE_ADDRESS__)
    const bool bSanitized = true;
#elif defined(__has_feature)
    const bool bSanitized = __has_feature(address_sanitizer);
#else
    const bool bSanitized = false;
#endif
    std::u16string lines;
    for (int i = 0; i < 300000; ++i)
        lines += u"x\n";
    const struct {
        const char* what;
        std::u16string clipboard;
        rlim_t headroom; // of the data segment while Ctrl+V runs; 0: no limit
        const char* said;
    } cases[] = {
        {"a table without all its columns", u"AC,Item Name,Qty\n1,Coat,2\n", 0,
         "Nothing was pasted: line 1: the header line does not name the column Size."},
        {"more than the next start reads", lines, 64 << 20,
         "Nothing was pasted: the list would be larger than the program can read at its next "
         "start."},
        {"more than the memory there is", std::u16string(12 << 20, u'x'), 8 << 20,
         "Nothing was pasted: there is not enough memory for it."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.headroom && bSanitized) {
            std::cout << "skipped \"" << c.what
                      << "\": the sanitizer's allocator ends the program\n";
            continue;
        }
        ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
        const std::string before = FileBytes(m_root.ListFile());
        View()->SetFocus();
        AfxSetClipboardText(CString(c.clipboard));
        std::string said;
        {
            DataLimit limit(c.headroom);
            ArmModal([&](ModalHandle& box) {
                limit.Lift();
                said = box.Text().ToUtf8();
                box.PressButton(IDOK);
            });
            PressKeys("Ctrl+V");
            ProcessEvents();
        }
        EXPECT_TRUE(ModalRan());
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Shirt", u"Coat", u"tie"}));
        EXPECT_EQ(FileBytes(m_root.ListFile()), before);
        EXPECT_FALSE(Document()->CanUndo());
        TearDown();
    }
}

// Another writer's version that the paste's save takes in moves the pasted garments: the
// selection goes with them, so that Ctrl+X takes back the paste and nothing else.
TEST_F(Keys, APasteSelectsItsGarmentsWhereAnotherWritersVersionPutsThem) {
    ASSERT_TRUE(Start({kShirt, kCoat, kTie}));
    View()->SetFocus();
    PressKeys("Down Ctrl+C");
    const Garment kScarf = {0, u"Scarf", u"1", u"", u"", 0, 0, 0};
    const std::filesystem::path incoming = m_root.ListFile().string() + ".incoming";
    WriteBytes(incoming, ListBytes({kShirt, kCoat, kTie, kScarf}));
    std::filesystem::rename(incoming, m_root.ListFile());
    PressKeys("Ctrl+V"); // before the watcher's notice
    EXPECT_EQ(Names(),
              (std::vector<std::u16string>{u"Shirt", u"Coat", u"tie", u"Scarf", u"Shirt"}));
    EXPECT_EQ(View()->SendMessage(LVM_GETSELECTEDCOUNT), 1);
    EXPECT_EQ(View()->SendMessage(LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 4);
    EXPECT_EQ(FocusedRow(), 4);
}

} // namespace
