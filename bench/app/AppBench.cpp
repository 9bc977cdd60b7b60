// Start-up to the first painted window, and rebuilding every row of the list.
#include "app/VestoryListApp.h"
#include "data/Data.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/win/FrameWnd.h"
#include "res/Resources.h"
#include "tests/support/DeviceRoot.h"
#include "tests/support/Input.h"
#include "ui/VestoryListView.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

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
        data.m_nMonth = 1 + i % 12;
        data.m_nDay = 1 + i % 28;
        data.m_nYear = i % 3 == 0 ? 2002 : 0;
        data.Serialize(ar);
    }
    ar.Close();
    file.Close();
}

TCHAR g_emptyCommandLine[] = u"";

std::unique_ptr<CVestoryListApp> StartApp() {
    auto pApp = std::make_unique<CVestoryListApp>();
    AfxWinInit(VestoryListResources(), nullptr, g_emptyCommandLine, SW_SHOW);
    pApp->InitInstance();
    return pApp;
}

void StopApp(std::unique_ptr<CVestoryListApp>& pApp) {
    pApp->CloseAllDocuments(TRUE);
    ProcessEvents();
    pApp.reset();
}

// From the start-up routine to the window painted with its rows.
void BM_StartupToFirstPaint(benchmark::State& state) {
    DeviceRoot root;
    WriteList(root.ListFile(), int(state.range(0)));
    for (auto _ : state) {
        auto pApp = StartApp();
        QApplication::processEvents(); // the list catches up and paints
        state.PauseTiming();
        StopApp(pApp);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// RefreshList alone: every row deleted, inserted and written again through the list's
// messages.
void BM_RefreshList(benchmark::State& state) {
    DeviceRoot root;
    WriteList(root.ListFile(), int(state.range(0)));
    auto pApp = StartApp();
    auto* pView =
        dynamic_cast<CVestoryListView*>(static_cast<CFrameWnd*>(pApp->m_pMainWnd)->GetActiveView());
    for (auto _ : state)
        pView->RefreshList();
    state.SetItemsProcessed(state.iterations() * state.range(0));
    StopApp(pApp);
}
BENCHMARK(BM_RefreshList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// RefreshList and the screen catching up with it.
void BM_RefreshListAndPaint(benchmark::State& state) {
    DeviceRoot root;
    WriteList(root.ListFile(), int(state.range(0)));
    auto pApp = StartApp();
    auto* pView =
        dynamic_cast<CVestoryListView*>(static_cast<CFrameWnd*>(pApp->m_pMainWnd)->GetActiveView());
    for (auto _ : state) {
        pView->RefreshList();
        QApplication::processEvents();
    }
    StopApp(pApp);
}
BENCHMARK(BM_RefreshListAndPaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

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
