#!/usr/bin/env bash
# Benchmark of `quillmark-cli pack` on crafted large sources; not a test, and CI does not
# run it. Every source is refused (pack names each fault), so the time is the reading
# and the naming of faults. For each kind the size doubles: a time that grows in
# proportion to the size doubles too. A run is cut off after LIMIT seconds (default 60).
#
# Usage: bench/pack_bench.sh [QUILLMARK_CLI] [FOLDER]
#   QUILLMARK_CLI defaults to build/src/quillmark-cli, FOLDER to /tmp.
set -euo pipefail

cli=$(realpath "${1:-build/src/quillmark-cli}")
work=$(mktemp -d "${2:-/tmp}/pack-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
limit=${LIMIT:-60}

# One JSON object of about `bytes` bytes of the given kind.
make_source() {
    python3 - "$1" "$2" > "$work/source.json" <<'EOF'
import sys
kind, size = sys.argv[1], int(sys.argv[2])
out, total, i = [], 0, 0
if kind == "distinct characters outside Windows-1252":
    chars = []
    while total < size:
        c = 0x4E00 + i % 20992  # CJK, three bytes each, up to 20992 distinct
        chars.append(chr(c)); total += 3; i += 1
    print('{"title": "' + "".join(chars) + '"}')
    sys.exit()
while total < size:
    member = ('"k%d": 1' % i) if kind == "unknown keys" else '"title": "x"'
    out.append(member); total += len(member) + 1; i += 1
print("{" + ",".join(out) + "}")
EOF
}

printf '%-42s %10s %10s\n' "source" "bytes" "seconds"
for kind in "unknown keys" "repeated keys" "distinct characters outside Windows-1252"; do
    for size in 200000 400000 800000 1600000 3200000; do
        make_source "$kind" "$size"
        t0=$EPOCHREALTIME
        status=0
        timeout "$limit" "$cli" pack "$work/source.json" "$work/out.qmk" 2> /dev/null ||
            status=$?
        t1=$EPOCHREALTIME
        seconds=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
        ((status == 124)) && seconds=">$limit"
        printf '%-42s %10d %10s\n' "$kind" "$(stat -c %s "$work/source.json")" "$seconds"
    done
done
