// Start-up to the first painted window, and rebuilding every row of the list.
#include "bench/support/BigList.h"
#include "bench/support/RunningApp.h"
#include "tests/support/DeviceRoot.h"
#include "ui/VestoryListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// From the start-up routine to the window painted with its rows.
void BM_StartupToFirstPaint(benchmark::State& state) {
    DeviceRoot root;
    WriteBigList(root.ListFile(), int(state.range(0)));
    for (auto _ : state) {
        RunningApp app;
        QApplication::processEvents(); // the list catches up and paints
        state.PauseTiming();
        app.Stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// RefreshList alone: every row deleted, inserted and written again through the list's
// messages.
void BM_RefreshList(benchmark::State& state) {
    DeviceRoot root;
    WriteBigList(root.ListFile(), int(state.range(0)));
    RunningApp app;
    CVestoryListView* pView = app.View();
    for (auto _ : state)
        pView->RefreshList();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// RefreshList and the screen catching up with it.
void BM_RefreshListAndPaint(benchmark::State& state) {
    DeviceRoot root;
    WriteBigList(root.ListFile(), int(state.range(0)));
    RunningApp app;
    CVestoryListView* pView = app.View();
    for (auto _ : state) {
        pView->RefreshList();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshListAndPaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
