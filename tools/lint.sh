#!/usr/bin/env bash
# Static analysis: clang-tidy over every translation unit of src/, tests/ and
# bench/ in the build's compile database, clang-format in check mode, and
# the guard on the window's includes.
# Usage: tools/lint.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
sources=(src tests bench fuzz)

echo "lint: clang-format"
mapfile -t formatted < <(git ls-files -- "${sources[@]/%//*.cpp}" "${sources[@]/%//*.h}")
clang-format --dry-run --Werror "${formatted[@]}"

echo "lint: the window's includes"
cmake -DLAYER_DIR=src/app -DFORBIDDEN_DIR=src/render -P cmake/CheckLayering.cmake

echo "lint: clang-tidy"
# GCC-only warning options in the compile database are not clang-tidy's
# business.  A translation unit found clean before is checked again only
# when it, a header it includes, its compile command, .clang-tidy or
# clang-tidy itself has changed (tools/clang-tidy-cached.py says how); the
# units found clean are listed in tools/clang-tidy-ledger, which is committed
# so that a fresh clone checks only the units changed since.
if ! tools/clang-tidy-cached.py "$build_dir" "^$PWD/(src|tests|bench)/.*\.cpp$" \
  -extra-arg=-Wno-unknown-warning-option >"$build_dir/clang-tidy.log" 2>&1; then
  grep -E '^/.*(warning|error):' "$build_dir/clang-tidy.log" | sort -u
  tail -1 "$build_dir/clang-tidy.log"
  echo "lint: clang-tidy found problems (full output in $build_dir/clang-tidy.log)" >&2
  exit 1
fi
tail -1 "$build_dir/clang-tidy.log"
if [[ -n $(git status --porcelain -- tools/clang-tidy-ledger 2>/dev/null) ]]; then
  echo "lint: tools/clang-tidy-ledger lists the units found clean now; commit it with the change"
fi
echo "lint: clean"
