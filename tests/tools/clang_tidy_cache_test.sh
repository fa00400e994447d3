#!/usr/bin/env bash
# tools/clang-tidy-cached.py on a compile database of three small TUs made
# here, with a cache of its own: a clean TU is remembered and not checked
# again, one with a finding is reported on every run, and a change to a
# header the TU includes, to a comment (a NOLINT counts) or to its compile
# command has it checked again.  The committed ledger of clean TUs stands in
# for an empty cache (as on a fresh clone), never for a TU that changed, and
# forgets a TU that has a finding now.  Built by ninja, the TUs are keyed by
# the dependencies it recorded, not by clang's preprocessor, unless an
# object file is older than a file it was built from.  Ends with an
# "N passed, M failed" line.
set -uo pipefail
runner="$(cd "$(dirname "$0")/../.." && pwd)/tools/clang-tidy-cached.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HELIDISK_TIDY_CACHE="$work/cache"
export HELIDISK_TIDY_LEDGER="$work/ledger"
passed=0
failed=0

mkdir -p "$work/build"
printf 'inline int Twice(int x) { return 2 * x; }\n' >"$work/shared.h"
printf '#include "shared.h"\nint Clean() { return Twice(2); }\n' >"$work/clean.cpp"
printf '#include "shared.h"\nint Other() { return Twice(3); }\n' >"$work/other.cpp"
printf '#include <cstddef>\nint* Null() { return NULL; }\n' >"$work/finding.cpp"
database() {
  local define=$1
  {
    echo "["
    local first=true
    for name in clean other finding; do
      [[ $first == true ]] || echo ","
      first=false
      printf '{"directory": "%s", "file": "%s/%s.cpp", "command": "c++ -std=c++20 %s -c %s/%s.cpp -o %s.o"}' \
        "$work/build" "$work" "$name" "$define" "$work" "$name" "$name"
    done
    echo "]"
  } >"$work/build/compile_commands.json"
}

# expectation: the summary's "N unchanged since found clean, M checked, K with findings"
expect() {
  local what=$1 summary=$2 status=$3
  local output
  output=$(cd "$work" && "$runner" "$work/build" '\.cpp$' --checks='-*,modernize-use-nullptr' \
    --warnings-as-errors='*' 2>&1)
  local got=$?
  if [[ $output == *"$summary"* && $got -eq $status ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what: expected '$summary' and status $status, got status $got:"
    echo "$output"
  fi
}

database ""
expect "first run" "0 unchanged since found clean, 3 checked, 1 with findings" 1
expect "second run" "2 unchanged since found clean, 1 checked, 1 with findings" 1
printf 'int* Null() { return nullptr; }\n' >"$work/finding.cpp"
expect "finding fixed" "2 unchanged since found clean, 1 checked, 0 with findings" 0
expect "all clean" "3 unchanged since found clean, 0 checked, 0 with findings" 0
printf 'inline int Twice(int x) { return x + x; }\n' >"$work/shared.h"
expect "header changed" "1 unchanged since found clean, 2 checked, 0 with findings" 0
printf 'int* Null() { return nullptr; }  // NOLINT\n' >"$work/finding.cpp"
expect "comment changed" "2 unchanged since found clean, 1 checked, 0 with findings" 0
database "-DNDEBUG"
expect "compile command changed" "0 unchanged since found clean, 3 checked, 0 with findings" 0

# A fresh clone: the private cache is empty, the ledger is what was committed.
fresh_clone() { rm -rf "$HELIDISK_TIDY_CACHE"; }
fresh_clone
expect "ledger without cache" "3 unchanged since found clean, 0 checked, 0 with findings" 0
printf '#include <cstddef>\nint* Null() { return NULL; }\n' >"$work/finding.cpp"
fresh_clone
expect "ledger older than a new finding" "2 unchanged since found clean, 1 checked, 1 with findings" 1
if grep -q 'finding\.cpp' "$HELIDISK_TIDY_LEDGER"; then
  failed=$((failed + 1))
  echo "FAIL: the ledger still lists a TU with a finding:"
  cat "$HELIDISK_TIDY_LEDGER"
else
  passed=$((passed + 1))
fi
fresh_clone
expect "finding again with the rewritten ledger" "2 unchanged since found clean, 1 checked, 1 with findings" 1

# The same TUs built by ninja, with clang's preprocessor replaced by one that
# fails: a key can only come from the dependencies ninja recorded.
ninja_build() {
  cat >"$work/build/build.ninja" <<'EOF'
rule cxx
  command = c++ -std=c++20 -MD -MF $out.d -c $in -o $out
  deps = gcc
  depfile = $out.d
build clean.o: cxx ../clean.cpp
build other.o: cxx ../other.cpp
build finding.o: cxx ../finding.cpp
EOF
  ninja -C "$work/build" >/dev/null
}
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/clang++"
chmod +x "$work/bin/clang++"
PATH="$work/bin:$PATH"
rm -rf "$HELIDISK_TIDY_CACHE" "$HELIDISK_TIDY_LEDGER"
ninja_build
expect "built by ninja" "0 unchanged since found clean, 3 checked, 1 with findings" 1
expect "ninja's dependencies" "2 unchanged since found clean, 1 checked, 1 with findings" 1
printf 'inline int Twice(int x) { return x * 2; }\n' >"$work/shared.h"
ninja_build
expect "header changed and rebuilt" "0 unchanged since found clean, 3 checked, 1 with findings" 1
# A new include that the last build did not see, first in the source, then
# changed in the new header: the out-of-date object vouches for neither.
printf 'int Extra();\n' >"$work/extra.h"
printf '#include "extra.h"\nint Clean() { return Extra(); }\n' >"$work/clean.cpp"
expect "source newer than its object" "1 unchanged since found clean, 2 checked, 1 with findings" 1
printf 'int Extra(int x = 0);\n' >"$work/extra.h"
expect "its new header changed" "1 unchanged since found clean, 2 checked, 1 with findings" 1

# A unity build's unit is checked file by file, with the unit's command.
unit="$work/build/both.dir/Unity/unity_0_cxx.cxx"
mkdir -p "$(dirname "$unit")"
printf '#include "%s"\n#include "%s"\n' "$work/other.cpp" "$work/finding.cpp" >"$unit"
printf '[{"directory": "%s", "file": "%s", "command": "c++ -std=c++20 -c %s -o both.o"}]\n' \
  "$work/build" "$unit" "$unit" >"$work/build/compile_commands.json"
expect "unity unit" "2 translation units, 0 unchanged since found clean, 2 checked, 1 with findings" 1
echo "clang-tidy cache: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
