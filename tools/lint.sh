#!/usr/bin/env bash
# Static analysis: clang-tidy over every translation unit of src/, tests/ and
# bench/ in the build's compile database, and clang-format in check mode.
# Usage: tools/lint.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
sources=(src tests bench fuzz)

echo "lint: clang-format"
mapfile -t formatted < <(git ls-files -- "${sources[@]/%//*.cpp}" "${sources[@]/%//*.h}")
clang-format --dry-run --Werror "${formatted[@]}"

echo "lint: the window's includes"
tools/check-app-includes.sh

echo "lint: clang-tidy"
# GCC-only warning options in the compile database are not clang-tidy's
# business.
run-clang-tidy -quiet -p "$build_dir" -j "$(nproc)" \
  -extra-arg=-Wno-unknown-warning-option \
  "^$PWD/(src|tests|bench)/.*\.cpp$" >"$build_dir/clang-tidy.log" 2>&1 || {
  # run-clang-tidy colours its output; the summary is for reading.
  sed 's/\x1b\[[0-9;]*m//g' "$build_dir/clang-tidy.log" | grep -E '^/.*(warning|error):' | sort -u
  echo "lint: clang-tidy found problems (full output in $build_dir/clang-tidy.log)" >&2
  exit 1
}
echo "lint: clean"
