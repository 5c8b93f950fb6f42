#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows player gets from the zip: its files, the version record and icon read back
# from gromzaks.exe as Windows shows them in the file's properties, and, started under Wine in
# an X server of its own, exactly the shipped libraries and plugins loaded, Qt's French found,
# and the game's icon on its window (and so on the taskbar).
#   check_package.sh ZIP WORK SOURCE_DIR VERSION
# Exit 0 passed, 1 failed, 77 skipped (no package built here, no Wine, no X server).
set -uo pipefail
zip=$1 work=$2 source=$3 version=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/wine.sh"
prepare_package "$zip" "$work" || exit $?
scenario=package
# shellcheck source-path=SCRIPTDIR/../e2e
. "$here/../e2e/lib.sh"
for tool in wrestool xprop; do
    command -v "$tool" >/dev/null || skip "$tool is missing (apt-get install icoutils x11-utils, or ./run.sh windows)"
done
folder=$(dirname "$game_exe")
words() { tr '\n' ' ' <<<"$1"; }

# --- The files: the program, what it loads, Qt's French, the licences and the read-me ---
expected="Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll gromzaks.exe LICENCE.txt libgcc_s_seh-1.dll
libstdc++-6.dll libwinpthread-1.dll LISEZMOI.txt platforms/qwindows.dll
styles/qwindowsvistastyle.dll translations/qtbase_fr.qm"
files=$(cd "$folder" && find . -type f ! -path './licences/*' | sed 's|^\./||' | sort -f)
[ "$files" = "$(tr ' ' '\n' <<<"$expected" | sed '/^$/d' | sort -f)" ] ||
    fail "the package holds: $(words "$files") where it should hold: $(words "$expected")"
[ "$(find "$folder/licences" -type f -size +1k | wc -l)" -ge 2 ] || fail "no third-party licences in licences/"
grep -q $'\r$' "$folder/LISEZMOI.txt" || fail "LISEZMOI.txt has no Windows line ends"

# --- The version record and the icon, as the file's properties show them ---
resources=$(wrestool -l "$game_exe")
grep -q -- '--type=16 --name=1 --language=1036' <<<"$resources" || fail "no French version record: $resources"
grep -q -- '--type=14 --name=1 --language=1036' <<<"$resources" || fail "no icon: $resources"
expect_resources "$game_exe" "ProductName=gromzaks" "InternalName=gromzaks" \
    "OriginalFilename=gromzaks.exe" "FileVersion=$version" "ProductVersion=$version"
grep -qx 040C04B0 <<<"$(wrestool -x --raw -t 16 "$game_exe" | strings -el)" || fail "the version record has no block 040C04B0 (French, Unicode)"

# --- Started under Wine: what it loads, and its window's icon ---
start_display
WINEDEBUG=+loaddll,+file start_game "$game_exe"
wait_title "Gromzak   Points:  0"
# The icons Qt gave the window, as Windows' title bar and taskbar show them: through Wine, one
# list of width, height and ARGB pixels after another, each exactly our picture of that size.
icons=$(xprop -id "$main_win" -notype -f _NET_WM_ICON 32c '=$0+' _NET_WM_ICON | cut -d= -f2 | tr -d ' ' | tr , '\n')
argb_of() {
    convert "$1" -depth 8 rgba:- | od -An -tu1 -v | tr -s ' \n' '\n' | sed '/^$/d' | paste - - - - |
        awk '{ printf "%.0f\n", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }'
}
sizes=
while [ -n "$icons" ]; do
    size=$(head -n 1 <<<"$icons")
    pixels=$((size * size))
    [ "$(sed -n 2p <<<"$icons")" = "$size" ] && [ -f "$source/assets/icons/$size.png" ] ||
        fail "the window has an icon of ${size}x$(sed -n 2p <<<"$icons"), not one of ours"
    [ "$(sed -n "3,$((pixels + 2))p" <<<"$icons")" = "$(argb_of "$source/assets/icons/$size.png")" ] ||
        fail "the window's ${size}x$size icon is not assets/icons/$size.png"
    sizes="$sizes ${size}x$size"
    icons=$(sed "1,$((pixels + 2))d" <<<"$icons")
done
[ -n "$sizes" ] || fail "the game window has no icon"
kill "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=
wineserver -w

# Wine names each library it loads, and whether it is Windows' own (builtin) or one of ours
# (native); the log writes a path's backslashes twice.
base=$(basename "$folder")
loaded=$(grep -a 'trace:loaddll:.*: native$' "$tmp/game.log" | grep -o 'L"[^"]*\.dll"' |
    sed 's|^L"\(.*\)"$|\1|; s|.*\\\\'"$base"'\\\\||; s|\\\\|/|g' | sort -uf)
shipped=$(cd "$folder" && find . -name '*.dll' | sed 's|^\./||' | sort -uf)
[ "$loaded" = "$shipped" ] || fail "libraries loaded: $(words "$loaded"); shipped: $(words "$shipped")"
# Qt looks for its French under several names, and opens the one that is there.
grep -aq 'NtCreateFile .*translations\\\\qtbase_fr\.qm"' "$tmp/game.log" || fail "Qt never opened translations/qtbase_fr.qm"
echo "PASS [package] $(wc -w <<<"$shipped") libraries, all loaded; version $version in French; the program's icon; the window's at$sizes"
