#include "tests/e2e/ProgramOnDesktop.h"

#include <algorithm>
#include <ctime>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A row's check box shows as a 14-pixel frame line down its left edge, grey when empty and
// black when ticked, 3 pixels from the window's left edge (the picture's 2-pixel margin, then
// its own transparent column).
constexpr int kCheckBoxFrameX = 3;
constexpr int kCheckBoxFrameHeight = 14;
constexpr std::uint32_t kEmptyFrame = 0x808080;
constexpr std::uint32_t kTickedFrame = 0x000000;

// An X server for one machine, and its runtime folder as the program requires it.
testing::AssertionResult PrepareHome(const fs::path& home,
                                     std::unique_ptr<VirtualDesktop>& pDesktop) {
    fs::create_directories(home / "root");
    pDesktop = std::make_unique<VirtualDesktop>(home);
    if (!pDesktop->Started())
        return testing::AssertionFailure() << pDesktop->ServerOutput();
    fs::create_directories(home / "run");
    fs::permissions(home / "run", fs::perms::owner_all);
    return testing::AssertionSuccess();
}

} // namespace

ProgramOnDesktop::ProgramOnDesktop(std::vector<std::string> tools) : m_tools(std::move(tools)) {}

void ProgramOnDesktop::SetUp() {
    std::vector<std::string> missing = VirtualDesktop::MissingTools();
    std::string needed;
    for (const std::string& tool : m_tools) {
        needed += ", " + tool;
        if (FindProgram(tool).empty())
            missing.push_back(tool);
    }
    if (!missing.empty()) {
        std::string names;
        for (const std::string& name : missing)
            names += " " + name;
        GTEST_SKIP() << "needs Xvfb, xdotool and xwd (Debian xvfb, xdotool, x11-apps)" << needed
                     << "; missing:" << names;
    }
    m_home = m_folder.Path();
    ASSERT_TRUE(PrepareHome(m_home, m_pDesktop));
}

void ProgramOnDesktop::TearDown() {
    m_pProgram.reset(); // before the server it shows its windows on
    m_pDesktop.reset();
}

testing::AssertionResult ProgramOnDesktop::AddMachine(Machine& machine, const fs::path& home) {
    machine.home = home;
    return PrepareHome(home, machine.pDesktop);
}

void ProgramOnDesktop::SwapMachine(Machine& machine) {
    std::swap(m_home, machine.home);
    std::swap(m_pDesktop, machine.pDesktop);
    std::swap(m_pProgram, machine.pProgram);
    std::swap(m_main, machine.main);
}

fs::path ProgramOnDesktop::ListFile() const {
    return m_home / "root" / "My Documents" / "Personal" / "Vestory.vsl";
}

ChildProcess::Environment ProgramOnDesktop::ProgramEnvironment() const {
    return {{"DISPLAY", m_pDesktop->Display()},
            {"QT_QPA_PLATFORM", "xcb"},
            {"VESTORYLIST_ROOT", (m_home / "root").string()},
            {"XDG_CONFIG_HOME", (m_home / "config").string()},
            {"XDG_RUNTIME_DIR", (m_home / "run").string()},
            {"XDG_STATE_HOME", (m_home / "state").string()},
            {"XDG_DATA_HOME", (m_home / "data").string()},
            {"VESTORYLIST_EXIT_AFTER_FIRST_PAINT", std::nullopt},
            {"LSAN_OPTIONS", "suppressions=" LSAN_SUPPRESSIONS}};
}

testing::AssertionResult ProgramOnDesktop::LaunchProgram(const std::function<bool()>& ready) {
    m_main.clear();
    m_pProgram =
        std::make_unique<ChildProcess>(std::vector<std::string>{VESTORYLIST_PROGRAM},
                                       ProgramEnvironment(), (m_home / "program.txt").string());
    if (!m_pProgram->Started())
        return testing::AssertionFailure() << "the program did not start";
    return WaitFor(
        "the main window \"VestoryList\" to show",
        [&] {
            const auto ids = m_pDesktop->ShownWindows(
                {"--pid", std::to_string(m_pProgram->Pid()), "--name", "^VestoryList$"});
            if (ids.size() == 1)
                m_main = ids[0];
            return (!m_main.empty() && (!ready || ready())) || !m_pProgram->Running();
        },
        kStartTimeout);
}

ProgramOnDesktop::Rect ProgramOnDesktop::Geometry(const std::string& window) {
    Rect r;
    std::istringstream lines(
        m_pDesktop->Xdotool({"getwindowgeometry", "--shell", window}).value_or(""));
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X")
            r.x = value;
        else if (key == "Y")
            r.y = value;
        else if (key == "WIDTH")
            r.cx = value;
        else if (key == "HEIGHT")
            r.cy = value;
    }
    return r;
}

