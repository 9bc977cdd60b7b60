// A tap on a check box in a long list, and the keys that do the same and take it back: from
// the press to the row rewritten and the list file saved. Also selecting and copying the
// whole long list. The save ends with the file and its folder flushed to disk; that wait belongs to
// the disk, not to the program, so it is measured on its own (counter "flush") and taken out of
// "work".
#include "bench/support/BigList.h"
#include "bench/support/RunningApp.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/WndQt.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>
#include <functional>

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

// The list, which has the keyboard while the program runs.
QWidget* g_pList = nullptr;

void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(g_pList, key, modifiers);
}

struct KeyTimes {
    double whole = 0;
    double flush = 0;
};

// Times one key press, its flushes to disk apart.
void TimeKey(KeyTimes& times, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    g_flushSeconds = 0;
    const Clock::time_point start = Clock::now();
    Key(key, modifiers);
    times.whole += std::chrono::duration<double>(Clock::now() - start).count();
    times.flush += g_flushSeconds;
}

void ReportKeys(benchmark::State& state, const KeyTimes& times) {
    state.counters["work"] =
        benchmark::Counter((times.whole - times.flush) * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["flush"] =
        benchmark::Counter(times.flush * 1e3, benchmark::Counter::kAvgIterations);
}

// The big list shown with the keyboard on its list (on its first row when bFirstRow); step
// presses the keys of one iteration.
void RunKeys(benchmark::State& state, bool bFirstRow, const std::function<void(KeyTimes&)>& step) {
    DeviceRoot root;
    WriteBigList(root.ListFile(), int(state.range(0)), u"No starch");
    RunningApp app;
    ProcessEvents();
    g_pList = AfxGetWidget(app.View());
    if (bFirstRow)
        Key(Qt::Key_Home);
    KeyTimes times;
    for (auto _ : state)
        step(times);
    ReportKeys(state, times);
}

// Space on the first row of the list, which has the keyboard.
void BM_SpaceKey(benchmark::State& state) {
    RunKeys(state, true, [](KeyTimes& times) { TimeKey(times, Qt::Key_Space); });
}

// Ctrl+Z taking back the tick that Space gave (only the Ctrl+Z is timed).
void BM_UndoKey(benchmark::State& state) {
    RunKeys(state, true, [](KeyTimes& times) {
        Key(Qt::Key_Space);
        TimeKey(times, Qt::Key_Z, Qt::ControlModifier);
    });
}

// Ctrl+A and Ctrl+C: every garment selected and on the clipboard as table text.
void BM_SelectAllAndCopy(benchmark::State& state) {
    RunKeys(state, false, [](KeyTimes& times) {
        TimeKey(times, Qt::Key_A, Qt::ControlModifier);
        TimeKey(times, Qt::Key_C, Qt::ControlModifier);
    });
}

void BM_CheckBoxTap(benchmark::State& state) {
    RunTaps(state, false);
}
void BM_CheckBoxTapAndPaint(benchmark::State& state) {
    RunTaps(state, true);
}

} // namespace

// Target: "work" within a frame (16 ms) at 100,000 garments.
BENCHMARK(BM_CheckBoxTap)
    ->ArgName("garments")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckBoxTapAndPaint)->ArgName("garments")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpaceKey)->ArgName("garments")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoKey)->ArgName("garments")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAllAndCopy)->ArgName("garments")->Arg(10000)->Unit(benchmark::kMillisecond);
