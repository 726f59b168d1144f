#!/usr/bin/env bash
# Builds the Debian package from a finished build folder, unpacks it without installing it, and
# runs the unpacked programs from there: the package is complete and its layout relocatable.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "package check: $*" >&2
    exit 1
}

echo "== cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
package=$(ls "$work"/package/tabilo_*.deb)
dpkg-deb -f "$package" Depends | grep -q libturbojpeg || fail "no libturbojpeg among the dependencies"
dpkg-deb -x "$package" "$work/root"
usr=$work/root/usr

echo "== desktop entry and metadata"
desktop-file-validate "$usr/share/applications/tabilo.desktop"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml

echo "== tabilo-cli --version"
"$usr/bin/tabilo-cli" --version

# A camera picture whose model the camera table lists.
picture=$work/pictures/ixus.jpg
mkdir "$work/pictures"
exiftool -q -o "$picture" -Make=Canon -Model="Canon DIGITAL IXUS" -FocalLength=5.4 \
    tests/ui/main/fixtures/zoom3x.jpg

echo "== tabilo-cli info"
"$usr/bin/tabilo-cli" info "$picture" >"$work/info" 2>"$work/info-errors"
[ ! -s "$work/info-errors" ] || fail "info: $(cat "$work/info-errors")"
grep -q "35mm換算" "$work/info" || fail "info did not use the camera table"

echo "== tabilo-cli rotate"
"$usr/bin/tabilo-cli" rotate --code 1 --no-backup "$picture"
"$usr/bin/tabilo-cli" jpeg "$picture" | grep -q '"width":240,"height":320' ||
    fail "the picture was not turned"

echo "== tabilo on the offscreen platform"
status=0
HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen \
    timeout 5 "$usr/bin/tabilo" "$work/pictures" || status=$?
[ "$status" -eq 124 ] || fail "tabilo ended early with status $status"
echo "package check passed: $(basename "$package")"
