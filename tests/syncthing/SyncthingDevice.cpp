#include "tests/syncthing/SyncthingDevice.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kRestTimeout = 10s;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string RandomKey() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string key;
    for (int i = 0; i < 32; ++i)
        key += kLetters[random() % (sizeof kLetters - 1)];
    return key;
}

int LoopbackSocket() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fd;
    timeval limit{std::chrono::seconds(kRestTimeout).count(), 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    return fd;
}

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// One HTTP/1.0 exchange: the server closes the connection after its answer.
std::optional<std::string> HttpCall(int port, const std::string& request) {
    const int fd = LoopbackSocket();
    if (fd < 0)
        return std::nullopt;
    const sockaddr_in address = LoopbackAddress(port);
    std::string answer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        char buffer[4096];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, std::size_t(n));
    }
    ::close(fd);
    const auto bodyAt = answer.find("\r\n\r\n");
    if (answer.compare(0, 9, "HTTP/1.1 ") != 0 && answer.compare(0, 9, "HTTP/1.0 ") != 0)
        return std::nullopt;
    if (answer.compare(9, 3, "200") != 0 || bodyAt == std::string::npos)
        return std::nullopt;
    return answer.substr(bodyAt + 4);
}

} // namespace

std::vector<int> FreePorts(int n) {
    // The sockets stay bound until all are picked, so that no two ports are the same.
    std::vector<int> fds, ports;
    for (int i = 0; i < n; ++i) {
        const int fd = LoopbackSocket();
        sockaddr_in address = LoopbackAddress(0);
        socklen_t size = sizeof address;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            ports.push_back(0);
        else
            ports.push_back(ntohs(address.sin_port));
        fds.push_back(fd);
    }
    for (const int fd : fds)
        if (fd >= 0)
            ::close(fd);
    return ports;
}

std::string JsonValue(const std::string& json, const std::string& key, const std::string& after) {
    std::size_t at = 0;
    if (!after.empty() && (at = json.find('"' + after + '"')) == std::string::npos)
        return std::string();
    at = json.find('"' + key + '"', at);
    if (at == std::string::npos)
        return std::string();
    at = json.find(':', at + key.size() + 2);
    at = json.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string::npos)
        return std::string();
    if (json[at] == '"')
        return json.substr(at + 1, json.find('"', at + 1) - at - 1);
    return json.substr(at, json.find_first_of(",}\r\n", at) - at);
}

SyncthingDevice::SyncthingDevice(std::string name, const fs::path& home, int listenPort,
                                 int guiPort)
    : m_name(std::move(name)), m_home(home), m_listenPort(listenPort), m_guiPort(guiPort),
      m_apiKey(RandomKey()) {
    fs::create_directories(m_home);
    ChildProcess generate(
        {FindProgram("syncthing"), "generate", "--home=" + m_home.string(), "--no-default-folder"},
        {}, (m_home / "generate.txt").string());
    if (generate.WaitExit(30s) != std::optional<int>(0))
        return;
    const std::string output = generate.Output();
    const auto idAt = output.find("Device ID: ");
    if (idAt != std::string::npos)
        m_id = output.substr(idAt + 11, output.find('\n', idAt) - idAt - 11);
    // The configuration written below is of the schema version this Syncthing writes itself,
    // so that it takes it as it is.
    const std::string config = ReadFile(m_home / "config.xml");
    const auto at = config.find("version=\"");
    if (at != std::string::npos)
        m_configVersion = config.substr(at + 9, config.find('"', at + 9) - at - 9);
}

std::string SyncthingDevice::Output() const {
    // The end of the log, where a failure shows.
    constexpr std::size_t kTail = 4000;
    const std::string log =
        ReadFile(m_home / "generate.txt") + (m_pProcess ? m_pProcess->Output() : "");
    return log.size() > kTail ? log.substr(log.size() - kTail) : log;
}

