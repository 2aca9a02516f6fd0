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

# --- The site: 1,000 pages, every tenth with CR LF line ends.
mkdir "$work/site"
awk -v dir="$work/site" 'BEGIN {
    for (p = 0; p < 1000; p++) {
        eol = (p % 10 == 0) ? "\r\n" : "\n"
        f = sprintf("%s/page%04d.html", dir, p)
        printf "<!DOCTYPE html>%s<html lang=\"en\">%s<head>%s", eol, eol, eol > f
        printf "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">%s", eol > f
        printf "  <title>Page %d</title>%s", p, eol > f
        printf "  <meta name=\"description\" content=\"Page %d of the shop\">%s", p, eol > f
        printf "  <meta name=\"viewport\" content=\"width=device-width\">%s", eol > f
        printf "  <link rel=\"stylesheet\" href=\"site.css\">%s", eol > f
        printf "  <script>var page = %d; // <meta name=\"robots\"> is not a tag here</script>%s", p, eol > f
        printf "  <meta name=\"robots\" content=\"index\">%s</head>%s<body>%s", eol, eol, eol > f
        size = 400
        for (i = 0; size < 50000; i++) {
            line = sprintf("<p class=\"c%d\">Item %d: <a href=\"item-%d.html\">more about it</a> &amp; its <b>price</b>.</p>", i % 7, i, i)
            printf "%s%s", line, eol > f
            size += length(line) + length(eol)
        }
        printf "</body>%s</html>%s", eol, eol > f
        close(f)
    }
}'
echo '{"description": "Hand-made wooden toys", "keywords": "toys, wooden", "page-title": "Toys",
       "robots": "NoIndex", "dc-date": ""}' | "$cli" pack - "$work/site.qmk"

run_cp() { cp -r "$work/site" "$work/copy"; }
run_cp_sync() { cp -r "$work/site" "$work/copy" && sync "$work/copy"/*; }
run_dry() { "$cli" apply --dry-run "$work/site.qmk" "$work/copy"/*.html > /dev/null; }
run_apply() { "$cli" apply "$work/site.qmk" "$work/copy"/*.html; }

# Sets best and median, in seconds, of RUNS runs; the pages are fresh for every run.
timed() {
    local times=() t0 t1 r
    for ((r = 0; r < runs; r++)); do
        rm -rf "$work/copy"
        [[ $1 == run_cp* ]] || cp -r "$work/site" "$work/copy"
        t0=$EPOCHREALTIME
        "$1"
        t1=$EPOCHREALTIME
        times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')")
    done
    read -r best median < <(printf '%s\n' "${times[@]}" | sort -n |
        awk '{ t[NR] = $1 } END { print t[1], t[int((NR + 1) / 2)] }')
}

cat "$work/site"/* > /dev/null # into the page cache
printf 'site: %d pages, %d bytes; %d runs each\n\n' "$(ls "$work/site" | wc -l)" \
    "$(cat "$work/site"/* | wc -c)" "$runs"

timed run_cp
cp_best=$best cp_median=$median
timed run_cp_sync
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
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
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
