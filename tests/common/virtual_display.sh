# Sourced by the scripts that run the programs on a display of their own: a work folder
# and the processes started, both gone when the script ends, and the display.
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Starts an X server of its own (Xvfb) and makes it DISPLAY.
start_display() {
    local fd display
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    read -r -t 10 display <&"$fd" || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$display"
}
