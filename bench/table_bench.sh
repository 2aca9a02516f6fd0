#!/usr/bin/env bash
# Benchmark of `quillmark-cli table`; not a test, and CI does not run it.
#
# Wall time over the 1,000 pages of about 50 KB of bench/make_site.sh, each measured
# against the same floor in the same run: a plain read-and-replace of every page, durably
# (bench/read_replace.cpp: a copy of its bytes beside it, synced, renamed over it). Best
# and median of RUNS rounds, each running every command once, in turn, on a fresh copy
# of the pages:
#   table                    every page read into the table, CSV to a file
#   table --write, unchanged the table of the pages written back (every page read, none
#                            changed: the round trip)
#   table --write, changed   every page's description changed (every page read and
#                            replaced, durably)
# The aim: within 1.3 times the floor.
#
# Usage: bench/table_bench.sh [QUILLMARK_CLI] [FOLDER]
#   QUILLMARK_CLI defaults to build/src/quillmark-cli, FOLDER to /tmp; the files go to a
#   fresh folder inside it, removed at the end. RUNS (default 5) sets the repetitions; CXX
#   (default c++) builds the floor.
set -euo pipefail

here=$(dirname "$0")
cli=$(realpath "${1:-build/src/quillmark-cli}")
work=$(mktemp -d "${2:-/tmp}/table-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-5}
source "$here/timing.sh"

"${CXX:-c++}" -O2 -o "$work/read_replace" "$here/read_replace.cpp"
"$here/make_site.sh" "$work/site"
# The tables, made once from the pages as they are: as read, and with a new description
# on every page.
(cd "$work/site" && "$cli" table *.html > "$work/site.csv")
sed 's/,Page \([0-9]*\) of the shop,/,Page \1 of the shop: new,/' "$work/site.csv" \
    > "$work/changed.csv"
[[ $(grep -c ': new,' "$work/changed.csv") == 1000 ]]

floor() { "$work/read_replace" "$work/copy"/*.html; }
reading() { (cd "$work/copy" && "$cli" table *.html > "$work/out.csv"); }
unchanged() { (cd "$work/copy" && "$cli" table --write "$work/site.csv"); }
changed() { (cd "$work/copy" && "$cli" table --write "$work/changed.csv"); }

cat "$work/site"/* > /dev/null # into the page cache
printf 'site: %d pages, %d bytes; %d rounds\n\n' "$(ls "$work/site" | wc -l)" \
    "$(cat "$work/site"/* | wc -c)" "$runs"

interleaved floor reading unchanged changed
# What the last round left: the changed table reads back; and the round trip changes
# no byte.
(cd "$work/copy" && "$cli" table *.html) | cmp - "$work/changed.csv"
echo "table --write of the changed table: the pages read back as it"
rm -rf "$work/copy" && cp -r "$work/site" "$work/copy" && reading && unchanged
cmp "$work/out.csv" "$work/site.csv" && diff -r "$work/site" "$work/copy" > /dev/null
echo "table of the pages as read, written back: no byte changed"
print_times floor floor="read and replace (floor)" reading=table \
    unchanged="table --write, unchanged" changed="table --write, changed"
