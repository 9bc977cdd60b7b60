// A session with the keyboard alone, on a real X server: add, tick, edit, delete, undo, copy
// and paste, driven from outside with xdotool; then a double click and a right click as a
// desktop mouse makes them. The list file is checked with `vsl dump` at the end.
#include "tests/e2e/ProgramOnDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class KeyboardSessionTest : public ProgramOnDesktop {
protected:
    void StartProgram() {
        ASSERT_TRUE(LaunchProgram()) << m_pProgram->Output();
        ASSERT_TRUE(m_pProgram->Running()) << m_pProgram->Output();
        ASSERT_TRUE(WaitUntil([&] { return RowCentres().has_value(); }, kStepTimeout));
    }
};

const std::string kHeader = "AC,Item Name,Qty,Size,Note,Month,Day,Year\r\n";

TEST_F(KeyboardSessionTest, AddTickEditDeleteUndoCopyAndPasteWithKeysOnly) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    // The window gets the keyboard as a window manager would give it.
    ASSERT_TRUE(m_pDesktop->Xdotool({"windowfocus", "--sync", m_main}));
    ASSERT_TRUE(WaitFocus(m_main));

    // Insert adds; the name field has the keyboard, Tab moves on, Enter confirms.
    for (const char* name : {"Wool coat", "Blue shirt", "Silk scarf"})
        ASSERT_NO_FATAL_FAILURE(InModal({"Insert"}, {}, name, {"Tab", "Tab", "M", "Return"}));
    const std::string coat = "0,Wool coat,1,M,,0,0,0\r\n";
    const std::string shirt = "0,Blue shirt,1,M,,0,0,0\r\n";
    const std::string scarf = "0,Silk scarf,1,M,,0,0,0\r\n";
    ASSERT_TRUE(WaitForDump(kHeader + coat + shirt + scarf)) << Dump();

    // Space on the first row ticks it, dated today, and saves.
    ASSERT_TRUE(m_pDesktop->Keys({"Home", "space"}));
    const std::string coatTicked = "1,Wool coat,1,M,," + Today() + "\r\n";
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + shirt + scarf)) << Dump();

    // Enter edits the next row; the keyboard comes back to the list on that row.
    ASSERT_NO_FATAL_FAILURE(InModal({"Down", "Return"}, {"ctrl+a"}, "Linen shirt", {"Return"}));
    const std::string linen = "0,Linen shirt,1,M,,0,0,0\r\n";
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + linen + scarf)) << Dump();
    // Still on the edited row: F2 opens it again, Escape leaves it as it is.
    ASSERT_NO_FATAL_FAILURE(InModal({"F2"}, {}, "", {"Escape"}));

    // Delete asks once; y answers Yes. Ctrl+Z brings the scarf back, saved.
    ASSERT_NO_FATAL_FAILURE(InModal({"End", "Delete"}, {}, "", {"y"}));
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + linen)) << Dump();
    ASSERT_TRUE(m_pDesktop->Keys({"ctrl+z"}));
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + linen + scarf)) << Dump();

    // Step by step back through the session: the edit, then the tick, each saved.
    ASSERT_TRUE(m_pDesktop->Keys({"ctrl+z"}));
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + shirt + scarf)) << Dump();
    ASSERT_TRUE(m_pDesktop->Keys({"ctrl+z"}));
    ASSERT_TRUE(WaitForDump(kHeader + coat + shirt + scarf)) << Dump();
    ASSERT_TRUE(m_pDesktop->Keys({"Home", "space"}));
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + shirt + scarf)) << Dump();

    // Copy all and paste: the same three garments again at the end, all fields kept.
    ASSERT_TRUE(m_pDesktop->Keys({"ctrl+a", "ctrl+c", "ctrl+v"}));
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + shirt + scarf + coatTicked + shirt + scarf))
        << Dump();
    ASSERT_TRUE(m_pDesktop->Keys({"ctrl+z"}));
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + shirt + scarf)) << Dump();

    // The mouse: a double click on the scarf's box ticks it once; a right click on the shirt's
    // box opens the pop-up and ticks nothing.
    std::vector<int> rows;
    ASSERT_TRUE(
        WaitUntil([&] { return (rows = RowCentres().value_or(rows)).size() == 3; }, kStepTimeout));
    const Rect place = Geometry(m_main);
    const int x = place.x;
    const int y = place.y;
    ASSERT_TRUE(
        m_pDesktop->Xdotool({"mousemove", std::to_string(x + 12), std::to_string(y + rows[2]),
                             "click", "--repeat", "2", "--delay", "60", "1"}));
    const std::string scarfTicked = "1,Silk scarf,1,M,," + Today() + "\r\n";
    ASSERT_TRUE(WaitForDump(kHeader + coatTicked + shirt + scarfTicked)) << Dump();
    ASSERT_TRUE(m_pDesktop->Xdotool(
        {"mousemove", std::to_string(x + 12), std::to_string(y + rows[1]), "click", "3"}));
    const std::string popup = WaitForModal();
    ASSERT_FALSE(popup.empty()) << "a right click opened no pop-up";
    ASSERT_TRUE(m_pDesktop->Keys({"Escape"}));
    ASSERT_TRUE(WaitGone(popup));
    // A double click on a name opens the pop-up once; its second press picks nothing in it.
    ASSERT_TRUE(
        m_pDesktop->Xdotool({"mousemove", std::to_string(x + 80), std::to_string(y + rows[0]),
                             "click", "--repeat", "2", "--delay", "60", "1"}));
    const std::string again = WaitForModal();
    ASSERT_FALSE(again.empty()) << "a double click on a name opened no pop-up";
    std::this_thread::sleep_for(500ms);
    ASSERT_EQ(m_pDesktop->ShownWindows({"--pid", std::to_string(m_pProgram->Pid())}).size(), 2u)
        << "the second press chose an item of the pop-up";
    ASSERT_TRUE(m_pDesktop->Keys({"Escape"}));
    ASSERT_TRUE(WaitGone(again));

    ASSERT_TRUE(m_pDesktop->Keys({"ctrl+q"}));
    ASSERT_EQ(m_pProgram->WaitExit(kStepTimeout), std::optional<int>(0)) << m_pProgram->Output();
    EXPECT_EQ(Dump(), kHeader + coatTicked + shirt + scarfTicked);
}

} // namespace
