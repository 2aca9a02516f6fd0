#!/usr/bin/env bash
# Benchmark of `quillmark-cli check`; not a test, and CI does not run it.
#
# Wall time over the 1,000 pages of about 50 KB of bench/make_site.sh (the size the site
# window must load and check in under 2 s), and over 300 of them, against `table` on the
# same pages in the same run (the same reading of every page, without the checks). Best
# and median of RUNS rounds, each running every command once, in turn:
#   table                  every page read into the table, CSV to a file
#   check                  every page read and checked, every finding written
#   check --sarif          the same, as one SARIF log
#   check, 300 pages       the first 300 pages
#
# Usage: bench/check_bench.sh [QUILLMARK_CLI] [FOLDER]
#   QUILLMARK_CLI defaults to build/src/quillmark-cli, FOLDER to /tmp; the files go to a
#   fresh folder inside it, removed at the end. RUNS (default 5) sets the repetitions.
set -euo pipefail

here=$(dirname "$0")
cli=$(realpath "${1:-build/src/quillmark-cli}")
work=$(mktemp -d "${2:-/tmp}/check-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-5}
source "$here/timing.sh"

"$here/make_site.sh" "$work/site"
few=$(cd "$work/site" && ls page0[0-2]*.html)

reading() { (cd "$work/copy" && "$cli" table *.html > "$work/out.csv"); }
# Every page has findings, so check exits with 1 only for an error among them: none here.
checking() { (cd "$work/copy" && "$cli" check *.html > "$work/out.txt"); }
sarif() { (cd "$work/copy" && "$cli" check --sarif *.html > "$work/out.sarif"); }
some() { (cd "$work/copy" && "$cli" check $few > "$work/some.txt"); }

cat "$work/site"/* > /dev/null # into the page cache
printf 'site: %d pages, %d bytes; %d rounds\n\n' "$(ls "$work/site" | wc -l)" \
    "$(cat "$work/site"/* | wc -c)" "$runs"

interleaved reading checking sarif some
printf 'findings: %d on 1,000 pages, %d on 300\n' "$(wc -l < "$work/out.txt")" \
    "$(wc -l < "$work/some.txt")"
print_times table reading=table checking=check sarif="check --sarif" \
    some="check, 300 pages"
