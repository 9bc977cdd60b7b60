// Another writer changes the list file while the program runs, as a sync client does: a new
// file beside it renamed over it, or the file rewritten in place. Driven from outside on a
// real X server; what the window shows is read from its picture, the file with `vsl dump`.
#include "tests/e2e/ProgramOnDesktop.h"
#include "tests/support/ListFile.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <fstream>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const Garment kCoat{0, u"Wool coat", u"1", u"M", u"", 0, 0, 0};
const Garment kShirt{0, u"Blue shirt", u"1", u"M", u"", 0, 0, 0};
const Garment kScarf{0, u"Silk scarf", u"1", u"M", u"", 0, 0, 0};
const Garment kJacket{0, u"Linen jacket", u"1", u"M", u"", 0, 0, 0};
const Garment kTickedJacket{1, u"Linen jacket", u"1", u"M", u"", 12, 1, 2026};

class OtherWriterTest : public ProgramOnDesktop {
protected:
    // The program on coat, shirt and scarf, with the keyboard in its list.
    void StartProgram() {
        WriteListFile(ListFile(), std::vector<Garment>{kCoat, kShirt, kScarf});
        ASSERT_TRUE(LaunchProgram([&] { return Shown().size() == 3; })) << m_pProgram->Output();
        ASSERT_TRUE(m_pProgram->Running()) << m_pProgram->Output();
        ASSERT_TRUE(m_pDesktop->Xdotool({"windowfocus", "--sync", m_main}));
        ASSERT_TRUE(WaitFocus(m_main));
    }

    std::vector<ShownRow> Shown() {
        const auto picture = m_pDesktop->Picture(m_main);
        return picture ? RowsShown(*picture) : std::vector<ShownRow>();
    }
    // Waits until the window shows these rows: ticked or not, from the top.
    testing::AssertionResult WaitShown(const std::vector<bool>& ticks) {
        return WaitFor(
            "the window to show " + std::to_string(ticks.size()) + " rows",
            [&] {
                std::vector<bool> shown;
                for (const ShownRow& row : Shown())
                    shown.push_back(row.bTicked);
                return shown == ticks;
            },
            kStepTimeout);
    }

    // A new version as a sync client puts it in place: written beside, renamed over the list.
    void PutVersion(const std::vector<Garment>& garments) {
        const fs::path beside = ListFile().parent_path() / ".Vestory.vsl.incoming";
        WriteListFile(beside, garments);
        fs::rename(beside, ListFile());
    }

    testing::AssertionResult WaitForGarments(std::vector<std::string> expected) {
        std::sort(expected.begin(), expected.end());
        return WaitFor(
            "the list file to hold the garments expected",
            [&] { return DumpLines(Dump(), true) == expected; }, kStepTimeout);
    }
};

TEST_F(OtherWriterTest, TheWindowFollowsTheFileButNotAVersionHalfWritten) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    // Renamed over the list: the jacket, ticked, comes first.
    PutVersion({kTickedJacket, kCoat, kShirt, kScarf});
    ASSERT_TRUE(WaitShown({true, false, false, false}));

    // Rewritten in place, and written half first: the window keeps what it has until the
    // version reads whole.
    const std::string whole = ListBytes(std::vector<Garment>{kCoat, kShirt});
    {
        std::ofstream out(ListFile(), std::ios::binary | std::ios::trunc);
        out << whole.substr(0, whole.size() / 2) << std::flush;
        std::this_thread::sleep_for(1500ms);
        EXPECT_TRUE(WaitShown({true, false, false, false}));
        out << whole.substr(whole.size() / 2);
    }
    ASSERT_TRUE(WaitShown({false, false}));
    EXPECT_TRUE(OtherWindow().empty()) << "the change brought up a window";
    EXPECT_EQ(FileBytes(ListFile()), whole) << "the program wrote over the other writer";
}

// The garment the user chose is the one acted on, wherever the other writer's change moved its
// row, and the other writer's garments stay.
TEST_F(OtherWriterTest, TheDialogAndThePopUpActOnTheChosenGarmentAfterAChange) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    // The shirt's dialog is open (second row) when the jacket arrives on top and the scarf goes.
    ASSERT_TRUE(m_pDesktop->Keys({"Home", "Down", "Return"}));
    const std::string dialog = WaitForModal();
    ASSERT_FALSE(dialog.empty()) << "Enter opened no dialog";
    PutVersion({kJacket, kCoat, kShirt});
    ASSERT_TRUE(m_pDesktop->Keys({"Tab", "Tab", "Tab"}));
    ASSERT_TRUE(m_pDesktop->Type("Starch"));
    ASSERT_TRUE(m_pDesktop->Keys({"shift+Tab", "Return"}));
    ASSERT_TRUE(WaitGone(dialog));
    ASSERT_TRUE(WaitForGarments(
        {DumpLine("Linen jacket"), DumpLine("Wool coat"), DumpLine("Blue shirt", "Starch")}))
        << Dump();

    // The pop-up is open on the coat's row when a new version puts the scarf above it.
    const auto lines = DumpLines(Dump());
    const int coatRow =
        int(std::find(lines.begin(), lines.end(), DumpLine("Wool coat")) - lines.begin());
    std::vector<std::string> keys{"Home"};
    keys.insert(keys.end(), coatRow, "Down");
    keys.push_back("shift+F10");
    ASSERT_TRUE(m_pDesktop->Keys(keys));
    const std::string popup = WaitForModal();
    ASSERT_FALSE(popup.empty()) << "Shift+F10 opened no pop-up";
    std::vector<Garment> moved{kScarf, kJacket, kCoat, kShirt};
    moved[3].note = u"Starch";
    PutVersion(moved);
    // Delete is the pop-up's last item; the question is answered Yes.
    ASSERT_TRUE(m_pDesktop->Keys({"Up", "Return"}));
    ASSERT_TRUE(WaitGone(popup));
    const std::string question = WaitForModal();
    ASSERT_FALSE(question.empty()) << "Delete asked nothing";
    ASSERT_TRUE(m_pDesktop->Keys({"y"}));
    ASSERT_TRUE(WaitGone(question));
    EXPECT_TRUE(WaitForGarments(
        {DumpLine("Silk scarf"), DumpLine("Linen jacket"), DumpLine("Blue shirt", "Starch")}))
        << Dump();
}

// A tick the window takes before it has seen another writer's version: its save finds the
// file changed and keeps the other writer's garments.
TEST_F(OtherWriterTest, ATickBeforeTheWindowSawAChangeKeepsTheChange) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    // Stopped, the program gets the new version and the key at once, and meets both when it
    // goes on.
    m_pProgram->Kill(SIGSTOP);
    PutVersion({kCoat, kShirt, kScarf, kJacket});
    ASSERT_TRUE(m_pDesktop->Keys({"Home", "space"}));
    m_pProgram->Kill(SIGCONT);
    EXPECT_TRUE(WaitForGarments({DumpLine("Wool coat", "", true), DumpLine("Blue shirt"),
                                 DumpLine("Silk scarf"), DumpLine("Linen jacket")}))
        << Dump();
    EXPECT_TRUE(WaitShown({true, false, false, false}));
}

} // namespace
