#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (needs rsvg-convert, Debian
# package librsvg2-bin). The PNGs are kept in the repository, so a build does
# not need the tool.
set -euo pipefail
cd "$(dirname "$0")"
for s in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$s" -h "$s" org.zentrivo.Zentrivo.svg -o "zentrivo-$s.png"
done
