// Reading a settings file of many sections (a file the program did not write, up to the size
// it still reads): the time grows with the file, not with its square.
#include "platform/core/Profile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void ReadManySections(benchmark::State& state) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vl-bench-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(tmpl.data());
    const std::string path = (folder / "Many.ini").string();
    {
        std::ofstream out(path);
        for (int i = 0; i < state.range(0); ++i)
            out << "[S" << i << "]\nKey=" << i << "\n";
    }
    for (auto _ : state) {
        CProfile profile(path);
        benchmark::DoNotOptimize(profile.Get(u"Window", u"Width"));
    }
    state.SetComplexityN(state.range(0));
    std::filesystem::remove_all(folder);
}

} // namespace

// 32k sections are about 0.6 MB, near the most the program reads.
BENCHMARK(ReadManySections)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 15)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
