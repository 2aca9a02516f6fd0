#!/usr/bin/env bash
# Benchmark of `quillmark-cli convert`; not a test, and CI does not run it.
#
# 1. Wall time on a generated 100 MB file of indented markup with quotes and
#    apostrophes, half its lines ended by CR LF and half by LF, as a ratio to the floor
#    of the work, `cat SOURCE SOURCE > /dev/null; cat SOURCE > DEST; sync DEST` (a
#    conversion that reports progress reads the source twice, counting its lines first;
#    convert, which reports none, reads it once; both sync the one file they write), to
#    `cat SOURCE > DEST` and to a sed script that gives the same bytes, all measured in
#    the same run (best and median of RUNS runs each). convert is timed with each set of
#    kernels the processor runs (as `convert --help` lists them), or with the one that
#    QUILLMARK_CONVERTER names; a run that does not use the kernels asked for stops the
#    benchmark with the companion's message. The converted files and sed's are compared
#    with cmp. User CPU time is shown for each too, with its mean (the system samples
#    it). With BEFORE naming another quillmark-cli (an earlier build), it is timed in the
#    same run and its output compared as well. All of it is done again on a source as
#    large of lines dense with quotes (a quote, apostrophe or backslash in one byte of
#    three), where escaping is most of the work. The start-up, a conversion of an empty
#    source, is timed too (of the earlier build as well), and the user CPU ratios are
#    given again less it: the part the conversion itself takes.
# 2. Peak memory (maximum resident set size) of convert, with the first kernels above,
#    for sources of 20 MB and 100 MB, one line of 100 MB, and one line of 100 MB of
#    blanks ending in a letter (plus the same run of blanks between two letters, which
#    keeps it inside the line).
#
# Usage: [BEFORE=OLD_CLI] [QUILLMARK_CONVERTER=NAME] bench/convert_bench.sh [QUILLMARK_CLI] [FOLDER]
#   QUILLMARK_CLI defaults to build/src/quillmark-cli, FOLDER to /tmp; the files go to a
#   fresh folder inside it, removed at the end. RUNS (default 3) sets the repetitions.
set -euo pipefail

cli=$(realpath "${1:-build/src/quillmark-cli}")
before=${BEFORE:+$(realpath "$BEFORE")}
work=$(mktemp -d "${2:-/tmp}/convert-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-3}
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }
if [[ -n ${QUILLMARK_CONVERTER:-} ]]; then
    kernels=("$QUILLMARK_CONVERTER")
else
    read -ra kernels < <("$cli" convert --help | sed -n 's/^  run here: *//p')
fi
# The earlier build and the tools timed beside convert run as they would.
unset QUILLMARK_CONVERTER
kernel=

markup=$work/source.html
empty=$work/empty.html
: > "$empty"
dense=$work/dense.html
src=$markup
dst=$work/out.js
ref=$work/reference.js

# --- The source: a chunk of 16,000 lines (about 1 MB) written 100 times.
awk 'BEGIN {
    for (i = 0; i < 16000; i++) {
        indent = substr("                                ", 1, (i % 8) * 4)
        if (i % 4 == 1) indent = indent "\t"
        k = i % 6
        if (k == 0) line = "<li class=\"menu-item\"><a href=\"/page-" i ".html\" title=\"Page " i "\">It\047s page " i "</a></li>"
        else if (k == 1) line = "<p style=\047color: #336699\047>Say \"hello\" to " i "\047s friends &amp; family</p>"
        else if (k == 2) line = "<div id=\"box-" i "\" onclick=\"show(\047box-" i "\047)\">"
        else if (k == 3) line = "<img src=\"pics/" i ".png\" alt=\"It\047s a \\\"picture\\\"\">"
        else if (k == 4) line = "</div>"
        else line = "<td align=\"left\">" i "</td><td>O\047Neil</td>"
        if (i % 37 == 0) line = ""
        if (i % 5 == 0) line = line "  \t "
        printf "%s%s%s\n", indent, line, (i % 2 == 0 ? "\r" : "")
    }
}' > "$work/chunk"
for _ in $(seq 100); do cat "$work/chunk"; done > "$markup"
rm "$work/chunk"
# --- The quote-dense source: lines of data as a script writes them, as many bytes.
awk -v size="$(stat -c %s "$markup")" 'BEGIN {
    for (i = 0; written < size; i++) {
        line = substr("         ", 1, (i % 4) * 3) "{\"id\": \"" i "\", \"name\": \047it\\\047s \"" \
            i % 97 "\"\047, \"v\": [\"a\", \"b\", \"\\\\\"]}," (i % 3 ? "\r" : "")
        print line
        written += length(line) + 1
    }
}' > "$dense"

