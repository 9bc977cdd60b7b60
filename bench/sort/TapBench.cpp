// A tap on a check box in a long list: from the press to the row rewritten and the list file
// saved. The save ends with the file and its folder flushed to disk; that wait belongs to the
// disk, not to the program, so it is measured on its own (counter "flush") and taken out of
// "work".
#include "bench/support/BigList.h"
#include "bench/support/RunningApp.h"
#include "platform/win/CommCtrl.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>

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
    WriteBigList(root.ListFile(), int(state.range(0)), u"No starch");
    RunningApp app;
    ProcessEvents();
    const POINT pt = CheckBoxOfFirstRow(app.View());

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