std::string ProgramOnDesktop::OtherWindow(const std::vector<std::string>& criteria) {
    std::vector<std::string> search{"--pid", std::to_string(m_pProgram->Pid())};
    search.insert(search.end(), criteria.begin(), criteria.end());
    std::string found;
    // xdotool's search by name may also find the main window, which owns dialogs.
    for (const std::string& id : m_pDesktop->ShownWindows(search))
        if (id != m_main)
            found = id;
    return found;
}

testing::AssertionResult ProgramOnDesktop::WaitGone(const std::string& window) {
    return WaitFor(
        "window " + window + " to close",
        [&] {
            const auto ids = m_pDesktop->ShownWindows({"--pid", std::to_string(m_pProgram->Pid())});
            return std::find(ids.begin(), ids.end(), window) == ids.end();
        },
        kStepTimeout);
}

testing::AssertionResult ProgramOnDesktop::WaitFocus(const std::string& window) {
    return WaitFor(
        "window " + window + " to have the keyboard",
        [&] { return m_pDesktop->FocusedWindow() == window; }, kStepTimeout);
}

std::string ProgramOnDesktop::Dump() {
    const std::string out = (m_home / "dump.csv").string();
    ChildProcess vsl({VSL_PROGRAM, "dump", ListFile().string()}, {}, out);
    if (vsl.WaitExit(kStepTimeout) != std::optional<int>(0))
        return std::string();
    return vsl.Output();
}

bool ProgramOnDesktop::WaitForDump(const std::string& expected) {
    return WaitUntil([&] { return Dump() == expected; }, kStepTimeout);
}

std::string ProgramOnDesktop::WaitForModal() {
    std::string found;
    WaitUntil(
        [&] {
            if (const std::string id = OtherWindow(); !id.empty())
                found = id;
            return !found.empty() &&
                   (m_pDesktop->FocusedWindow() == found || m_pDesktop->IsOverrideRedirect(found));
        },
        kStepTimeout);
    return found;
}

void ProgramOnDesktop::InModal(const std::vector<std::string>& open,
                               const std::vector<std::string>& before, const std::string& text,
                               const std::vector<std::string>& after) {
    ASSERT_TRUE(m_pDesktop->Keys(open));
    const std::string window = WaitForModal();
    ASSERT_FALSE(window.empty()) << "no window opened for " << open.back();
    if (!before.empty()) {
        ASSERT_TRUE(m_pDesktop->Keys(before));
    }
    if (!text.empty()) {
        ASSERT_TRUE(m_pDesktop->Type(text));
    }
    if (!after.empty()) {
        ASSERT_TRUE(m_pDesktop->Keys(after));
    }
    ASSERT_TRUE(WaitGone(window));
    ASSERT_TRUE(WaitFocus(m_main)) << "the keyboard did not come back to the list";
}

std::optional<std::vector<int>> ProgramOnDesktop::RowCentres() {
    const auto picture = m_pDesktop->Picture(m_main);
    if (!picture)
        return std::nullopt;
    std::vector<int> centres;
    for (const ShownRow& row : RowsShown(*picture))
        centres.push_back(row.yCentre);
    return centres;
}

std::vector<ProgramOnDesktop::ShownRow> ProgramOnDesktop::RowsShown(const XwdImage& picture) {
    std::vector<ShownRow> rows;
    int y = 0;
    while (y < picture.Height()) {
        const std::uint32_t colour = picture.Pixel(kCheckBoxFrameX, y);
        if (colour != kEmptyFrame && colour != kTickedFrame) {
            ++y;
            continue;
        }
        int yEnd = y;
        while (yEnd < picture.Height() && picture.Pixel(kCheckBoxFrameX, yEnd) == colour)
            ++yEnd;
        if (yEnd - y == kCheckBoxFrameHeight)
            rows.push_back({(y + yEnd) / 2, colour == kTickedFrame});
        y = yEnd;
    }
    return rows;
}

std::string ProgramOnDesktop::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return std::to_string(local.tm_mon + 1) + "," + std::to_string(local.tm_mday) + "," +
           std::to_string(local.tm_year + 1900);
}

std::string ProgramOnDesktop::DumpLine(const std::string& name, const std::string& note,
                                       bool bTicked) {
    return std::string(bTicked ? "1" : "0") + "," + name + ",1,M," + note + "," +
           (bTicked ? Today() : "0,0,0") + "\r\n";
}

std::vector<std::string> ProgramOnDesktop::DumpLines(const std::string& dump, bool bSorted) {
    std::vector<std::string> lines;
    std::istringstream in(dump);
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line))
        lines.push_back(line + "\n");
    if (bSorted)
        std::sort(lines.begin(), lines.end());
    return lines;
}
