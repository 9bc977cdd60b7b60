// Two real Syncthing devices on this machine: what the tests of the shared list rely on of
// them, shown with plain files.
#include "tests/support/ListFile.h"
#include "tests/support/TempFolder.h"
#include "tests/syncthing/SyncthingPair.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kSyncTimeout = 60s;

// The names beside name in folder that Syncthing gave the losing versions of it.
std::vector<std::string> ConflictCopies(const fs::path& folder, const std::string& stem) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(stem + ".sync-conflict-"))
            names.push_back(name);
    }
    return names;
}

class SyncthingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = SyncthingPair::Missing(); !missing.empty())
            GTEST_SKIP() << missing;
        m_pPair = std::make_unique<SyncthingPair>(m_folder.Path());
        ASSERT_TRUE(m_pPair->Start());
    }

    fs::path At(SyncthingPair::Side side, const std::string& name) const {
        return m_pPair->Folder(side) / name;
    }

    TempFolder m_folder;
    std::unique_ptr<SyncthingPair> m_pPair;
};

TEST_F(SyncthingTest, AFileWrittenOnOneDeviceReachesTheOther) {
    WriteBytes(At(SyncthingPair::A, "note.txt"), "from A");
    ASSERT_TRUE(WaitFor(
        "note.txt to reach B",
        [&] { return FileBytes(At(SyncthingPair::B, "note.txt")) == "from A"; }, kSyncTimeout))
        << m_pPair->Output();
    EXPECT_TRUE(m_pPair->WaitInSync(kSyncTimeout));
}

TEST_F(SyncthingTest, ChangesOnBothSidesWhileApartLeaveAConflictCopyOfTheLoser) {
    WriteBytes(At(SyncthingPair::A, "note.txt"), "first");
    ASSERT_TRUE(m_pPair->WaitInSync(kSyncTimeout));
    ASSERT_EQ(FileBytes(At(SyncthingPair::B, "note.txt")), "first");

    ASSERT_TRUE(m_pPair->Partition());
    WriteBytes(At(SyncthingPair::A, "note.txt"), "A's");
    WriteBytes(At(SyncthingPair::B, "note.txt"), "B's");
    // The later change wins; make sure it is B's whatever the clock's granularity.
    fs::last_write_time(At(SyncthingPair::B, "note.txt"),
                        fs::last_write_time(At(SyncthingPair::A, "note.txt")) + 10s);
    ASSERT_TRUE(m_pPair->Rejoin());
    ASSERT_TRUE(m_pPair->WaitInSync(kSyncTimeout));

    for (const auto side : {SyncthingPair::A, SyncthingPair::B}) {
        SCOPED_TRACE(side == SyncthingPair::A ? "on A" : "on B");
        EXPECT_EQ(FileBytes(At(side, "note.txt")), "B's");
        const auto copies = ConflictCopies(m_pPair->Folder(side), "note");
        ASSERT_EQ(copies.size(), 1u) << m_pPair->Output();
        EXPECT_EQ(FileBytes(At(side, copies[0])), "A's");
    }
}

} // namespace