conv='s/\r//g;s/\\/\\\\/g;s/"/\\"/g;s/'\''/\\'\''/g;s/^[\x00-\x20]*//;s/[\x00-\x20]*$//;s/^/document.write("/;s/$/");\r/'
run_sed() { LC_ALL=C sed -e "/\x1a/{s/\x1a.*//;/^\$/Q;$conv;q;}" -e "$conv" "$1" > "$2"; }
run_cat() { cat "$1" > "$2"; }
run_cat_sync() { cat "$1" > "$2" && sync "$2"; }
run_floor() { cat "$1" "$1" > /dev/null && cat "$1" > "$2" && sync "$2"; }
run_convert() { QUILLMARK_CONVERTER=$kernel "$cli" convert "$1" "$2"; }
run_before() { "$before" convert "$1" "$2"; }
run_startup() { "$cli" convert "$empty" "$2"; }
run_before_startup() { "$before" convert "$empty" "$2"; }
# Each run is started in a shell of its own, timed with its children.
export -f run_sed run_cat run_cat_sync run_floor run_convert run_before run_startup \
    run_before_startup
export conv cli before kernel empty

# Sets best and median, in seconds, of RUNS runs of the function on the source, and
# user_best, user_median and user_mean, the user CPU time of those runs. A run that says
# anything on standard error stops the benchmark.
timed() {
    local times=() users=() t0 t1 r
    for ((r = 0; r < runs; r++)); do
        rm -f "$dst"
        t0=$EPOCHREALTIME
        # The shell's own timer gives user CPU to the millisecond (/usr/bin/time to 10).
        { TIMEFORMAT=%3U; time bash -c '"$0" "$1" "$2"' "$1" "$src" "$dst" 2> "$work/err"; } \
            2> "$work/cpu"
        if [[ -s $work/err ]]; then
            cat "$work/err" >&2
            exit 1
        fi
        t1=$EPOCHREALTIME
        times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')")
        users+=("$(tail -n 1 "$work/cpu")")
    done
    read -r best median < <(printf '%s\n' "${times[@]}" | sort -n |
        awk '{ t[NR] = $1 } END { print t[1], t[int((NR + 1) / 2)] }')
    read -r user_best user_median user_mean < <(printf '%s\n' "${users[@]}" | sort -n |
        awk '{ t[NR] = $1; s += $1 } END { printf "%.3f %.3f %.4f\n", t[1], t[int((NR + 1) / 2)], s / NR }')
}

row() { rows+=("$(printf '%-26s %8s %8s %8s %8s %8s' "$1" "$best" "$median" "$user_best" \
    "$user_median" "$user_mean")"); }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Everything above, timed on the source at $1, called $2.
