#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch folder and checks what the desktop and a distribution get:
# the program, its desktop file and metainfo (each passing its own validator), the icon at
# every size, the manual page, the copyright and changelog.
#   check_install.sh BUILD_DIR DESKTOP_ID
set -euo pipefail
build=$1
id=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
bindir=$(sed -n 's/^CMAKE_INSTALL_BINDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -x "$root/usr/${bindir:-bin}/gromzaks" ] || fail "the program is not installed in /usr/${bindir:-bin}"
desktop="$root/usr/share/applications/$id.desktop"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "no desktop file"
[ -f "$metainfo" ] || fail "no metainfo"
for size in 16 22 24 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$icon" ] || fail "no icon of $size pixels"
    # A PNG's width and height stand at bytes 16 to 23.
    [ "$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')" = "0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))" ] \
        || fail "the icon of $size pixels has another size"
done
grep -qx "Exec=gromzaks" "$desktop" || fail "the desktop file does not start the game"
grep -qx "Icon=$id" "$desktop" || fail "the desktop file does not name the icon"
gzip -t "$root/usr/share/man/man6/gromzaks.6.gz" || fail "no compressed manual page"
grep -q "GPL-3.0-or-later" "$root/usr/share/doc/gromzaks/copyright" || fail "no copyright file"
gzip -t "$root/usr/share/doc/gromzaks/changelog.gz" || fail "no compressed changelog"

if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate is not installed: not run"
fi
if command -v appstreamcli >/dev/null; then
    # The whole installed tree, so that the launcher named in the metainfo is found too.
    appstreamcli validate-tree --pedantic --no-net "$root" || fail "appstreamcli validate-tree --pedantic"
else
    echo "appstreamcli is not installed: not run"
fi
if command -v man >/dev/null; then
    out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$root/usr/share/man/man6/gromzaks.6.gz" 2>&1 >/dev/null) &&
        [ -z "$out" ] || fail "the manual page: $out"
fi
echo "installed files: all present and valid"
