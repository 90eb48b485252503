#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks the layout and that the
# installed tool, moved anywhere, works on a per-user copy of the reference.
# Usage: install-check.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/a/prefix" >/dev/null
# Relocatable: the installed tree works from wherever it is moved.
mv "$work/a/prefix" "$work/moved"
p="$work/moved"
for f in bin/zentrivo bin/zentrivo-cli \
         share/zentrivo/clcat.dat share/zentrivo/cldict.dat share/zentrivo/clcmd.dat \
         share/applications/org.zentrivo.Zentrivo.desktop \
         share/metainfo/org.zentrivo.Zentrivo.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.zentrivo.Zentrivo.svg \
         share/man/man1/zentrivo.1.gz share/man/man1/zentrivo-cli.1.gz \
         share/doc/zentrivo/copyright share/doc/zentrivo/changelog.gz; do
  [ -f "$p/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
for s in 16 22 24 32 48 64 128 256; do
  [ -f "$p/share/icons/hicolor/${s}x${s}/apps/org.zentrivo.Zentrivo.png" ] ||
    { echo "no ${s}px icon" >&2; exit 1; }
done
n="$(env -u ZENTRIVO_HOME XDG_DATA_HOME="$work/xdg" "$p/bin/zentrivo-cli" list | wc -l)"
[ "$n" -gt 0 ] || { echo "the installed tool lists nothing" >&2; exit 1; }
cmp "$work/xdg/zentrivo/cldict.dat" "$p/share/zentrivo/cldict.dat"
env -u ZENTRIVO_HOME XDG_DATA_HOME="$work/xdg" "$p/bin/zentrivo-cli" check
echo "installed and relocatable: $n commands"
