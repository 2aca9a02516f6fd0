# Sourced by the benchmarks: times shell functions against each other in one run.
# Needs `runs` (how many times each) and `work` (the folder whose site/ is copied).

# Sets best and median, in seconds, of `runs` runs of the function $1. Before each run,
# untimed, copy/ is made a fresh copy of site/ (or, when $2 is "empty", removed).
timed() {
    local times=() t0 t1 r
    for ((r = 0; r < runs; r++)); do
        rm -rf "$work/copy"
        [[ ${2:-} == empty ]] || cp -r "$work/site" "$work/copy"
        t0=$EPOCHREALTIME
        "$1"
        t1=$EPOCHREALTIME
        times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')")
    done
    read -r best median < <(printf '%s\n' "${times[@]}" | sort -n |
        awk '{ t[NR] = $1 } END { print t[1], t[int((NR + 1) / 2)] }')
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Times the functions named against each other: `runs` rounds, each running every one of
# them once, in turn, on a fresh copy/ of site/ synced to the disk first (so that neither
# the copy's writing nor the state one run leaves the disk in weighs on one more than on
# the others). Sets best_NAME and median_NAME, in seconds, for each function NAME.
interleaved() {
    local -A times=()
    local name t0 t1 r
    for ((r = 0; r < runs; r++)); do
        for name in "$@"; do
            rm -rf "$work/copy"
            cp -r "$work/site" "$work/copy"
            sync
            t0=$EPOCHREALTIME
            "$name"
            t1=$EPOCHREALTIME
            times[$name]+="$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }') "
        done
    done
    for name in "$@"; do
        read -r "best_$name" "median_$name" < <(printf '%s\n' ${times[$name]} | sort -n |
            awk '{ t[NR] = $1 } END { print t[1], t[int((NR + 1) / 2)] }')
    done
}

# Prints what interleaved measured, a row for each NAME=LABEL given: best and median, and
# the best over the best of the first, which the header calls $1.
print_times() {
    local against=$1 entry label width=13 first b m
    shift
    for entry in "$@"; do
        label=${entry#*=}
        ((${#label} > width)) && width=${#label}
    done
    first=best_${1%%=*}
    printf '\n%-*s %8s %8s %14s\n' "$width" "wall time (s)" best median "/ $against (best)"
    for entry in "$@"; do
        b=best_${entry%%=*} m=median_${entry%%=*}
        printf '%-*s %8s %8s %14s\n' "$width" "${entry#*=}" "${!b}" "${!m}" \
            "$(ratio "${!b}" "${!first}")"
    done
}
