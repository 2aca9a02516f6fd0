#!/usr/bin/env bash
# Builds the Debian package from the build once and checks its metadata and contents.
# Usage: check_package.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1
version=$2
id=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$work" && cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >cpack.log) ||
    fail "cpack failed: $(cat "$work/cpack.log")"
deb="$work/quillmark_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillmark ] || fail "the package is named $(field Package)"
[ "$(field Version)" = "$version" ] || fail "the package's version is $(field Version)"
depends=$(field Depends)
# Found by dpkg-shlibdeps, and named for what is loaded at run time.
for needed in libc6 libqt6widgets6 libjpeg62-turbo qt6-qpa-plugins libqt6svg6; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
        fail "Depends lacks $needed: $depends"
done
dpkg-deb -I "$deb" triggers | grep -qx 'activate-noawait /usr/share/applications' ||
    fail "the package does not trigger the desktop database"

paths=$(dpkg-deb -c "$deb" | awk '{print $6}')
outside=$(grep -v '^\./usr/' <<<"$paths" | grep -vx '\./' || true)
[ -z "$outside" ] || fail "paths outside /usr: $outside"
for path in bin/quillmark bin/quillmark-cli libexec/quillmark share/quillmark/prefs.cfg \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    share/man/man1/quillmark-cli.1.gz share/bash-completion/completions/quillmark-cli \
    share/doc/quillmark/copyright share/doc/quillmark/changelog.gz; do
    grep -qx "\./usr/$path" <<<"$paths" || fail "the package lacks /usr/$path"
done
# The desktop entry of the package starts the launcher on the PATH's /usr/bin.
dpkg-deb -x "$deb" "$work/root"
grep -qx 'Exec=/usr/bin/quillmark %f' "$work/root/usr/share/applications/$id.desktop" ||
    fail "the package's desktop entry does not start /usr/bin/quillmark"
echo "Package $(basename "$deb") checked"
