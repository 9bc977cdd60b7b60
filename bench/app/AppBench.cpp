// Start-up to the first painted window, rebuilding every row of the list, another writer's
// change reaching the screen, a long paste, and half a long list deleted and brought back.
#include "bench/support/BigList.h"
#include "bench/support/RunningApp.h"
#include "data/GarmentText.h"
#include "data/VestoryListDoc.h"
#include "platform/core/StdIds.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/WinUser.h"
#include "platform/win/shell/Clipboard.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/ListReadback.h"
#include "ui/VestoryListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <numeric>

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
// messages. Targets: 2 ms at 10,000 garments, a frame (16 ms) at 100,000.
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

// The floor under RefreshList: as many messages as it sends (an insertion, a state and three
// texts a row), each answered at once, through the same window procedure.
void BM_RefreshListMessagesAlone(benchmark::State& state) {
    DeviceRoot root;
    WriteBigList(root.ListFile(), int(state.range(0)));
    RunningApp app;
    CVestoryListView* pView = app.View();
    for (auto _ : state) {
        for (int i = 0; i < 5 * int(state.range(0)); ++i)
            benchmark::DoNotOptimize(pView->SendMessage(LVM_GETITEMCOUNT));
    }
}
BENCHMARK(BM_RefreshListMessagesAlone)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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

// From another writer's new version renamed over the list, as a sync client puts it in place,
// to the window showing it: the watcher's notice, the reading, the rows rebuilt and painted.
void BM_OtherWritersChangeToScreen(benchmark::State& state) {
    DeviceRoot root;
    const int nBase = int(state.range(0));
    WriteBigList(root.ListFile(), nBase);
    const std::filesystem::path beside = root.ListFile().parent_path() / ".Vestory.vsl.incoming";
    RunningApp app;
    CVestoryListView* pView = app.View();
    QApplication::processEvents();
    int nRecords = nBase;
    for (auto _ : state) {
        // One garment more, then one fewer again, so that every version is a new one.
        nRecords = nRecords == nBase ? nBase + 1 : nBase;
        state.PauseTiming();
        WriteBigList(beside, nRecords);
        state.ResumeTiming();
        std::filesystem::rename(beside, root.ListFile());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ListItemCount(pView) != nRecords && std::chrono::steady_clock::now() < deadline)
            QApplication::processEvents();
        QApplication::processEvents(); // the paint
        if (ListItemCount(pView) != nRecords) {
            state.SkipWithError("the window did not follow the file within 10 s");
            break;
        }
    }
}
BENCHMARK(BM_OtherWritersChangeToScreen)
    ->Arg(10)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Ctrl+V of garments copied from a spreadsheet (or another VestoryList), onto a list that holds
// some already: the text read, the garments added, the rows rebuilt, the list saved, the screen
// painted.
void BM_Paste(benchmark::State& state) {
    DeviceRoot root;
    WriteBigList(root.ListFile(), int(state.range(0)));
    std::vector<CData> garments(std::size_t(state.range(1)));
    for (std::size_t i = 0; i < garments.size(); ++i) {
        garments[i].m_strItemName = CString::FromUtf8("Coat " + std::to_string(i));
        garments[i].m_strQty = u"1";
        garments[i].m_strSize = u"L";
    }
    AfxSetClipboardText(CString::FromUtf8(garment_text::Write(garments, '\t', "\n")));
    RunningApp app;
    CVestoryListView* pView = app.View();
    QApplication::processEvents();
    const int nAfter = int(state.range(0) + state.range(1));
    for (auto _ : state) {
        pView->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
        QApplication::processEvents();
        state.PauseTiming();
        if (pView->GetDocument()->GetItemCount() != nAfter) {
            state.SkipWithError("the paste did not add the garments");
            break;
        }
        pView->GetDocument()->Undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste)
    ->Args({0, 100000})
    ->Args({100000, 100000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Shift+Home and Delete from the middle of a long list, then Ctrl+Z: the garments taken out and
// put back, the rows rebuilt and the list saved, twice.
void BM_DeleteHalfAndUndo(benchmark::State& state) {
    DeviceRoot root;
    const int nRecords = int(state.range(0));
    WriteBigList(root.ListFile(), nRecords);
    RunningApp app;
    CVestoryListDoc* pDoc = app.View()->GetDocument();
    QApplication::processEvents();
    std::vector<int> firstHalf(std::size_t(nRecords / 2));
    std::iota(firstHalf.begin(), firstHalf.end(), 0);
    for (auto _ : state) {
        pDoc->DeleteItems(firstHalf);
        pDoc->Undo();
        QApplication::processEvents();
    }
    if (pDoc->GetItemCount() != nRecords)
        state.SkipWithError("the undo did not bring every garment back");
}
BENCHMARK(BM_DeleteHalfAndUndo)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
