#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what an installation promises: the
# layout, a desktop entry and metainfo that validate, and a launcher that gives every
# user a start folder of their own, with the caller's files made absolute. Run as root,
# the users are other uids than the installation's owner. SITE_APP_ID is given when the
# site window's program is built.
# Usage: check_install.sh BUILD_DIR DATA_DIR APP_ID [SITE_APP_ID]
set -euo pipefail
build=$1
data=$2
id=$3
site_id=${4-}

work=$(mktemp -d)
chmod 755 "$work" # the users must reach the installation
started=()        # the programs this script starts, ended on every way out
finish() {
    set +e
    for pid in "${started[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap finish EXIT
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
pages=(quillmark quillmark-cli)
if [ -n "$site_id" ]; then
    pages+=(quillmark-site)
    [ -x "$prefix/bin/quillmark-site" ] || fail "bin/quillmark-site is not installed as a program"
    site_entry="$prefix/share/applications/$site_id.desktop"
    grep -qx "Exec=\"$prefix/bin/quillmark-site\" %F" "$site_entry" ||
        fail "the site window's Exec does not name its program"
    grep -qx "Icon=$id" "$site_entry" || fail "the site window's icon is not $id"
    desktop-file-validate "$site_entry" || fail "desktop-file-validate rejects $site_id.desktop"
    grep -q "<launchable type=\"desktop-id\">$site_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $site_id.desktop"
fi
for page in "${pages[@]}"; do
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
    started+=("$pid")
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
# The installation's own is never replaced, whoever starts the program in it.
[ "$(stat -c %a "$app/prefs.cfg")" = 444 ] || fail "the installation's prefs.cfg can be written"

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
rm "$app/help/new.html" "$app/whatsnew.txt" 2>/dev/null || { chmod -R u+w "$prefix" &&
    rm "$app/help/new.html" "$app/whatsnew.txt" && chmod -R a-w "$prefix"; }

# Answering --help and --version makes no start folder.
for option in --help --version; do
    mkdir "$work/asking$option"
    out=$(cd "$work/asking$option" && env -u XDG_DATA_HOME HOME="$work/asking$option" \
        "$prefix/bin/quillmark" $option)
    [ -n "$out" ] && [ -z "$(ls -A "$work/asking$option")" ] || fail "$option made a start folder"
done

# Eight first starts at once, by the installation's owner, who may write into it: the
# start folder is made once, each start is counted, and the installation stays as it was.
$as_root || chmod -R u+w "$prefix"
racer="$work/racer"
mkdir "$racer"
mkfifo "$work/gate" # opened for writing, it lets all eight go at once
racing=()
for _ in 1 2 3 4 5 6 7 8; do
    (cd "$racer" && { read -r _ <"$work/gate" || :; }
        exec env -u XDG_DATA_HOME HOME="$racer" QT_QPA_PLATFORM=offscreen \
        "$prefix/bin/quillmark" 2>>"$work/racing.err") &
    racing+=("$!")
    started+=("$!")
done
sleep 0.5
: >"$work/gate"
tries=0
until [ "$(counter "$racer/.local/share/quillmark/prefs.cfg")" = 8 ]; do
    ((++tries < 600)) ||
        fail "8 starts at once counted $(counter "$racer/.local/share/quillmark/prefs.cfg")"
    sleep 0.1
done
kill "${racing[@]}"
wait "${racing[@]}" 2>/dev/null || true
! grep '^quillmark:' "$work/racing.err" || fail "a start at once did not go as the others"
diff -r "$data" "$app" || fail "starts at once wrote into the installation"

# --- The launcher's start folder, with a stand-in program that shows where it ran.
printf '#!/bin/sh\npwd\nprintf "%%s\\n" "$@"\n' >"$prefix/libexec/quillmark"
mkdir "$work/rows" "$work/elsewhere"
# NAME XDG SETUP CHECK: in a home of its own ($home, where the launcher starts; $folder its
# start folder), SETUP runs, then the launcher with XDG_DATA_HOME as XDG (unset for -);
# CHECK then sees $ran, the folder the program ran in, and $err, what the launcher said.
row() {
    local name=$1 xdg=$2 setup=$3 check=$4 err
    home="$work/rows/${name// /-}"
    folder="$home/.local/share/quillmark"
    err="$home.err"
    mkdir "$home"
    (cd "$home" && eval "$setup") || fail "$name: could not set up"
    if [ "$xdg" = - ]; then
        ran=$(cd "$home" && env -u XDG_DATA_HOME HOME="$home" "$prefix/bin/quillmark" 2>"$err")
    else
        ran=$(cd "$home" && HOME="$home" XDG_DATA_HOME="$xdg" "$prefix/bin/quillmark" 2>"$err")
    fi
    ran=${ran%%$'\n'*}
    eval "$check" || fail "$name: ran in $ran; $(cat "$err")"
}
row "a relative XDG_DATA_HOME is ignored" rel/data 'mkdir rel' \
    '[ "$ran" = "$folder" ] && [ ! -e "$home/rel/data" ]'
row "a file of the user's own in place of a link stays" - \
    'mkdir -p "$folder" && echo mine >"$folder/readme.txt"' \
    '[ "$ran" = "$folder" ] && [ ! -L "$folder/readme.txt" ] && [ "$(cat "$folder/readme.txt")" = mine ]'
row "a link to a file the installation no longer has goes" - \
    'mkdir -p "$folder" && ln -s "$app/gone.txt" "$folder/gone.txt" &&
     ln -s "$work/elsewhere/x" "$folder/mine"' \
    '[ "$ran" = "$folder" ] && [ ! -L "$folder/gone.txt" ] && [ -L "$folder/mine" ]'
row "a link into another installation is renewed" - \
    'mkdir -p "$folder" && ln -s "$work/old/share/quillmark/help" "$folder/help"' \
    '[ "$ran" = "$folder" ] && [ "$(readlink "$folder/help")" = "$app/help" ]'
row "a start folder that is a link is refused" - \
    'mkdir -p .local/share aside && ln -s "$home/aside" "$folder"' \
    '[ "$ran" = "$app" ] && [ -z "$(ls -A aside)" ] && grep -q "is a symbolic link" "$err"'
if $as_root; then
    row "another user's start folder is refused" - "mkdir -p \"\$folder\" && chown $first \"\$folder\"" \
        '[ "$ran" = "$app" ] && [ -z "$(ls -A "$folder")" ] && grep -q "not your own" "$err"'
fi
row "a start folder inside the installation is refused" "$app/data" '' \
    '[ "$ran" = "$app" ] && [ ! -e "$app/data" ] && grep -q "inside the installation" "$err"'
row "a start folder that cannot be made: the installation" "$work/rows/blocked" \
    'touch "$work/rows/blocked"' '[ "$ran" = "$app" ]'
# Installed into the user's own data folder (--prefix ~/.local), the installation is it.
row "the installation is the start folder" "$prefix/share" '' \
    '[ "$ran" = "$app" ] && [ ! -L "$app/help" ] && [ ! -s "$err" ]'
# Sixteen first starts at once, three times over: every one starts in the start folder.
for round in 1 2 3; do
    home="$work/rows/at once $round"
    mkdir "$home"
    mkfifo "$home.gate"
    racing=()
    for i in $(seq 16); do
        (cd "$home" && { read -r _ <"$home.gate" || :; }
            exec env -u XDG_DATA_HOME HOME="$home" "$prefix/bin/quillmark" >"$home.$i" 2>&1) &
        racing+=("$!")
    done
    sleep 0.3
    : >"$home.gate"
    wait "${racing[@]}"
    for i in $(seq 16); do
        [ "$(cat "$home.$i")" = "$home/.local/share/quillmark" ] ||
            fail "a first start of 16 at once: $(cat "$home.$i")"
    done
done
diff -r "$data" "$app" || fail "the launcher wrote into the installation"

# The caller's files made absolute.
mkdir "$work/caller"
touch "$work/caller/-odd.qmk"
got=$(cd "$work/caller" && HOME="$work/caller" XDG_DATA_HOME='' \
    "$prefix/bin/quillmark" site.qmk -odd.qmk --flag "sub dir/a.qmk" /abs.qmk \
    -style Fusion --session id x.qmk -style=Fusion y.qmk -- --help)
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
$work/caller/y.qmk
--
$work/caller/--help"
[ "$got" = "$want" ] || fail "the launcher ran: $got"
echo "Installation checked in $prefix"
