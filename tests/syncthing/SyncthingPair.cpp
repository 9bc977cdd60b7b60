#include "tests/syncthing/SyncthingPair.h"

#include <random>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kStartTimeout = 60s;
// A device that dialled while it was turned away waits up to 20 s before it dials again.
constexpr auto kConnectTimeout = 60s;

} // namespace

std::string SyncthingPair::Missing() {
    if (FindProgram("syncthing").empty())
        return "needs syncthing (Debian syncthing, which scripts/bootstrap.sh installs)";
    return std::string();
}

SyncthingPair::SyncthingPair(const fs::path& workFolder) : m_work(workFolder) {
    // A folder id and ports of this test's own, so that runs side by side never meet.
    std::random_device random;
    m_folderId = "vl-test-" + std::to_string(random() % 1000000000);
    const std::vector<int> ports = FreePorts(4);
    m_devices[A] = std::make_unique<SyncthingDevice>("A", m_work / "a-home", ports[0], ports[1]);
    m_devices[B] = std::make_unique<SyncthingDevice>("B", m_work / "b-home", ports[2], ports[3]);
}

fs::path SyncthingPair::Folder(Side side) const {
    return m_work / (side == A ? "a-sync" : "b-sync");
}

std::string SyncthingPair::Output() const {
    return "\n--- device A ---\n" + m_devices[A]->Output() + "\n--- device B ---\n" +
           m_devices[B]->Output();
}

testing::AssertionResult SyncthingPair::Start() {
    for (const Side side : {A, B}) {
        if (m_devices[side]->Id().empty())
            return testing::AssertionFailure()
                   << "no keys for device " << m_devices[side]->Name() << Output();
        if (!m_devices[side]->Start(Other(side), m_folderId, Folder(side)))
            return testing::AssertionFailure() << "syncthing did not start" << Output();
    }
    testing::AssertionResult up = WaitFor(
        "both Syncthing instances to answer",
        [&] {
            return m_devices[A]->Rest("GET", "/rest/system/ping") &&
                   m_devices[B]->Rest("GET", "/rest/system/ping");
        },
        kStartTimeout);
    if (!up)
        return up << Output();
    return WaitConnected(true);
}

testing::AssertionResult SyncthingPair::WaitConnected(bool connected) {
    testing::AssertionResult done = WaitFor(
        connected ? "the devices to connect" : "the devices to part",
        [&] {
            return m_devices[A]->Connected(*m_devices[B]) == connected &&
                   m_devices[B]->Connected(*m_devices[A]) == connected;
        },
        kConnectTimeout);
    return done ? done : done << Output();
}

testing::AssertionResult SyncthingPair::Partition() {
    if (!m_devices[A]->Rest("POST", "/rest/system/pause?device=" + m_devices[B]->Id()))
        return testing::AssertionFailure() << "pausing failed" << Output();
    return WaitConnected(false);
}

testing::AssertionResult SyncthingPair::Rejoin() {
    if (!m_devices[A]->Rest("POST", "/rest/system/resume?device=" + m_devices[B]->Id()))
        return testing::AssertionFailure() << "resuming failed" << Output();
    return WaitConnected(true);
}

testing::AssertionResult SyncthingPair::WaitInSync(std::chrono::milliseconds timeout) {
    testing::AssertionResult done = WaitFor(
        "both folders to be idle and in sync",
        [&] {
            // A scan first, so that a change no scan has seen yet does not pass for agreement.
            for (const Side side : {A, B})
                if (!m_devices[side]->Rest("POST", "/rest/db/scan?folder=" + m_folderId))
                    return false;
            const auto a = m_devices[A]->View(*m_devices[B], m_folderId);
            const auto b = m_devices[B]->View(*m_devices[A], m_folderId);
            return a && b && a->bSettled && b->bSettled && a->global == b->global &&
                   a->sequence == b->peerSequence && b->sequence == a->peerSequence;
        },
        timeout);
    return done ? done : done << Output();
}
