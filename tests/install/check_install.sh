#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what the desktop gets: the program, its
# desktop file and metainfo (each passing its own validator) and the icon at every size.
#   check_install.sh BUILD_DIR DESKTOP_ID
set -euo pipefail
build=$1
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
[ -x "$root/usr/bin/gromzaks" ] || fail "the program is not installed"
desktop="$root/usr/share/applications/$id.desktop"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "no desktop file"
[ -f "$metainfo" ] || fail "no metainfo"
for size in 96 192 256 512; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$icon" ] || fail "no icon of $size pixels"
    # A PNG's width and height stand at bytes 16 to 23.
    [ "$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')" = "0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))" ] \
        || fail "the icon of $size pixels has another size"
done
grep -qx "Name=Gromzaks" "$desktop" || fail "the desktop file does not name the game"
grep -qx "Categories=Game;ArcadeGame;" "$desktop" || fail "the desktop file's categories"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
    echo "desktop-file-validate is not installed: not run"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
else
    echo "appstreamcli is not installed: not run"
fi
echo "installed files: all present and valid"
