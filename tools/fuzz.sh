#!/usr/bin/env bash
# Fuzzes the version-block reader for the given number of seconds (default
# 60): configures and builds fuzz/ with clang in build-fuzz/, then runs
# libFuzzer from the seed corpus in fuzz/corpus/.  New inputs collect in
# fuzz-corpus-work/; a crash, leak, timeout or oversized allocation leaves
# its input there as crash-*, leak-*, timeout-* or oom-* and exits non-zero.
set -euo pipefail
seconds="${1:-60}"
cd "$(dirname "$0")/.."

build=build-fuzz
work=fuzz-corpus-work
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2 --target helidisk_version_fuzzer
mkdir -p "$work"

# Blocks are at most 64 KiB and nothing the reader allocates comes near
# 16 MB; one input taking more than 5 s means a loop that does not end.
"$build/helidisk_version_fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=5 \
  -malloc_limit_mb=16 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work" fuzz/corpus
