#!/usr/bin/env bash
# Fuzzes the list file reader with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh [runs] [seconds]
# runs: number of inputs to try (default 1000000; -1 for no limit); seconds: stop after this
# long (default 0, no limit). Seeds come from tests/fuzzcorpus/corpus; new inputs the fuzzer
# finds go to build-fuzz/corpus, a crashing input to build-fuzz/artifacts. A crashing input,
# once fixed, belongs in tests/fuzzcorpus/corpus, where the regular tests keep loading it.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000000}
seconds=${2:-0}

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target fuzz_listfile -j2

mkdir -p build-fuzz/corpus build-fuzz/artifacts
# Inputs of three archive buffers reach every refill path; longer ones only slow the search
# (the long strings of the seeds are loaded whole by the regular tests).
start=$(date +%s)
ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ./build-fuzz/fuzz_listfile -runs="$runs" -max_total_time="$seconds" \
        -max_len=12288 -rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10 \
        -artifact_prefix=build-fuzz/artifacts/ -print_final_stats=1 \
        build-fuzz/corpus tests/fuzzcorpus/corpus
echo "fuzzing took $(( $(date +%s) - start )) s"
