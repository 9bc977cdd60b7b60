// One list on two machines, A and B, each with its own X server, its own program and its own
// Syncthing device, the list file a link into the device's folder as the README describes.
// The devices are cut apart, the list is changed on both through the keyboard, and they are
// joined again: within a minute both files must be the same bytes, holding what the merge
// keeps, with no conflict copy left beside them.
#include "tests/e2e/ProgramOnDesktop.h"
#include "tests/support/ListFile.h"
#include "tests/syncthing/SyncthingPair.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kConvergeTimeout = 60s;

const std::vector<Garment> kList = {{0, u"Wool coat", u"1", u"M", u"", 0, 0, 0},
                                    {0, u"Blue shirt", u"1", u"M", u"", 0, 0, 0},
                                    {0, u"Silk scarf", u"1", u"M", u"", 0, 0, 0}};

class SharedListTest : public ProgramOnDesktop {
protected:
    enum Side { A = SyncthingPair::A, B = SyncthingPair::B };

    void SetUp() override {
        if (const std::string missing = SyncthingPair::Missing(); !missing.empty())
            GTEST_SKIP() << missing;
        ProgramOnDesktop::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(AddMachine(m_other, m_folder.Path() / "b"));
        m_pPair = std::make_unique<SyncthingPair>(m_folder.Path() / "syncthing");
        ASSERT_TRUE(m_pPair->Start());
        for (const Side side : {A, B}) {
            On(side);
            fs::create_directories(ListFile().parent_path());
            fs::create_symlink(SyncedList(side), ListFile());
        }
        WriteListFile(SyncedList(A), kList);
        ASSERT_TRUE(WaitFor(
            "the list to reach B",
            [&] { return FileBytes(SyncedList(B)) == FileBytes(SyncedList(A)); }, kConvergeTimeout))
            << m_pPair->Output();
    }

    void TearDown() override {
        for (const Side side : {A, B}) {
            On(side);
            m_pProgram.reset();
            m_pDesktop.reset();
        }
        m_pPair.reset();
    }

    fs::path SyncedList(Side side) const {
        return m_pPair->Folder(SyncthingPair::Side(side)) / "Vestory.vsl";
    }

    // The fixture's helpers act on this machine from now on.
    void On(Side side) {
        if (side != m_on)
            SwapMachine(m_other);
        m_on = side;
    }

    // The program on this machine, showing rows rows, with the keyboard in its list.
    void StartProgram(Side side, std::size_t rows) {
        On(side);
        ASSERT_TRUE(LaunchProgram([&] {
            return RowCentres().value_or(std::vector<int>()).size() == rows;
        })) << m_pProgram->Output();
        ASSERT_TRUE(m_pProgram->Running()) << m_pProgram->Output();
        ASSERT_TRUE(m_pDesktop->Xdotool({"windowfocus", "--sync", m_main}));
        ASSERT_TRUE(WaitFocus(m_main));
    }
    void StartBoth() {
        ASSERT_NO_FATAL_FAILURE(StartProgram(A, kList.size()));
        ASSERT_NO_FATAL_FAILURE(StartProgram(B, kList.size()));
    }
    void Quit(Side side) {
        On(side);
        ASSERT_TRUE(m_pDesktop->Keys({"ctrl+q"}));
        ASSERT_EQ(m_pProgram->WaitExit(kStepTimeout), std::optional<int>(0))
            << m_pProgram->Output();
    }

