#!/usr/bin/env bash
# Times helidisk-render --align as a user runs it: 100 photographs of
# 2048 x 2048 (red H-alpha JPEGs with their EXIF time, made once by
# helidisk_align_inputs and kept in the build directory) aligned into
# 1024-pixel frames, with and without an animated WebP, with hyperfine; and
# the peak resident memory for 10 and for 100 frames with /usr/bin/time -v,
# which stays the same when memory is flat over the sequence.
# Usage: bench/align.sh [build directory]   (default: build)
set -euo pipefail

build_dir=${1:-build}
program="$build_dir/src/render/helidisk-render"
maker="$build_dir/bench/helidisk_align_inputs"
for tool in "$program" "$maker"; do
  [[ -x "$tool" ]] || { echo "align.sh: no $tool; build helidisk-render and helidisk_align_inputs first" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "align.sh: needs hyperfine (apt-get install hyperfine)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "align.sh: needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

inputs="$build_dir/align-bench-inputs"
if [[ $(ls "$inputs"/sun-*.jpg 2>/dev/null | wc -l) -ne 100 ]]; then
  echo "align.sh: making 100 photographs of 2048 x 2048 in $inputs (once)"
  rm -rf "$inputs"
  "$maker" "$inputs" 100
fi
first_ten=("$inputs"/sun-00[0-9].jpg)
all=("$inputs"/sun-*.jpg)

out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT

peak_kb() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'
}
echo "peak resident memory, 10 frames:  $(peak_kb "$program" --images "${first_ten[@]}" --align --output "$out_dir/ten") kB"
echo "peak resident memory, 100 frames: $(peak_kb "$program" --images "${all[@]}" --align --output "$out_dir/all") kB"

hyperfine --shell=none --warmup 1 --runs 3 \
  --export-markdown "$out_dir/align.md" \
  -n "100 frames" "$program --images ${all[*]} --align --output $out_dir/frames" \
  -n "100 frames and a WebP movie" \
  "$program --images ${all[*]} --align --output $out_dir/movie --movie $out_dir/movie.webp" \
  -n "100 frames de-rotated" \
  "$program --images ${all[*]} --align --output $out_dir/derotated --rotate-to 2024-05-12T12:00"
cat "$out_dir/align.md"
