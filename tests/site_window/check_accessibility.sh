#!/usr/bin/env bash
# Starts the site window's program on a display and an accessibility bus of their own,
# on a folder of pages, and reads its window as a screen reader would.
# Usage: check_accessibility.sh PROGRAM PAGES_DIR
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS-}" ] || [ -z "${QUILLMARK_A11Y_BUS-}" ]; then
    exec env QUILLMARK_A11Y_BUS=1 dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")

source "$(dirname "$0")/../common/virtual_display.sh"

mkdir "$work/site"
cp "$2"/site_*.html "$work/site/"
start_display

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1
(cd "$work" && exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 HOME="$work" \
    XDG_CONFIG_HOME="$work/config" "$program" site) >"$work/program.log" 2>&1 &
pids+=($!)
status=0
/usr/bin/python3 "$(dirname "$0")/check_accessibility.py" || status=$?
[ "$status" -eq 0 ] || { echo "display $DISPLAY"; cat "$work/program.log"; } >&2
exit "$status"
