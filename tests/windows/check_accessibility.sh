#!/usr/bin/env bash
# Starts the program on a display and an accessibility bus of their own, with the startup
# tip and the wizard due, and reads its windows as a screen reader would.
# Usage: check_accessibility.sh PROGRAM DATA_DIR
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS-}" ] || [ -z "${QUILLMARK_A11Y_BUS-}" ]; then
    exec env QUILLMARK_A11Y_BUS=1 dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")
data=$2

source "$(dirname "$0")/../common/virtual_display.sh"

cp -r "$data/." "$work/"
chmod -R u+w "$work"
# Tips and the wizard at start; no update reminder, which comes at random.
printf '\001\000\002\000\000\001' | dd of="$work/prefs.cfg" bs=1 conv=notrunc status=none

start_display

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
sleep 1
(cd "$work" && exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 HOME="$work" \
    "$program") >"$work/program.log" 2>&1 &
pids+=($!)
status=0
/usr/bin/python3 "$(dirname "$0")/check_accessibility.py" || status=$?
[ "$status" -eq 0 ] || { echo "display $DISPLAY"; cat "$work/program.log"; } >&2
exit "$status"
