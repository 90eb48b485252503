#!/bin/sh
# Runs the Neovim client test against a zentrivo-cli beside the shipped
# reference. Exits 77 (skipped) when Neovim is not installed.
set -eu
cli="$1"
script="$2"
command -v nvim >/dev/null 2>&1 || { echo "nvim is not installed"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'CRTLIB LIB(PAYROLL) TYPE(*OTHER)\n' > "$work/PAYROLL.clle"
export ZENTRIVO_CLI="$cli" ZENTRIVO_LSP_HOME="$(dirname "$cli")" \
  ZENTRIVO_LSP_MEMBER="$work/PAYROLL.clle" HOME="$work" XDG_CONFIG_HOME="$work" \
  XDG_DATA_HOME="$work" XDG_STATE_HOME="$work" XDG_CACHE_HOME="$work"
timeout 90 nvim --headless -u NONE -i NONE -n -c "luafile $script" </dev/null
