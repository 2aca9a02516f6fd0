# Sourced by the scripts that read a program's windows through the accessibility bus. The
# calling script runs again inside a session bus of its own; then it prepares its work
# folder ($work) and calls read_as_screen_reader.
if [ -z "${DBUS_SESSION_BUS_ADDRESS-}" ] || [ -z "${QUILLMARK_A11Y_BUS-}" ]; then
    exec env QUILLMARK_A11Y_BUS=1 dbus-run-session -- "$0" "$@"
fi
accessibility_dir=$(dirname "${BASH_SOURCE[0]}")
source "$accessibility_dir/virtual_display.sh"

# Usage: read_as_screen_reader CHECK PROGRAM [ARGUMENT...]
# Starts a display, the accessibility bus and the program in $work (its home and its
# configuration folder), runs the Python script CHECK and exits with its status; the
# program's output is shown when the check fails.
read_as_screen_reader() {
    local check=$1 status=0
    shift
    start_display
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    (cd "$work" && exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 HOME="$work" \
        XDG_CONFIG_HOME="$work/config" "$@") >"$work/program.log" 2>&1 &
    pids+=($!)
    PYTHONPATH="$accessibility_dir" /usr/bin/python3 "$check" || status=$?
    [ "$status" -eq 0 ] || { echo "display $DISPLAY"; cat "$work/program.log"; } >&2
    exit "$status"
}