    // The keys that put the list's keyboard row on row.
    static std::vector<std::string> ToRow(int row, std::vector<std::string> then) {
        std::vector<std::string> keys{"Home"};
        keys.insert(keys.end(), row, "Down");
        keys.insert(keys.end(), then.begin(), then.end());
        return keys;
    }
    // Changes on the machine acted on, each waited for in its list file.
    void Add(const std::string& name) {
        const std::string before = Dump();
        ASSERT_NO_FATAL_FAILURE(InModal({"Insert"}, {}, name, {"Tab", "Tab", "M", "Return"}));
        ASSERT_TRUE(WaitForDump(before + DumpLine(name))) << Dump();
    }
    // The row that shows the garment of this dump line (the list is never sorted here).
    int RowOf(const std::string& line) {
        const auto lines = DumpLines(Dump());
        const auto at = std::find(lines.begin(), lines.end(), line);
        EXPECT_NE(at, lines.end()) << line << "is not in the list";
        return int(at - lines.begin());
    }
    void Tick(const std::string& name) {
        ASSERT_TRUE(m_pDesktop->Keys(ToRow(RowOf(DumpLine(name)), {"space"})));
        ASSERT_TRUE(
            WaitUntil([&] { return Dump().find(DumpLine(name, "", true)) != std::string::npos; },
                      kStepTimeout))
            << Dump();
    }
    void EditNote(const std::string& name, const std::string& note) {
        const int row = RowOf(DumpLine(name));
        // Tab goes on to the quantity, the size and the note; Enter in the size field confirms.
        ASSERT_NO_FATAL_FAILURE(
            InModal(ToRow(row, {"Return"}), {"Tab", "Tab", "Tab"}, note, {"shift+Tab", "Return"}));
        ASSERT_TRUE(WaitUntil(
            [&] { return Dump().find(DumpLine(name, note)) != std::string::npos; }, kStepTimeout))
            << Dump();
    }
    void Delete(const std::string& name) {
        ASSERT_NO_FATAL_FAILURE(InModal(ToRow(RowOf(DumpLine(name)), {"Delete"}), {}, "", {"y"}));
        ASSERT_TRUE(WaitUntil([&] { return Dump().find(DumpLine(name)) == std::string::npos; },
                              kStepTimeout))
            << Dump();
    }

    // Names of conflict copies beside the list in a device's folder; not Syncthing's own
    // hidden pieces of one it was fetching, which it clears away itself.
    std::vector<std::string> ConflictCopies(Side side) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(SyncedList(side).parent_path())) {
            const std::string name = entry.path().filename().string();
            if (name.find(".sync-conflict-") != std::string::npos &&
                name.rfind(".syncthing.", 0) != 0)
                names.push_back(name);
        }
        return names;
    }
    bool Converged() {
        const std::string a = FileBytes(SyncedList(A));
        return !a.empty() && a == FileBytes(SyncedList(B)) && ConflictCopies(A).empty() &&
               ConflictCopies(B).empty();
    }

    // Joins the devices again and waits until both files are the same bytes, no conflict copy
    // is left, Syncthing has nothing more to carry, and that stays so; then both hold these
    // garments, each window showing them. Reports how long it took.
    void RejoinAndConverge(const std::vector<std::string>& expected) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(m_pPair->Rejoin());
        ASSERT_NO_FATAL_FAILURE(Converge(start, expected));
    }
    void Converge(std::chrono::steady_clock::time_point start, std::vector<std::string> expected) {
        const auto deadline = start + kConvergeTimeout;
        const auto left = [&] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
        };
        bool bSettled = false;
        auto convergedAt = start;
        while (!bSettled && left().count() > 0) {
            if (!WaitUntil([&] { return Converged(); }, left(), 100ms) ||
                !m_pPair->WaitInSync(left()))
                break;
            convergedAt = std::chrono::steady_clock::now();
            const std::string settled = FileBytes(SyncedList(A));
            std::this_thread::sleep_for(2s);
            bSettled = Converged() && FileBytes(SyncedList(A)) == settled;
        }
        ASSERT_TRUE(bSettled) << Report();
        const double seconds = std::chrono::duration<double>(convergedAt - start).count();
        std::cout << "converged in " << seconds << " s\n";
        RecordProperty("convergence_seconds", std::to_string(seconds));

        // Which machine's order the merge kept is not the point here.
        On(A);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(DumpLines(Dump(), true), expected) << Dump();
        for (const Side side : {A, B}) {
            On(side);
            EXPECT_TRUE(WaitFor(
                "window to show the merged list",
                [&] { return RowCentres().value_or(std::vector<int>()).size() == expected.size(); },
                kStepTimeout))
                << (side == A ? "on A" : "on B");
        }
    }

    std::string Report() {
        std::string report = m_pPair->Output();
        for (const Side side : {A, B}) {
            On(side);
            report += std::string("\n--- machine ") + (side == A ? "A" : "B") + ": " + Dump();
            for (const std::string& name : ConflictCopies(side))
                report += "conflict copy " + name + "\n";
            if (m_pProgram)
                report += m_pProgram->Output();
        }
        return report;
    }

    std::unique_ptr<SyncthingPair> m_pPair;
    Machine m_other; // B's, while the fixture acts on A
    Side m_on = A;
};

