// The whole program's peak memory (its largest resident set), each run a process of its own
// that ends after its first paint, offscreen: the list read, the rows built and shown.
// Reported as counters: the peak, the list file's size, and what each byte of the file costs
// beyond the empty list's peak. Typical garments (name, quantity, size, a short note, every
// third with a date) and, as the worst case per byte, records whose texts are all empty.
// Target: typical garments at most 2.5 bytes per byte of file.
#include "bench/support/BigList.h"
#include "bench/support/ChildEnvironment.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

// One run of the program on the list in root: its peak resident memory in bytes.
std::optional<double> PeakBytes(const fs::path& root, const fs::path& run) {
    std::vector<std::string> env = ChildEnvironment(root, run);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = VESTORYLIST_PROGRAM;
    char* argv[] = {program.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const bool bStarted = posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (!bStarted || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return double(usage.ru_maxrss) * 1024;
}

struct Folders {
    TempFolder folder;
    fs::path root = folder.Path() / "root";
    fs::path run = folder.Path() / "run";
    fs::path list = root / "My Documents" / "Personal" / "Vestory.vsl";
    Folders() {
        fs::create_directories(list.parent_path());
        fs::create_directories(run);
        fs::permissions(run, fs::perms::owner_all);
    }
};

void Measure(benchmark::State& state, Folders& f) {
    // The empty list's peak, against which a byte of list file is counted.
    Folders empty;
    const std::optional<double> base = PeakBytes(empty.root, empty.run);
    const double fileBytes = double(fs::file_size(f.list));
    double peak = 0;
    for (auto _ : state) {
        const std::optional<double> bytes = PeakBytes(f.root, f.run);
        if (!bytes || !base) {
            state.SkipWithError("the program failed");
            return;
        }
        peak = std::max(peak, *bytes);
    }
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["empty_list_peak_MB"] = *base / 1e6;
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["bytes_per_file_byte"] = fileBytes > 0 ? (peak - *base) / fileBytes : 0;
}

void BM_ProgramPeakMemoryTypicalGarments(benchmark::State& state) {
    Folders f;
    WriteBigList(f.list, int(state.range(0)), u"Collar stain");
    Measure(state, f);
}
BENCHMARK(BM_ProgramPeakMemoryTypicalGarments)
    ->ArgName("records")
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// A record of all-empty texts is 20 bytes of zeros in the file, the most records per byte.
void BM_ProgramPeakMemoryEmptyRecords(benchmark::State& state) {
    Folders f;
    std::ofstream(f.list).close();
    fs::resize_file(f.list, std::uintmax_t(state.range(0)) * 20);
    Measure(state, f);
}
BENCHMARK(BM_ProgramPeakMemoryEmptyRecords)
    ->ArgName("records")
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
