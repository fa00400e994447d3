#!/usr/bin/env bash
# Times helidisk-render as a user runs it: the whole process, from start to
# a design-size PNG on disk (and, for comparison, an SVG, a PDF page at
# 150 mm, a template page and the readout alone).
# Usage: bench/render.sh [build directory]   (default: build)
set -euo pipefail

build_dir=${1:-build}
program="$build_dir/src/render/helidisk-render"
[[ -x "$program" ]] || { echo "render.sh: no $program; build first" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "render.sh: needs hyperfine (apt-get install hyperfine)" >&2; exit 1; }

out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT

hyperfine --shell=none --warmup 5 --min-runs 50 \
  --export-markdown "$out_dir/render.md" \
  "$program --hour 4417 --output $out_dir/x.png" \
  "$program --hour 4417 --output $out_dir/x.svg" \
  "$program --hour 4417 --output $out_dir/x.pdf" \
  "$program --grid stonyhurst --b0 3 --output $out_dir/template.pdf" \
  "$program --hour 4417 --readout"
