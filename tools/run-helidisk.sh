#!/usr/bin/env bash
# Starts the built program, or says plainly why it cannot.
set -euo pipefail
program="${1:-build}/src/app/helidisk"
if [[ ! -x "$program" ]]; then
  echo "helidisk: the window program is not built yet ($program is missing)." >&2
  exit 1
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "helidisk: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Start it from a desktop session, or under a virtual X server: xvfb-run make run" >&2
  exit 1
fi
exec "$program"
