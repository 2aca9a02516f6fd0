#!/usr/bin/env bash
# Starts the program with the startup tip and the wizard due, on a display and an
# accessibility bus of their own, and reads its windows as a screen reader would.
# Usage: check_accessibility.sh PROGRAM DATA_DIR
set -euo pipefail
source "$(dirname "$0")/../common/accessibility.sh"
program=$(realpath "$1")
cp -r "$2/." "$work/"
chmod -R u+w "$work"
# Tips and the wizard at start; no update reminder, which comes at random.
printf '\001\000\002\000\000\001' | dd of="$work/prefs.cfg" bs=1 conv=notrunc status=none
read_as_screen_reader "$(dirname "$0")/check_accessibility.py" "$program"
