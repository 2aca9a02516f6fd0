#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what an installation promises: the
# layout, a desktop entry naming this prefix, and a launcher that starts the program in
# its folder with the caller's files made absolute.
# Usage: check_install.sh BUILD_DIR DATA_DIR
set -euo pipefail
build=$1
data=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix="$work/my apps" # a blank, as a prefix in a home folder may have
cmake --install "$build" --prefix "$prefix" >/dev/null
app="$prefix/share/quillmark"

for program in bin/quillmark bin/quillmark-cli share/quillmark/quillmark; do
    [ -x "$prefix/$program" ] || fail "$program is not installed as a program"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/quillmark.svg" ] || fail "no icon"
diff -r --exclude=quillmark "$data" "$app" || fail "the program's folder differs from data/"
[ "$("$prefix/bin/quillmark-cli" --version)" = "$("$build/src/quillmark-cli" --version)" ] ||
    fail "the installed quillmark-cli is not the one built"

entry="$prefix/share/applications/quillmark.desktop"
grep -qx "Exec=\"$app/quillmark\" %f" "$entry" || fail "Exec does not name $app/quillmark %f"
grep -qx "Path=$app" "$entry" || fail "Path does not name $app"
grep -qx "Icon=quillmark" "$entry" || fail "Icon is not quillmark"
grep -qx "MimeType=application/x-quillmark-project;" "$entry" || fail "no project file type"
mime="$prefix/share/mime/packages/quillmark.xml"
xmllint --noout "$mime" || fail "the type's definition is no well-formed XML"
grep -q '<glob pattern="\*.qmk"/>' "$mime" || fail "the type does not name *.qmk"
[ -f "$prefix/share/icons/hicolor/scalable/mimetypes/application-x-quillmark-project.svg" ] ||
    fail "no icon for project files"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
fi

# The real program keeps running once started (timeout's 124), not failing at once.
status=0
(cd "$work" && QT_QPA_PLATFORM=offscreen timeout 2 "$prefix/bin/quillmark") || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended at start with status $status"

# A stand-in program shows where the launcher started it and with which arguments.
printf '#!/bin/sh\npwd\nprintf "%%s\\n" "$@"\n' >"$app/quillmark"
mkdir "$work/caller"
touch "$work/caller/-odd.qmk"
got=$(cd "$work/caller" && "$prefix/bin/quillmark" site.qmk -odd.qmk --flag "sub dir/a.qmk" \
    /abs.qmk -style Fusion --session id x.qmk -style=Fusion y.qmk)
want="$app
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
