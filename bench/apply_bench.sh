#!/usr/bin/env bash
# Benchmark of `quillmark-cli apply`; not a test, and CI does not run it.
#
# Wall time of apply over 1,000 pages of about 50 KB each (a head of a dozen tags, some
# the program writes and some it does not, then a body of markup), as a ratio to copying
# the same pages with `cp`, all measured in the same run (best and median of RUNS runs
# each). apply replaces each page safely, which syncs it to disk, so `cp` followed by
# `sync` is timed as well, and `apply --dry-run` (the diff, nothing written) on its own.
# Then one page whose head is 10 MB on a single line (a minified head of about 230,000
# tags, half of them the program's): apply and extract, wall and CPU time each, which
# should grow with the page's size alone (aim: under 1 s).
#
# Usage: bench/apply_bench.sh [QUILLMARK_CLI] [FOLDER]
#   QUILLMARK_CLI defaults to build/src/quillmark-cli, FOLDER to /tmp; the files go to a
#   fresh folder inside it, removed at the end. RUNS (default 3) sets the repetitions.
set -euo pipefail

cli=$(realpath "${1:-build/src/quillmark-cli}")
work=$(mktemp -d "${2:-/tmp}/apply-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-3}

# --- The site: 1,000 pages of about 50 KB.
"$(dirname "$0")/make_site.sh" "$work/site"
echo '{"description": "Hand-made wooden toys", "keywords": "toys, wooden", "page-title": "Toys",
       "robots": "NoIndex", "dc-date": ""}' | "$cli" pack - "$work/site.qmk"

run_cp() { cp -r "$work/site" "$work/copy"; }
run_cp_sync() { cp -r "$work/site" "$work/copy" && sync "$work/copy"/*; }
run_dry() { "$cli" apply --dry-run "$work/site.qmk" "$work/copy"/*.html > /dev/null; }
run_apply() { "$cli" apply "$work/site.qmk" "$work/copy"/*.html; }

source "$(dirname "$0")/timing.sh"

cat "$work/site"/* > /dev/null # into the page cache
printf 'site: %d pages, %d bytes; %d runs each\n\n' "$(ls "$work/site" | wc -l)" \
    "$(cat "$work/site"/* | wc -c)" "$runs"

timed run_cp empty
cp_best=$best cp_median=$median
timed run_cp_sync empty
sync_best=$best sync_median=$median
timed run_dry
dry_best=$best dry_median=$median
timed run_apply
apply_best=$best apply_median=$median
# Applying again changes nothing: the lines written are the lines the project gives.
[[ -z $("$cli" apply --dry-run "$work/site.qmk" "$work/copy"/*.html) ]]
echo "applied once more: no change"

printf '\n%-24s %8s %8s\n' "wall time (s)" best median
printf '%-24s %8s %8s\n' "cp" "$cp_best" "$cp_median" "cp + sync" "$sync_best" "$sync_median" \
    "apply --dry-run" "$dry_best" "$dry_median" "apply" "$apply_best" "$apply_median"
printf '\napply / cp           %s (best)  %s (median)\n' "$(ratio "$apply_best" "$cp_best")" \
    "$(ratio "$apply_median" "$cp_median")"
printf 'apply / (cp + sync)  %s (best)  %s (median)\n' "$(ratio "$apply_best" "$sync_best")" \
    "$(ratio "$apply_median" "$sync_median")"

# --- One page, a 10 MB head on one line.
awk 'BEGIN {
    printf "<html><head>"
    for (i = 0; size < 10000000; i++) {
        t = sprintf("<meta name=\"description\" content=\"d%d\"><meta name=\"viewport\" content=\"width=%d\">", i, i)
        printf "%s", t
        size += length(t)
    }
    printf "</head><body>x</body></html>\n"
}' > "$work/one-line.html"
printf '\none page, a head of %d bytes on one line; %d runs each\n' \
    "$(wc -c < "$work/one-line.html")" "$runs"
printf '%-24s %8s %8s %8s\n' "best of runs (s)" wall user sys
TIMEFORMAT='%R %U %S'
one_line() { # the best wall time of RUNS runs of the command, with its CPU times
    local r t best=
    for ((r = 0; r < runs; r++)); do
        cp "$work/one-line.html" "$work/page.html"
        t=$({ time "$@" > /dev/null; } 2>&1 | tail -n 1)
        if [[ -z $best ]] || awk -v a="${t%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
            best=$t
        fi
    done
    echo "$best"
}
read -r w u s < <(one_line "$cli" apply "$work/site.qmk" "$work/page.html")
printf '%-24s %8s %8s %8s\n' "apply" "$w" "$u" "$s"
read -r w u s < <(one_line "$cli" extract --json "$work/page.html")
printf '%-24s %8s %8s %8s\n' "extract --json" "$w" "$u" "$s"
