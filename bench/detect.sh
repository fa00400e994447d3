#!/usr/bin/env bash
# Times helidisk-render --detect as a user runs it: the whole process, from
# start to the spots, groups and counts as JSON, on generated spotted Suns
# of 2048 x 2048 and 4096 x 4096 pixels (8-bit grey PNG, the disk fitted to
# the limb).  The goals: 150 ms and 600 ms.
# Usage: bench/detect.sh [build directory]   (default: build)
set -euo pipefail

build_dir=${1:-build}
program="$build_dir/src/render/helidisk-render"
generator="$build_dir/bench/spotted-sun"
for tool in "$program" "$generator"; do
  [[ -x "$tool" ]] || { echo "detect.sh: no $tool; build first" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "detect.sh: needs hyperfine (apt-get install hyperfine)" >&2; exit 1; }

out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT
"$generator" 2048 "$out_dir/sun2048.png"
"$generator" 4096 "$out_dir/sun4096.png"

hyperfine --shell=none --warmup 3 --min-runs 20 \
  --export-markdown "$out_dir/detect.md" \
  "$program --image $out_dir/sun2048.png --at 2026-06-15T10:30 --detect --json" \
  "$program --image $out_dir/sun4096.png --at 2026-06-15T10:30 --detect --json" \
  "$program --image $out_dir/sun2048.png --at 2026-06-15T10:30 --json"
cat "$out_dir/detect.md"
