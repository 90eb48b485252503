#!/usr/bin/env bash
# Starts the program from the build folder, where the sample reference lies
# beside it. Without a display it runs under a virtual one (xvfb-run).
set -euo pipefail
program="$(cd "$(dirname "$0")/.." && pwd)/build/bin/zentrivo"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Zentrivo on a virtual display (xvfb-run)." >&2
  exec xvfb-run -a "$program"
fi
exec "$program"
