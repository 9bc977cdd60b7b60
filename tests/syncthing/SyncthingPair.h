// Two Syncthing devices, A and B, on this machine, sharing one folder of the test's own: what a
// test uses to cut them apart, to join them again and to wait until they agree.
#pragma once

#include "tests/syncthing/SyncthingDevice.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

class SyncthingPair {
public:
    enum Side { A, B };

    // Why Syncthing cannot run here, or empty.
    static std::string Missing();

    // Homes and folders go into workFolder.
    explicit SyncthingPair(const std::filesystem::path& workFolder);

    // Both devices running and connected to each other.
    testing::AssertionResult Start();
    // The shared folder on one side.
    std::filesystem::path Folder(Side side) const;

    // Apart as a laptop that goes offline: A pauses B through the REST interface, so that
    // neither reaches the other; then A resumes B. (When both pause and resume, the one that
    // resumes first is turned away and waits out Syncthing's redial delay of 20 s.)
    testing::AssertionResult Partition();
    testing::AssertionResult Rejoin();
    // Both folders scanned, idle, and each device known to have all of the other's changes.
    testing::AssertionResult WaitInSync(std::chrono::milliseconds timeout);

    // Both devices' logs, for a failure's message.
    std::string Output() const;

private:
    SyncthingDevice& Other(Side side) { return *m_devices[side == A ? B : A]; }
    testing::AssertionResult WaitConnected(bool connected);

    std::filesystem::path m_work;
    std::string m_folderId;
    std::array<std::unique_ptr<SyncthingDevice>, 2> m_devices;
};
