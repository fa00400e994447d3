#!/usr/bin/env bash
# Fuzzes the version-block reader and the readers of FITS headers and time
# texts, each for half the given number of seconds (default 60 in all):
# configures and builds fuzz/ with clang in build-fuzz/, then runs libFuzzer
# from the seed corpora in fuzz/corpus/ and fuzz/corpus-header/.  New inputs
# collect in fuzz-corpus-work/version/ and fuzz-corpus-work/header/; a
# crash, leak, timeout or oversized allocation leaves its input there as
# crash-*, leak-*, timeout-* or oom-* and exits non-zero.
set -euo pipefail
seconds="${1:-60}"
cd "$(dirname "$0")/.."

build=build-fuzz
work=fuzz-corpus-work
each=$(((seconds + 1) / 2))
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j 2 --target helidisk_version_fuzzer helidisk_header_fuzzer
mkdir -p "$work/version" "$work/header"

# Blocks are at most 64 KiB and nothing the reader allocates comes near
# 16 MB; one input taking more than 5 s means a loop that does not end.
"$build/helidisk_version_fuzzer" -max_total_time="$each" -max_len=8192 -timeout=5 \
  -malloc_limit_mb=16 -rss_limit_mb=1024 -print_final_stats=1 \
  -artifact_prefix="$work/version/" "$work/version" fuzz/corpus

# A header of 100 cards is 8000 characters; its cards are copied once.
"$build/helidisk_header_fuzzer" -max_total_time="$each" -max_len=8192 -timeout=5 \
  -malloc_limit_mb=16 -rss_limit_mb=1024 -print_final_stats=1 -dict=fuzz/header.dict \
  -artifact_prefix="$work/header/" "$work/header" fuzz/corpus-header
