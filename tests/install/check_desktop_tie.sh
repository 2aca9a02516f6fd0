#!/usr/bin/env bash
# Installs the build, starts the installed program on a display of its own as a user with
# a fresh home, and checks that its windows are tied to its desktop entry: their class is
# the entry's StartupWMClass, and the entry says the program notifies its start.
# Usage: check_desktop_tie.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2

source "$(dirname "$0")/../common/virtual_display.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
entry="$prefix/share/applications/$id.desktop"
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$class" ] || fail "the entry names no StartupWMClass"
grep -qx 'StartupNotify=true' "$entry" || fail "the entry does not say it notifies its start"

start_display

mkdir "$work/home"
(cd "$work/home" && exec env -u XDG_DATA_HOME HOME="$work/home" QT_QPA_PLATFORM=xcb \
    "$prefix/bin/quillmark") >"$work/program.log" 2>&1 &
pids+=($!)
window=$(timeout 30 xdotool search --sync --onlyvisible --class "^$class\$" | head -n 1) ||
    fail "no window of class $class: $(cat "$work/program.log")"
# WM_CLASS holds the instance's name, then the class. (On Wayland the entry's name is the
# window's app id, which the GUI tests check.)
[[ $(xprop -id "$window" WM_CLASS) == *", \"$class\"" ]] ||
    fail "the window's class is not $class: $(xprop -id "$window" WM_CLASS)"
echo "The windows are of class $class, as $id.desktop says"
