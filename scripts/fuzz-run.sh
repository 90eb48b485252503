#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds over a copy of its
# seed corpus (fuzz/corpus/NAME), so a crash, a sanitizer report or a hang
# fails the run. The shipped corpus is left as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in build-fuzz/bin/fuzz_*; do
  name="$(basename "$target")"
  corpus="fuzz/corpus/${name#fuzz_}"
  mkdir -p "$work/$name"
  [ -d "$corpus" ] && cp -r "$corpus/." "$work/$name/"
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work/$name" 2>&1 | tail -n 12
  # A failure exits the loop through set -e and pipefail.
done
