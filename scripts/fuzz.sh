#!/usr/bin/env bash
# Fuzzes the readers of outside bytes with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer: the list file, table text (paste, vsl import) and the settings file.
#   scripts/fuzz.sh [runs] [seconds] [reader...]
# runs: number of inputs to try (default 1000000; -1 for no limit); seconds: stop each reader
# after this long (default 0, no limit); readers: listfile, tabletext, settings (default all).
# Seeds come from tests/fuzzcorpus/<reader> (the list file's from tests/fuzzcorpus/corpus); new
# inputs the fuzzer finds go to build-fuzz/corpus-<reader>, a crashing input to
# build-fuzz/artifacts. A crashing input, once fixed, belongs with the seeds, and the case it
# shows in the regular tests (the list file's seeds are loaded by the regular tests as they are).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000000}
seconds=${2:-0}
shift $(( $# < 2 ? $# : 2 ))
readers=("$@")
[ ${#readers[@]} -gt 0 ] || readers=(listfile tabletext settings)

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target "${readers[@]/#/fuzz_}" -j2

mkdir -p build-fuzz/artifacts
for reader in "${readers[@]}"; do
    case $reader in
    # Inputs of three archive buffers reach every refill path; longer ones only slow the search
    # (the long strings of the seeds are loaded whole by the regular tests).
    listfile) seeds=tests/fuzzcorpus/corpus max_len=12288 ;;
    tabletext) seeds=tests/fuzzcorpus/tabletext max_len=16384 ;;
    settings) seeds=tests/fuzzcorpus/settings max_len=8192 ;;
    *) echo "no reader $reader" >&2; exit 2 ;;
    esac
    echo "== $reader =="
    mkdir -p "build-fuzz/corpus-$reader"
    start=$(date +%s)
    # Each input within 10 s and 64 MB at a time, 2 GB in all.
    ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "./build-fuzz/fuzz_$reader" -runs="$runs" -max_total_time="$seconds" \
            -max_len="$max_len" -rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=10 \
            -artifact_prefix=build-fuzz/artifacts/ -print_final_stats=1 \
            "build-fuzz/corpus-$reader" "$seeds"
    echo "fuzzing $reader took $(( $(date +%s) - start )) s"
done
