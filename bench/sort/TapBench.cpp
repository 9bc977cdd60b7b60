// A tap on a check box in a long list: from the press to the row rewritten and the list file
// saved. The save ends with the file and its folder flushed to disk; that wait belongs to the
// disk, not to the program, so it is measured on its own (counter "flush") and taken out of
// "work".
#include "app/VestoryListApp.h"
#include "data/Data.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/FrameWnd.h"
#include "res/Resources.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
double g_flushSeconds = 0;

} // namespace

// Every flush of the program goes through here, so its time can be told apart.
extern "C" int fsync(int fd) {
    const Clock::time_point start = Clock::now();
    const int result = int(::syscall(SYS_fsync, fd));
    g_flushSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

namespace {

void WriteList(const std::filesystem::path& path, int nRecords) {
    std::filesystem::create_directories(path.parent_path());
    CFile file;
    file.Open(CString::FromUtf8(path.string()), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    for (int i = 0; i < nRecords; ++i) {
        CData data;
        data.m_bAtCleaners = i % 3 == 0;
        data.m_strItemName = CString::FromUtf8("Shirt " + std::to_string(i));
        data.m_strQty = u"2";
        data.m_strSize = u"M";
        data.m_strNote = u"No starch";
        data.m_nMonth = 1 + i % 12;
        data.m_nDay = 1 + i % 28;
        data.m_nYear = i % 3 == 0 ? 2026 : 0;
        data.Serialize(ar);
    }
    ar.Close();
    file.Close();
}

TCHAR g_emptyCommandLine[] = u"";

// The first row's check box on the device screen.
POINT CheckBoxOfFirstRow(CVestoryListView* pView) {
    for (LONG y = 0; y < 400; ++y) {
        LVHITTESTINFO hit = {};
        hit.pt = {40, y};
        if (pView->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == 0) {
            POINT pt = {0, y + 4};
            pView->ClientToScreen(&pt);
            pt.x = 15;
            return pt;
        }
    }
    return {15, 40};
}

void RunTaps(benchmark::State& state, bool bPaint) {
    DeviceRoot root;
    WriteList(root.ListFile(), int(state.range(0)));
    auto pApp = std::make_unique<CVestoryListApp>();
    AfxWinInit(VestoryListResources(), nullptr, g_emptyCommandLine, SW_SHOW);
    pApp->InitInstance();
    ProcessEvents();
    auto* pView =
        dynamic_cast<CVestoryListView*>(static_cast<CFrameWnd*>(pApp->m_pMainWnd)->GetActiveView());
    const POINT pt = CheckBoxOfFirstRow(pView);

    double whole = 0;
    double flush = 0;
    for (auto _ : state) {
        g_flushSeconds = 0;
        const Clock::time_point start = Clock::now();
        Tap(pt);
        if (bPaint)
            QApplication::processEvents(); // the screen catches up with the row
        whole += std::chrono::duration<double>(Clock::now() - start).count();
        flush += g_flushSeconds;
    }
    // Milliseconds per tap.
    state.counters["work"] =
        benchmark::Counter((whole - flush) * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["flush"] = benchmark::Counter(flush * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["file_KiB"] = double(std::filesystem::file_size(root.ListFile())) / 1024;

    pApp->CloseAllDocuments(TRUE);
    ProcessEvents();
    pApp.reset();
}

void BM_CheckBoxTap(benchmark::State& state) {
    RunTaps(state, false);
}
void BM_CheckBoxTapAndPaint(benchmark::State& state) {
    RunTaps(state, true);
}

} // namespace

BENCHMARK(BM_CheckBoxTap)->ArgName("garments")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckBoxTapAndPaint)->ArgName("garments")->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
