#!/usr/bin/env bash
# Writes zentrivo-cli's command table into docs/cli.md and the manual page,
# between their markers, from the tool's own help: the one source of both.
# Usage: scripts/cli-docs.sh [CLI]   (default build/bin/zentrivo-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
cli="${1:-build/bin/zentrivo-cli}"
splice() { # FILE BEGIN-MARKER END-MARKER TEXT-FILE (markers through the environment,
  # which awk takes without reading backslashes as escapes)
  BEGIN_MARK="$2" END_MARK="$3" GEN="$4" awk '
    $0 == ENVIRON["BEGIN_MARK"] { print; while ((getline line < ENVIRON["GEN"]) > 0) print line; skip = 1; next }
    $0 == ENVIRON["END_MARK"] { skip = 0 }
    !skip { print }' "$1" > "$1.new"
  mv "$1.new" "$1"
}
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
"$cli" help --markdown > "$tmp"
splice docs/cli.md \
  '<!-- The commands: zentrivo-cli help --markdown (scripts/cli-docs.sh writes them). -->' \
  '<!-- End of the commands. -->' "$tmp"
"$cli" help --man > "$tmp"
splice packaging/man/zentrivo-cli.1 \
  '.\" The commands: zentrivo-cli help --man (scripts/cli-docs.sh writes them).' \
  '.\" End of the commands.' "$tmp"