measure() {
    src=$1
    cat "$src" > /dev/null # into the page cache
    printf '%s source: %d bytes, %d lines; %d runs each\n\n' "$2" "$(stat -c %s "$src")" \
        "$(wc -l < "$src")" "$runs"

    rows=()
    timed run_floor
    floor_best=$best floor_median=$median
    row "floor (cat x2, cat, sync)"
    timed run_cat
    cat_best=$best cat_median=$median
    row "cat"
    timed run_cat_sync
    row "cat + sync"
    timed run_sed
    row "sed"
    mv "$dst" "$ref"
    if [[ -n $before ]]; then
        timed run_before
        before_best=$best before_median=$median before_user=$user_median before_user_best=$user_best
        before_user_mean=$user_mean
        cmp "$dst" "$ref"
        row "before: convert"
    fi
    timed run_startup
    startup_user=$user_mean
    row "start-up (empty source)"
    if [[ -n $before ]]; then
        timed run_before_startup
        before_startup_user=$user_mean
        row "before: start-up"
    fi
    ratios=()
    for kernel in "${kernels[@]}"; do
        timed run_convert
        cmp "$dst" "$ref"
        row "convert ($kernel)"
        ratios+=("$(printf '%-28s %s (best)  %s (median)' "convert ($kernel) / floor" \
            "$(ratio "$best" "$floor_best")" "$(ratio "$median" "$floor_median")")")
        ratios+=("$(printf '%-28s %s (best)  %s (median)' "convert ($kernel) / cat" \
            "$(ratio "$best" "$cat_best")" "$(ratio "$median" "$cat_median")")")
        if [[ -n $before ]]; then
            ratios+=("$(printf '%-28s %s (best)  %s (median)  %s (mean)' \
                "user CPU ($kernel) / before" "$(ratio "$user_best" "$before_user_best")" \
                "$(ratio "$user_median" "$before_user")" "$(ratio "$user_mean" "$before_user_mean")")")
            ratios+=("$(printf '%-28s %s (mean)' "  less start-up" "$(awk -v a="$user_mean" \
                -v b="$startup_user" -v c="$before_user_mean" -v d="$before_startup_user" \
                'BEGIN { printf "%.2f", (a - b) / (c - d) }')")")
        fi
    done
    echo "convert and sed: the same $(stat -c %s "$dst") bytes"
    rm -f "$ref"

    printf '\n%-26s %8s %8s %8s %8s %8s\n' "" "wall (s)" "" "user CPU" "" ""
    printf '%-26s %8s %8s %8s %8s %8s\n' "" best median best median mean
    printf '%s\n' "${rows[@]}"
    echo
    if [[ -n $before ]]; then
        printf '%-28s %s (best)  %s (median)\n' "before / floor" \
            "$(ratio "$before_best" "$floor_best")" "$(ratio "$before_median" "$floor_median")"
    fi
    printf '%s\n' "${ratios[@]}"
}
measure "$markup" markup
echo
measure "$dense" quote-dense
rm "$dense"
src=$markup

# --- Peak memory.
kernel=${kernels[0]}
peak() {
    rm -f "$dst"
    QUILLMARK_CONVERTER=$kernel /usr/bin/time -o "$work/rss" -f %M "$cli" convert "$1" "$dst"
    printf '%-38s %7d KiB  (output %d bytes)\n' "$2" "$(tail -n 1 "$work/rss")" \
        "$(stat -c %s "$dst")"
}
printf '\npeak memory (maximum resident set size), convert (%s)\n' "$kernel"
head -c 20000000 "$src" > "$work/20mb.html"
peak "$work/20mb.html" "20 MB"
rm "$work/20mb.html"
peak "$src" "100 MB"
rm "$src"
{ yes '<b class="x">It'\''s "bold"</b> ' || true; } | head -c 100000000 | tr -d '\n' > "$work/line.html"
peak "$work/line.html" "one line of 100 MB"
rm "$work/line.html"
{ head -c 100000000 /dev/zero | tr '\0' ' '; printf a; } > "$work/blanks.html"
peak "$work/blanks.html" "100 MB of blanks, then a letter"
{ printf a; head -c 100000000 /dev/zero | tr '\0' ' '; printf a; } > "$work/blanks.html"
peak "$work/blanks.html" "a letter, 100 MB of blanks, a letter"
