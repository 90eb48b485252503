#!/usr/bin/env bash
# Times zentrivo-cli against the physical limit of the same work, measured in
# the same run on the same files:
#   html --out of 20,000 commands   vs  cp -r of its own output
#   import of a shuffled 100,000-line list  vs  sort of it
#   import --records of 100,000 commands    vs  cp -r of the files it writes
#   build of 100,000 commands       vs  cat of the same per-command files
#   search at 100,000 from a cold start     vs  grep -c -i -F of the word,
#     for a word one command holds and for one every command holds
#   hostile inputs: a 20,000-category merge vs 10,000; 100,000 attributes and
#   a 50 MB YAML file vs reading them (each refused before it is parsed)
# Usage: bench/compare.sh CLI   (the zentrivo-cli to measure)
set -euo pipefail
cli="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
# Runs a command five times and prints the best wall time in seconds; the
# command in $PREP (if any) runs untimed before each run.
best() {
  local b="" t0 t1 d
  for _ in 1 2 3 4 5; do
    if [ -n "${PREP:-}" ]; then sh -c "$PREP"; fi
    t0=$(now); "$@" >/dev/null; t1=$(now)
    d=$(echo "$t1 - $t0" | bc -l)
    if [ -z "$b" ] || [ "$(echo "$d < $b" | bc -l)" = 1 ]; then b=$d; fi
  done
  printf '%.3f' "$b"
}
report() { # name ours anchor goal
  printf '%-28s %8ss  %-22s %8ss  %5.2fx  (goal <= %s)\n' "$1" "$2" "$3" "$4" \
    "$(echo "$2 / $4" | bc -l)" "$5"
}
list() { # N: a CL text list of N commands in 20 categories, shuffled
  awk -v n="$1" 'BEGIN { srand(7); for (c = 1; c <= 20; c++) { printf "[%02d] - Category %d\n", c, c;
    for (i = c - 1; i < n; i += 20) printf "C%07d - Command number %d with a title\n", i, i } }' |
    awk 'NR == 1 || !/^\[/ { print; next } { print }' > "$2"
}

# --- import -----------------------------------------------------------------
list 100000 "$work/list.txt"
shuf --random-source=<(yes) "$work/list.txt" > "$work/shuffled.txt"
mkdir -p "$work/imp"
ours=$(best "$cli" --home "$work/imp" import "$work/shuffled.txt")
anchor=$(best sort -o "$work/sorted.txt" "$work/shuffled.txt")
report "import 100,000 (shuffled)" "$ours" "sort" "$anchor" 2

# --- import --records -------------------------------------------------------
# Each run starts from an empty folder and writes 100,000 per-command files,
# durable before the lists; cp -r writes the same files, durable or not.
# Removing the old files is not timed.
mkdir -p "$work/r"
ours=$(PREP="rm -rf '$work/r' && mkdir '$work/r' && sync" \
  best "$cli" --home "$work/r" import --records "$work/list.txt")
anchor=$(PREP="rm -rf '$work/r2' && sync" best cp -r "$work/r/data" "$work/r2")
report "import --records 100,000" "$ours" "cp -r of the files" "$anchor" 2
rm -rf "$work/r" "$work/r2"

# --- build ------------------------------------------------------------------
mkdir -p "$work/b"
"$cli" --home "$work/b" import --records "$work/list.txt" >/dev/null
ours=$(best "$cli" --home "$work/b" build)
(cd "$work/b/data" && ls | sort > "$work/files.txt")
anchor=$(best sh -c "cd '$work/b/data' && xargs cat < '$work/files.txt' > '$work/joined.cat'")
report "build 100,000" "$ours" "cat" "$anchor" 1.2

# --- search -----------------------------------------------------------------
# A new process each time, no index kept between runs: a word one command
# holds (goal 2x), and one every command holds (goal 3x; search ranks all
# 100,000 and prints the best 20). grep writes through a pipe: with its
# output on /dev/null it would stop at the first match.
for case in "c0099999 2" "number 3"; do
  read -r word goal <<< "$case"
  ours=$(best sh -c "'$cli' --home '$work/b' search $word 2>/dev/null | cat >/dev/null")
  anchor=$(best sh -c "grep -c -i -F $word '$work/b/clcmd.dat' | cat >/dev/null")
  report "search \"$word\" at 100,000" "$ours" "grep -c -i -F" "$anchor" "$goal"
done

# --- html -------------------------------------------------------------------
mkdir -p "$work/h"
list 20000 "$work/list20k.txt"
"$cli" --home "$work/h" import --records "$work/list20k.txt" >/dev/null
"$cli" --home "$work/h" build >/dev/null
# Both write a new folder each time; removing the old one is not timed.
ours=$(PREP="rm -rf '$work/site' && sync" best "$cli" --home "$work/h" html --out "$work/site")
anchor=$(PREP="rm -rf '$work/site2' && sync" best cp -r "$work/site" "$work/site2")
report "html 20,000 pages" "$ours" "cp -r of the pages" "$anchor" 1.5

# --- hostile input: each refused or taken in time linear in its size ---------
cats() { # N: categories.yaml of N categories, ids in reverse order
  awk -v n="$1" 'BEGIN { print "categories:"; for (i = n; i >= 1; i--)
    printf "  - id: %d\n    name: Category %d\n", i, i }' > "$2/categories.yaml"
}
for n in 10000 20000; do
  mkdir -p "$work/cats$n/in" "$work/cats$n/home"
  cats "$n" "$work/cats$n/in"
  t[$n]=$(PREP="rm -rf '$work/cats$n/home'/*" best "$cli" --home "$work/cats$n/home" load "$work/cats$n/in")
done
report "merge 20,000 categories" "${t[20000]}" "10,000 of them" "${t[10000]}" "2.5 (linear)"
awk 'BEGIN { printf "<QcdCLCmd><Cmd CmdName=\"X\"><Parm Kwd=\"A\""; for (i = 0; i < 100000; i++)
  printf " a%d=\"x\"", i; print "/></Cmd></QcdCLCmd>" }' > "$work/attrs.xml"
mkdir -p "$work/cmd"
ours=$(best sh -c "'$cli' --home '$work/cmd' import-cmd '$work/attrs.xml' 2>/dev/null || true")
anchor=$(best wc -c "$work/attrs.xml")
report "refuse 100,000 attributes" "$ours" "wc -c of the file" "$anchor" "20 (refused unparsed)"
mkdir -p "$work/big"
head -c 52428800 /dev/zero | tr '\0' 'x' | sed 's/^/detail: /' > "$work/big/X.yaml"
ours=$(best sh -c "'$cli' --home '$work/cmd' load '$work/big' 2>/dev/null || true")
anchor=$(best wc -c "$work/big/X.yaml")
report "refuse a 50 MB YAML file" "$ours" "wc -c of the file" "$anchor" "20 (refused unparsed)"
