#!/usr/bin/env bash
# The window's sources include none of helidisk-render's command-line
# headers: its options' rules, its runs, its reports and tables, its
# picture module.  The window draws, saves and prints through the picture
# code it shares with the command line (renderer.h, svgcanvas.h, pdfpage.h,
# and renderoptions.h, which holds the picture request both build today);
# the headers below are the command line's alone.
# Usage: tools/check-app-includes.sh [DIR...]   (default: src/app)
# Prints each offending include as FILE:LINE and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
command_line_headers=(renderrun.h report.h recordjson.h ephemeristable.h unicodetext.h
  picturemodule.h)
directories=("$@")
[[ ${#directories[@]} -eq 0 ]] && directories=(src/app)

alternatives=$(IFS='|'; echo "${command_line_headers[*]//./\\.}")
# Quoted or angled, with or without a path before the name.
pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]([^\">]*/)?(${alternatives})[\">]"

mapfile -t sources < <(find "${directories[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
offending=0
for source in "${sources[@]}"; do
  number=0
  while IFS= read -r text || [[ -n "$text" ]]; do
    number=$((number + 1))
    [[ $text =~ $pattern ]] || continue
    echo "$source:$number: includes ${BASH_REMATCH[2]}, a header of the command line" \
      "(helidisk-render)" >&2
    offending=$((offending + 1))
  done <"$source"
done
if ((offending > 0)); then
  echo "app includes: $offending include(s) of the command line's headers in ${directories[*]}" >&2
  exit 1
fi
echo "app includes: no header of the command line in ${directories[*]}"