void SyncthingDevice::WriteConfig(const SyncthingDevice& peer, const std::string& folderId,
                                  const fs::path& folder) const {
    auto device = [](const SyncthingDevice& d) {
        return "    <device id=\"" + d.m_id + "\" name=\"" + d.m_name +
               "\" compression=\"metadata\" introducer=\"false\">\n"
               "        <address>tcp://127.0.0.1:" +
               std::to_string(d.m_listenPort) +
               "</address>\n"
               "        <paused>false</paused>\n"
               "    </device>\n";
    };
    std::ofstream config(m_home / "config.xml", std::ios::trunc);
    // Rescans every second and a watcher with a delay of one second, so that changes travel at
    // once, and a pull that met a file changed under it is tried again a second later, not a
    // minute; conflicts kept as Syncthing keeps them by default (a folder written here by hand
    // would otherwise keep none and drop the losing version).
    config << "<configuration version=\"" << m_configVersion << "\">\n"
           << "    <folder id=\"" << folderId << "\" label=\"VestoryList\" path=\""
           << folder.string()
           << "\" type=\"sendreceive\" rescanIntervalS=\"1\" fsWatcherEnabled=\"true\""
              " fsWatcherDelayS=\"1\" ignorePerms=\"false\" autoNormalize=\"true\">\n"
           << "        <filesystemType>basic</filesystemType>\n"
           << "        <device id=\"" << m_id << "\"></device>\n"
           << "        <device id=\"" << peer.m_id << "\"></device>\n"
           << "        <minDiskFree unit=\"%\">0</minDiskFree>\n"
           << "        <maxConflicts>10</maxConflicts>\n"
           << "        <pullerPauseS>1</pullerPauseS>\n"
           << "        <markerName>.stfolder</markerName>\n"
           << "        <order>random</order>\n"
           << "        <maxConcurrentWrites>2</maxConcurrentWrites>\n"
           << "        <blockPullOrder>standard</blockPullOrder>\n"
           << "        <copyRangeMethod>standard</copyRangeMethod>\n"
           << "        <weakHashThresholdPct>25</weakHashThresholdPct>\n"
           << "    </folder>\n"
           << device(*this) << device(peer) << "    <gui enabled=\"true\" tls=\"false\">\n"
           << "        <address>127.0.0.1:" << m_guiPort << "</address>\n"
           << "        <apikey>" << m_apiKey << "</apikey>\n"
           << "    </gui>\n"
           << "    <options>\n"
           << "        <listenAddress>tcp://127.0.0.1:" << m_listenPort << "</listenAddress>\n"
           << "        <globalAnnounceEnabled>false</globalAnnounceEnabled>\n"
           << "        <localAnnounceEnabled>false</localAnnounceEnabled>\n"
           << "        <relaysEnabled>false</relaysEnabled>\n"
           << "        <natEnabled>false</natEnabled>\n"
           << "        <urAccepted>-1</urAccepted>\n"
           << "        <crashReportingEnabled>false</crashReportingEnabled>\n"
           << "        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>\n"
           << "        <startBrowser>false</startBrowser>\n"
           << "        <announceLANAddresses>false</announceLANAddresses>\n"
           << "        <reconnectionIntervalS>1</reconnectionIntervalS>\n"
           << "        <restartOnWakeup>false</restartOnWakeup>\n"
           << "        <stunKeepaliveStartS>0</stunKeepaliveStartS>\n"
           << "        <minHomeDiskFree unit=\"%\">0</minHomeDiskFree>\n"
           << "        <setLowPriority>false</setLowPriority>\n"
           << "    </options>\n"
           << "</configuration>\n";
}

bool SyncthingDevice::Start(const SyncthingDevice& peer, const std::string& folderId,
                            const fs::path& folder) {
    if (m_id.empty() || peer.m_id.empty())
        return false;
    fs::create_directories(folder / ".stfolder");
    WriteConfig(peer, folderId, folder);
    // Told that it is already the monitored process, Syncthing runs as this one process and
    // starts no monitor of its own, which would outlive a killed parent.
    m_pProcess = std::make_unique<ChildProcess>(
        std::vector<std::string>{FindProgram("syncthing"), "serve", "--home=" + m_home.string(),
                                 "--no-browser", "--no-restart", "--no-upgrade",
                                 "--no-default-folder", "--skip-port-probing"},
        ChildProcess::Environment{
            {"STNOUPGRADE", "1"}, {"STNORESTART", "1"}, {"STMONITORED", "yes"}},
        (m_home / "syncthing.txt").string());
    return m_pProcess->Started();
}

std::optional<std::string> SyncthingDevice::Rest(const std::string& method,
                                                 const std::string& target) {
    return HttpCall(m_guiPort, method + " " + target +
                                   " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(m_guiPort) +
                                   "\r\nX-API-Key: " + m_apiKey + "\r\nContent-Length: 0\r\n\r\n");
}

bool SyncthingDevice::Connected(const SyncthingDevice& peer) {
    const auto connections = Rest("GET", "/rest/system/connections");
    return connections && JsonValue(*connections, "connected", peer.m_id) == "true";
}

std::optional<SyncthingDevice::FolderView> SyncthingDevice::View(const SyncthingDevice& peer,
                                                                 const std::string& folderId) {
    const auto status = Rest("GET", "/rest/db/status?folder=" + folderId);
    const auto completion =
        Rest("GET", "/rest/db/completion?folder=" + folderId + "&device=" + peer.m_id);
    if (!status || !completion)
        return std::nullopt;
    FolderView view;
    view.bSettled =
        JsonValue(*status, "state") == "idle" && JsonValue(*status, "needTotalItems") == "0" &&
        JsonValue(*completion, "completion") == "100" &&
        JsonValue(*completion, "needItems") == "0" && JsonValue(*completion, "needDeletes") == "0";
    view.global = JsonValue(*status, "globalTotalItems") + "/" + JsonValue(*status, "globalBytes");
    view.sequence = JsonValue(*status, "sequence");
    view.peerSequence = JsonValue(*completion, "sequence");
    return view;
}
