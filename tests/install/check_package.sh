#!/usr/bin/env bash
# Builds the Debian package from the build once and checks its metadata and contents.
# SITE_APP_ID is given when the site window's program is built.
# Usage: check_package.sh BUILD_DIR VERSION APP_ID [SITE_APP_ID]
set -euo pipefail
build=$1
version=$2
id=$3
site_id=${4-}

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
[ "$(field Recommends)" = xdg-utils ] || fail "the package does not recommend xdg-utils"
dpkg-deb -I "$deb" triggers | grep -qx 'activate-noawait /usr/share/applications' ||
    fail "the package does not trigger the desktop database"

paths=$(dpkg-deb -c "$deb" | awk '{print $6}')
site_paths=()
if [ -n "$site_id" ]; then
    site_paths=(bin/quillmark-site "share/applications/$site_id.desktop"
                share/man/man1/quillmark-site.1.gz)
fi
outside=$(grep -v '^\./usr/' <<<"$paths" | grep -vx '\./' || true)
[ -z "$outside" ] || fail "paths outside /usr: $outside"
for path in bin/quillmark bin/quillmark-cli libexec/quillmark share/quillmark/prefs.cfg \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    share/man/man1/quillmark-cli.1.gz share/bash-completion/completions/quillmark-cli \
    share/zsh/vendor-completions/_quillmark-cli share/fish/vendor_completions.d/quillmark-cli.fish \
    share/doc/quillmark/copyright share/doc/quillmark/changelog.gz "${site_paths[@]}"; do
    grep -qx "\./usr/$path" <<<"$paths" || fail "the package lacks /usr/$path"
done
# The desktop entry of the package starts the launcher on the PATH's /usr/bin.
dpkg-deb -x "$deb" "$work/root"
grep -qx 'Exec=/usr/bin/quillmark %f' "$work/root/usr/share/applications/$id.desktop" ||
    fail "the package's desktop entry does not start /usr/bin/quillmark"
if [ -n "$site_id" ]; then
    grep -qx 'Exec=/usr/bin/quillmark-site %F' "$work/root/usr/share/applications/$site_id.desktop" ||
        fail "the site window's entry does not start /usr/bin/quillmark-site"
fi

# The icons, drawn and at each size: the program's, and the project files' own, which their
# type names.
type_icon=$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$work/root/usr/share/mime/packages/$id.xml")
[ -n "$type_icon" ] && [ "$type_icon" != "$id" ] || fail "project files have no icon of their own"
icons="$work/root/usr/share/icons/hicolor"
for icon in "apps/$id" "mimetypes/$type_icon"; do
    [ -f "$icons/scalable/$icon.svg" ] || fail "no scalable $icon"
    for size in 16 32 48 64 128 256; do
        [[ $(file -b "$icons/${size}x$size/$icon.png") == "PNG image data, $size x $size,"* ]] ||
            fail "no $icon at $size px"
    done
done
cmp -s "$icons/48x48/apps/$id.png" "$icons/48x48/mimetypes/$type_icon.png" &&
    fail "project files show the program's icon"

# Pedantic AppStream has nothing to say but that the placeholder host is no real domain.
notes=$(appstreamcli validate --pedantic --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" |
    grep -E '^[EWIP]: ' | grep -v ': cid-maybe-not-rdns ' || true)
[ -z "$notes" ] || fail "appstreamcli says: $notes"
echo "Package $(basename "$deb") checked"
