#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what an installation promises: the
# layout, a desktop entry and metainfo that validate, and a launcher that gives every
# user a start folder of their own, with the caller's files made absolute. Run as root,
# the users are other uids than the installation's owner.
# Usage: check_install.sh BUILD_DIR DATA_DIR APP_ID
set -euo pipefail
build=$1
data=$2
id=$3

work=$(mktemp -d)
chmod 755 "$work" # the users must reach the installation
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$work/my apps" # a blank, as a prefix in a home folder may have
install() { cmake --install "$build" --prefix "$prefix" >/dev/null; }
install
app="$prefix/share/quillmark"

for program in bin/quillmark bin/quillmark-cli libexec/quillmark; do
    [ -x "$prefix/$program" ] || fail "$program is not installed as a program"
done
for file in "share/icons/hicolor/scalable/apps/$id.svg" \
    share/icons/hicolor/scalable/mimetypes/application-x-quillmark-project.svg \
    share/man/man1/quillmark.1.gz share/man/man1/quillmark-cli.1.gz \
    share/bash-completion/completions/quillmark-cli; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
diff -r "$data" "$app" || fail "the program's folder differs from data/"
[ "$("$prefix/bin/quillmark-cli" --version)" = "$("$build/src/quillmark-cli" --version)" ] ||
    fail "the installed quillmark-cli is not the one built"

entry="$prefix/share/applications/$id.desktop"
grep -qx "Exec=\"$prefix/bin/quillmark\" %f" "$entry" || fail "Exec does not name the launcher"
grep -qx "Icon=$id" "$entry" || fail "Icon is not $id"
grep -qx "MimeType=application/x-quillmark-project;" "$entry" || fail "no project file type"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
mime="$prefix/share/mime/packages/$id.xml"
xmllint --noout "$mime" || fail "the type's definition is no well-formed XML"
grep -q '<glob pattern="\*.qmk"/>' "$mime" || fail "the type does not name *.qmk"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli rejects $metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
for page in quillmark quillmark-cli; do
    gzip -t "$prefix/share/man/man1/$page.1.gz" || fail "$page.1.gz is no gzip file"
    if command -v man >/dev/null; then
        warnings=$(man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$page(1): $warnings"
    fi
done

# --- Users. As root the installation is root's and each user is a uid of their own;
# otherwise the installation is made read-only and the users differ by their homes.
if [ "$(id -u)" -eq 0 ]; then
    as_root=true
else
    as_root=false
    chmod -R a-w "$prefix"
fi
# UID HOME COMMAND...: runs COMMAND as that user with that home folder, in place of the shell.
as_user() {
    local uid=$1 home=$2
    shift 2
    if $as_root; then
        set -- setpriv --reuid="$uid" --regid="$uid" --clear-groups "$@"
    fi
    exec env -u XDG_DATA_HOME -u XDG_RUNTIME_DIR HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}
make_home() {
    mkdir -p "$2"
    if $as_root; then chown "$1:$1" "$2"; fi
}
counter() { od -An -tu1 -j1 -N1 "$1" 2>/dev/null | tr -d ' '; }

# UID HOME START_FOLDER COUNT [VAR=VALUE]: starts the real program through the launcher and
# waits until it has counted the start in START_FOLDER's prefs.cfg (COUNT), then ends it.
start_as() {
    local uid=$1 home=$2 folder=$3 count=$4 pid tries=0
    shift 4
    (cd "$home" && as_user "$uid" "$home" env "$@" "$prefix/bin/quillmark") &
    pid=$!
    until [ "$(counter "$folder/prefs.cfg")" = "$count" ]; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended at start for user $uid"
        ((++tries < 300)) || fail "user $uid's start was not counted in $folder (wanted $count)"
        sleep 0.1
    done
    kill "$pid"
    wait "$pid" || true
}

first=64101
second=64102
make_home $first "$work/first"
make_home $second "$work/second"
mine="$work/first/.local/share/quillmark"
start_as $first "$work/first" "$mine" 1
start_as $first "$work/first" "$mine" 2
for name in help readme.txt sitepromo.hlp tips wizard; do
    [ "$(readlink "$mine/$name")" = "$app/$name" ] || fail "$name is no link to the installation's"
done
[ -f "$mine/prefs.cfg" ] && [ ! -L "$mine/prefs.cfg" ] || fail "prefs.cfg is not the user's own"
$as_root && { [ "$(stat -c %u "$mine/prefs.cfg")" = $first ] || fail "prefs.cfg is not the user's"; }

theirs="$work/second/data/quillmark"
start_as $second "$work/second" "$theirs" 1 XDG_DATA_HOME="$work/second/data"
[ "$(counter "$mine/prefs.cfg")" = 2 ] || fail "the second user's start counted for the first"
cmp -s "$data/prefs.cfg" "$app/prefs.cfg" || fail "a start changed the installation's prefs.cfg"

# A later installation: the user keeps their prefs.cfg and sees the new files at once.
$as_root || chmod -R u+w "$prefix"
install
touch "$app/help/new.html" "$app/whatsnew.txt"
$as_root || chmod -R a-w "$prefix"
start_as $first "$work/first" "$mine" 3
[ -e "$mine/help/new.html" ] || fail "a new help page does not reach the user"
[ "$(readlink "$mine/whatsnew.txt")" = "$app/whatsnew.txt" ] || fail "a new file is not linked"

# A start folder that cannot be made: the program starts in the installation, as before.
$as_root || chmod -R u+w "$prefix"
printf '#!/bin/sh\npwd\nprintf "%%s\\n" "$@"\n' >"$prefix/libexec/quillmark"
touch "$work/blocked"
got=$(cd "$work" && XDG_DATA_HOME="$work/blocked" "$prefix/bin/quillmark" 2>/dev/null)
[ "$got" = "$app" ] || fail "with no start folder the launcher ran in $got"
# Installed into the user's own data folder (--prefix ~/.local), the installation is it.
got=$(cd "$work" && XDG_DATA_HOME="$prefix/share" "$prefix/bin/quillmark")
[ "$got" = "$app" ] && [ ! -L "$app/help" ] || fail "installed as the start folder, it ran in $got"

# A stand-in program shows where the launcher started it and with which arguments.
mkdir "$work/caller"
touch "$work/caller/-odd.qmk"
got=$(cd "$work/caller" && HOME="$work/caller" XDG_DATA_HOME='' \
    "$prefix/bin/quillmark" site.qmk -odd.qmk --flag "sub dir/a.qmk" /abs.qmk \
    -style Fusion --session id x.qmk -style=Fusion y.qmk)
want="$work/caller/.local/share/quillmark
$work/caller/site.qmk
$work/caller/-odd.qmk
--flag
$work/caller/sub dir/a.qmk
/abs.qmk
-style
Fusion
--session
id
$work/caller/x.qmk
-style=Fusion
$work/caller/y.qmk"
[ "$got" = "$want" ] || fail "the launcher ran: $got"
echo "Installation checked in $prefix"
