// The whole program's start, each run a process of its own: from starting it to its main window
// painted for the first time, offscreen. With VESTORYLIST_EXIT_AFTER_FIRST_PAINT the program
// says "first paint" on its standard output at that point and then ends; the time runs from the
// start to that line, so it takes in loading the libraries, the framework's start, reading the
// list file, building the rows and the first paint, and leaves out the shut-down.
#include "bench/support/BigList.h"
#include "bench/support/ChildEnvironment.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

// One run of the program with its standard output on a pipe: the seconds from the start to its
// first line of output, or nothing if it failed. The run's end is waited for, untimed.
std::optional<double> TimeToFirstLine(std::vector<std::string> argv, std::vector<std::string> env) {
    std::vector<char*> args;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const bool bStarted =
        posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string line;
    char c = 0;
    while (bStarted && line.find('\n') == std::string::npos && ::read(fds[0], &c, 1) == 1)
        line += c;
    const auto firstLine = std::chrono::steady_clock::now();
    ::close(fds[0]);
    int status = 0;
    if (!bStarted || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || line.empty())
        return std::nullopt;
    return std::chrono::duration<double>(firstLine - start).count();
}

// A device root with a list of nRecords garments (none: no list file), and the program's
// command line and environment on it.
struct ProgramOnList {
    TempFolder folder;
    std::vector<std::string> argv{VESTORYLIST_PROGRAM};
    std::vector<std::string> env;

    explicit ProgramOnList(int nRecords, const std::vector<std::string>& args = {}) {
        const fs::path root = folder.Path() / "root";
        const fs::path run = folder.Path() / "run";
        fs::create_directories(root);
        fs::create_directories(run);
        fs::permissions(run, fs::perms::owner_all);
        if (nRecords > 0)
            WriteBigList(root / "My Documents" / "Personal" / "Vestory.vsl", nRecords,
                         u"Collar stain");
        argv.insert(argv.end(), args.begin(), args.end());
        env = ChildEnvironment(root, run);
    }
    std::optional<double> Run() { return TimeToFirstLine(argv, env); }
};

void RunProgram(benchmark::State& state, const std::vector<std::string>& args, int nRecords) {
    ProgramOnList program(nRecords, args);
    for (auto _ : state) {
        const std::optional<double> seconds = program.Run();
        if (!seconds) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(*seconds);
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
    ->UseManualTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The long lists' starts against the empty list's, run after run in turn, so that a machine
// busy with other work weighs on all three alike. Each iteration is one round of the three
// starts; the counters are the medians of the rounds' ratios. Targets: 10,000 garments within
// 1.1 times the empty start, 100,000 within 1.5 times.
void BM_StartAgainstEmptyList(benchmark::State& state) {
    ProgramOnList programs[] = {ProgramOnList(0), ProgramOnList(10000), ProgramOnList(100000)};
    std::vector<double> empty;
    std::vector<double> ratios[std::size(programs)];
    for (auto _ : state) {
        double seconds[std::size(programs)] = {};
        for (std::size_t i = 0; i < std::size(programs); ++i) {
            const std::optional<double> s = programs[i].Run();
            if (!s) {
                state.SkipWithError("the program failed");
                return;
            }
            seconds[i] = *s;
            ratios[i].push_back(*s / seconds[0]);
        }
        empty.push_back(seconds[0]);
        state.SetIterationTime(seconds[0] + seconds[1] + seconds[2]);
    }
    state.counters["empty_ms"] = Median(empty) * 1e3;
    state.counters["x10k"] = Median(ratios[1]);
    state.counters["x100k"] = Median(ratios[2]);
}
BENCHMARK(BM_StartAgainstEmptyList)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();

// What any start costs before the framework shows anything: the process, its libraries and the
// version line.
void BM_ProgramVersionOnly(benchmark::State& state) {
    RunProgram(state, {"--version"}, 0);
}
BENCHMARK(BM_ProgramVersionOnly)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
