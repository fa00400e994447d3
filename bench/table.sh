#!/usr/bin/env bash
# Times helidisk-render --table as a user runs it, the whole process from
# start to the file on disk: a year hourly (8,760 rows) as CSV, by either
# ephemeris, and the largest table, a million rows (every minute from
# 1 January 2000), in each format.  Usage: bench/table.sh [build directory]   (default: build)
set -euo pipefail

build_dir=${1:-build}
program="$build_dir/src/render/helidisk-render"
[[ -x "$program" ]] || { echo "table.sh: no $program; build first" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "table.sh: needs hyperfine (apt-get install hyperfine)" >&2; exit 1; }

out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT

hyperfine --shell=none --warmup 5 --min-runs 50 \
  "$program --table --year 2026 --step 1h --format csv --output $out_dir/year.csv" \
  "$program --table --year 2026 --step 1h --format csv --ephemeris precise --output $out_dir/precise.csv"

million="--table --from 2000-01-01 --to 2001-11-25T10:39 --step 1m"
hyperfine --shell=none --warmup 1 --min-runs 5 \
  "$program $million --format csv --output $out_dir/million.csv" \
  "$program $million --format json --output $out_dir/million.json" \
  "$program $million --format text --output $out_dir/million.txt"
