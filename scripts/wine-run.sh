#!/usr/bin/env bash
# Runs a Windows program under wine, quietly, in a wine prefix of its own
# (build-windows/wine), so nothing of the user's ~/.wine is touched.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build-windows/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader="$(command -v wine64 || command -v wine)"
exec "$loader" "$@"
