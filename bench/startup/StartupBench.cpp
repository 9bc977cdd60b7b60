// The whole program's start, each run a process of its own: from starting it to its main window
// painted for the first time, offscreen. The program ends itself at that point
// (VESTORYLIST_EXIT_AFTER_FIRST_PAINT), so the time includes loading, the list file, the rows
// and the first paint, and also the shut-down after it. Target: 10,000 records within 1.5 times
// the empty list's time.
#include "data/Data.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/TempFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

void WriteList(const fs::path& path, int nRecords) {
    fs::create_directories(path.parent_path());
    CFile file;
    file.Open(CString::FromUtf8(path.string()), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    for (int i = 0; i < nRecords; ++i) {
        CData data;
        data.m_bAtCleaners = i % 3 == 0;
        data.m_strItemName = CString::FromUtf8("Shirt " + std::to_string(i));
        data.m_strQty = u"2";
        data.m_strSize = u"M";
        data.m_strNote = i % 5 == 0 ? CString(u"Collar\r\nstain") : CString();
        data.m_nMonth = 1 + i % 12;
        data.m_nDay = 1 + i % 28;
        data.m_nYear = i % 3 == 0 ? 2002 : 0;
        data.Serialize(ar);
    }
    ar.Close();
    file.Close();
}

// Runs the program once per iteration with these arguments and its time as the wall clock
// gives it (the work happens in the child, not in this process).
void RunProgram(benchmark::State& state, const std::vector<std::string>& args, int nRecords) {
    TempFolder folder;
    const fs::path root = folder.Path() / "root";
    const fs::path run = folder.Path() / "run";
    fs::create_directories(root);
    fs::create_directories(run);
    fs::permissions(run, fs::perms::owner_all);
    if (nRecords > 0)
        WriteList(root / "My Documents" / "Personal" / "Vestory.vsl", nRecords);
    std::vector<std::string> argv{VESTORYLIST_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    const ChildProcess::Environment env{{"QT_QPA_PLATFORM", "offscreen"},
                                        {"VESTORYLIST_ROOT", root.string()},
                                        {"XDG_RUNTIME_DIR", run.string()},
                                        {"VESTORYLIST_EXIT_AFTER_FIRST_PAINT", "1"}};
    const std::string output = (folder.Path() / "output.txt").string();
    for (auto _ : state) {
        ChildProcess program(argv, env, output);
        if (program.Wait() != 0) {
            state.SkipWithError(("the program failed: " + program.Output()).c_str());
            break;
        }
    }
}

void BM_ProgramStartToFirstPaint(benchmark::State& state) {
    RunProgram(state, {}, int(state.range(0)));
}
BENCHMARK(BM_ProgramStartToFirstPaint)
    ->ArgName("records")
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What any start costs before the framework does anything: the process and its libraries.
void BM_ProgramVersionOnly(benchmark::State& state) {
    RunProgram(state, {"--version"}, 0);
}
BENCHMARK(BM_ProgramVersionOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
