// One Syncthing instance of a test's own: its home folder with its keys and configuration, on
// 127.0.0.1 only and on ports picked for it, sharing one folder with one other device, and
// spoken to through its REST interface.
#pragma once

#include "tests/e2e/ChildProcess.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class SyncthingDevice {
public:
    // Makes the keys in home; Id() is empty if that failed (Output() says why).
    SyncthingDevice(std::string name, const std::filesystem::path& home, int listenPort,
                    int guiPort);

    const std::string& Id() const { return m_id; }
    const std::string& Name() const { return m_name; }
    int ListenPort() const { return m_listenPort; }
    std::string Output() const;

    // Writes the configuration (this device and peer, folderId at folder, nothing reaching
    // beyond 127.0.0.1) and starts the instance.
    bool Start(const SyncthingDevice& peer, const std::string& folderId,
               const std::filesystem::path& folder);
    bool Running() { return m_pProcess && m_pProcess->Running(); }

    // The body of a REST call's answer, or nothing if the call failed.
    std::optional<std::string> Rest(const std::string& method, const std::string& target);
    bool Connected(const SyncthingDevice& peer);
    // What the device knows of the folder: it agrees with the peer when both are settled, see
    // the same global list, and each has the other's latest index.
    struct FolderView {
        bool bSettled = false;    // idle, needing nothing, the peer said to need nothing
        std::string global;       // items and bytes of the global list
        std::string sequence;     // of its own index
        std::string peerSequence; // of the peer's index, as far as it has seen it
    };
    std::optional<FolderView> View(const SyncthingDevice& peer, const std::string& folderId);

private:
    void WriteConfig(const SyncthingDevice& peer, const std::string& folderId,
                     const std::filesystem::path& folder) const;

    std::string m_name;
    std::filesystem::path m_home;
    int m_listenPort;
    int m_guiPort;
    std::string m_apiKey;
    std::string m_id;
    std::string m_configVersion;
    std::unique_ptr<ChildProcess> m_pProcess;
};

// n ports on 127.0.0.1 that are free now, all different.
std::vector<int> FreePorts(int n);
// The value of "key" in a JSON text, as written there (a string without its quotes), searched
// from the position of after when that is given; empty if there is none.
std::string JsonValue(const std::string& json, const std::string& key,
                      const std::string& after = std::string());
