#!/usr/bin/env bash
# Builds DALVEX (release) and starts it. The sample data set is copied into the
# user's data folder on the way, ready to open.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DDALVEX_BUILD_TESTS=OFF -DDALVEX_BUILD_BENCH=OFF >/dev/null
# Both programs, so that `cmake --install build/release` finds them.
cmake --build build/release -j2 --target dalvex dalvex-batch

data="${XDG_DATA_HOME:-$HOME/.local/share}/dalvex/data"
mkdir -p "$data"
cp -n resources/samples/* "$data/" 2>/dev/null || true
echo "Sample data: $data"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" build/release/src/app/dalvex
fi
exec build/release/src/app/dalvex