TEST_F(SharedListTest, AProgramStartedAMinuteAfterTheJoinFindsBothChanges) {
    ASSERT_NO_FATAL_FAILURE(StartBoth());
    ASSERT_TRUE(m_pPair->Partition());
    On(A);
    ASSERT_NO_FATAL_FAILURE(Add("Linen jacket"));
    ASSERT_NO_FATAL_FAILURE(Quit(A));
    On(B);
    ASSERT_NO_FATAL_FAILURE(Tick("Blue shirt"));
    const auto joined = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_pPair->Rejoin());
    std::this_thread::sleep_until(joined + 60s);
    ASSERT_NO_FATAL_FAILURE(StartProgram(A, 4));
    ASSERT_NO_FATAL_FAILURE(Converge(std::chrono::steady_clock::now(),
                                     {DumpLine("Wool coat"), DumpLine("Blue shirt", "", true),
                                      DumpLine("Silk scarf"), DumpLine("Linen jacket")}));
}

TEST_F(SharedListTest, ADeletionOnOneMachineHoldsAgainstAnAddOnTheOther) {
    ASSERT_NO_FATAL_FAILURE(StartBoth());
    ASSERT_TRUE(m_pPair->Partition());
    On(A);
    ASSERT_NO_FATAL_FAILURE(Delete("Silk scarf"));
    On(B);
    ASSERT_NO_FATAL_FAILURE(Add("Linen jacket"));
    ASSERT_NO_FATAL_FAILURE(RejoinAndConverge(
        {DumpLine("Wool coat"), DumpLine("Blue shirt"), DumpLine("Linen jacket")}));
}

TEST_F(SharedListTest, ATickAndANoteOnTheSameGarmentKeepBothVersions) {
    ASSERT_NO_FATAL_FAILURE(StartBoth());
    ASSERT_TRUE(m_pPair->Partition());
    On(A);
    ASSERT_NO_FATAL_FAILURE(Tick("Wool coat"));
    On(B);
    ASSERT_NO_FATAL_FAILURE(EditNote("Wool coat", "Press only"));
    ASSERT_NO_FATAL_FAILURE(
        RejoinAndConverge({DumpLine("Wool coat", "", true), DumpLine("Wool coat", "Press only"),
                           DumpLine("Blue shirt"), DumpLine("Silk scarf")}));
}

// A's new garment and B's tick both survive; then A deletes that garment while B ticks another,
// and the deletion holds: the second merge's base is the first merge, and a wrong one would
// bring the jacket back.
TEST_F(SharedListTest, AnAddAndATickThenADeletionAndATickInTwoPartitions) {
    ASSERT_NO_FATAL_FAILURE(StartBoth());
    ASSERT_TRUE(m_pPair->Partition());
    On(A);
    ASSERT_NO_FATAL_FAILURE(Add("Linen jacket"));
    On(B);
    ASSERT_NO_FATAL_FAILURE(Tick("Blue shirt"));
    ASSERT_NO_FATAL_FAILURE(
        RejoinAndConverge({DumpLine("Wool coat"), DumpLine("Blue shirt", "", true),
                           DumpLine("Silk scarf"), DumpLine("Linen jacket")}));

    ASSERT_TRUE(m_pPair->Partition());
    On(A);
    ASSERT_NO_FATAL_FAILURE(Delete("Linen jacket"));
    On(B);
    ASSERT_NO_FATAL_FAILURE(Tick("Wool coat"));
    ASSERT_NO_FATAL_FAILURE(
        RejoinAndConverge({DumpLine("Wool coat", "", true), DumpLine("Blue shirt", "", true),
                           DumpLine("Silk scarf")}));
}

} // namespace
