#!/usr/bin/env bash
# Installs the build, starts the installed programs on a display of their own as a user with
# a fresh home, and checks that their windows are tied to their desktop entries: their class
# is the entry's StartupWMClass, and the entry says the program notifies its start. The site
# window's program is checked too when SITE_APP_ID is given (it is built).
# Usage: check_desktop_tie.sh BUILD_DIR APP_ID [SITE_APP_ID]
set -euo pipefail
build=$1
id=$2
site_id=${3-}

source "$(dirname "$0")/../common/virtual_display.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
start_display

# ID PROGRAM [ARGUMENT...]: starts the installed PROGRAM, whose entry is ID.desktop, and
# checks its first window.
tied() {
    local id=$1 program=$2 entry class window
    shift 2
    entry="$prefix/share/applications/$id.desktop"
    class=$(sed -n 's/^StartupWMClass=//p' "$entry")
    [ -n "$class" ] || fail "$id.desktop names no StartupWMClass"
    grep -qx 'StartupNotify=true' "$entry" || fail "$id.desktop does not say it notifies its start"

    mkdir "$work/home-$id"
    (cd "$work/home-$id" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$work/home-$id" \
        QT_QPA_PLATFORM=xcb "$prefix/bin/$program" "$@") >"$work/$id.log" 2>&1 &
    pids+=($!)
    window=$(timeout 30 xdotool search --sync --onlyvisible --class "^$class\$" | head -n 1) ||
        fail "no window of class $class: $(cat "$work/$id.log")"
    # WM_CLASS holds the instance's name, then the class. (On Wayland the entry's name is the
    # window's app id, which the GUI tests check.)
    [[ $(xprop -id "$window" WM_CLASS) == *", \"$class\"" ]] ||
        fail "the window's class is not $class: $(xprop -id "$window" WM_CLASS)"
    echo "The windows of $program are of class $class, as $id.desktop says"
}

tied "$id" quillmark
if [ -n "$site_id" ]; then
    # A folder without pages: the window, and no question.
    mkdir "$work/empty site"
    tied "$site_id" quillmark-site "$work/empty site"
fi
