#!/usr/bin/env bash
# Installs what is missing, builds the programs, their libraries and the game's content (not the
# tests or the benchmarks), and starts the client in a window.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --targets "qxr qxr-server" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${SDL_VIDEODRIVER:-}" != "dummy" ]; then
  echo "No display found (DISPLAY is not set): the client needs a window to play in."
  echo "Built programs are in build/bin/. Run under a desktop session, or headless with SDL_VIDEODRIVER=dummy."
  exit 1
fi
cd build/bin
exec ./qxr "$@"
