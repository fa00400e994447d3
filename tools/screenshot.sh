#!/usr/bin/env bash
# Takes the README's picture of the window: starts the built program on a
# virtual X screen of its own (xvfb-run), waits until its main window is
# mapped, gives it a moment to paint, captures that window alone with
# ImageMagick's import, and ends the program again.
#
#   tools/screenshot.sh [build-dir] [output.png]
set -euo pipefail

if [[ "${1:-}" != "--on-virtual-screen" ]]; then
  # A screen of its own, large enough for the window at its design size.
  exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    "$0" --on-virtual-screen "${1:-build}" "${2:-docs/screenshot.png}"
fi
build="$2"
output="$3"
program="$build/src/app/helidisk"
if [[ ! -x "$program" ]]; then
  echo "helidisk: the window program is not built yet ($program is missing)." >&2
  exit 1
fi

mkdir -p "$(dirname "$output")"
"$program" &
program_pid=$!
trap 'kill "$program_pid" 2>/dev/null || true' EXIT

# The main window's caption begins "helidisk   Version".
window_id=""
for _ in $(seq 100); do
  window_id=$(xwininfo -root -tree | awk '/"helidisk   Version/ { print $1; exit }')
  [[ -n "$window_id" ]] && break
  sleep 0.1
done
if [[ -z "$window_id" ]]; then
  echo "helidisk: the window did not appear within 10 s." >&2
  exit 1
fi
sleep 1
import -window "$window_id" "$output"
echo "helidisk: window captured to $output"
