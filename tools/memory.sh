#!/usr/bin/env bash
# Heap profile of a session: the window starts, redraws 1,000 times through
# its scroll bar and both grid modes, and closes.  Prints heaptrack's peak
# heap, the allocation count and what is still allocated at exit (Qt keeps
# some caches for the life of the process; leaks proper are LeakSanitizer's
# business in the sanitizer test run).
# Usage: tools/memory.sh BUILD_DIR
set -euo pipefail
build_dir="${1:-build}"
soak="$build_dir/tests/app/helidisk_soak_tests"
[[ -x "$soak" ]] || { echo "memory: $soak is not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" HELIDISK_SOAK_REDRAWS=1000 \
  heaptrack -o "$work/session" "$soak" >"$work/run.log" 2>&1
heaptrack_print "$work"/session.* >"$work/profile.txt" 2>/dev/null
grep -E 'redraws: resident' "$work/run.log" | sed 's/^.*residentMemoryLevelsOff() /session: /'
grep -E '^(peak heap memory consumption|peak RSS|total memory leaked|calls to allocation functions)' \
  "$work/profile.txt"
