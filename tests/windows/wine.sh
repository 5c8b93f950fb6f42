# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The Windows package as a player has it, under Wine: unzipped once for each build of the zip,
# in a Wine prefix of the tests' own. Sourced; sets $game_exe and exports WINEPREFIX.
#   prepare_package ZIP WORK     returns 77 (skip) where there is no package or no Wine
#   expect_resources EXE NAME=TEXT...   (after lib.sh) fails unless the program's properties
#                                show the game's icon, version VERSION.0.0 and these texts

prepare_package() {
    local zip work
    zip=$(realpath -m "$1")
    work=$(realpath -m "$2")
    [ -f "$zip" ] || {
        echo "SKIP: no Windows package at $zip (./run.sh windows makes it)"
        return 77
    }
    if ! command -v wine >/dev/null || ! command -v wineserver >/dev/null; then
        echo "SKIP: Wine is not installed (apt-get install wine wine64, or ./run.sh windows)"
        return 77
    fi
    mkdir -p "$work"
    if [ ! -f "$work/unzipped" ] || [ "$zip" -nt "$work/unzipped" ]; then
        rm -rf "$work/package" "$work/unzipped"
        mkdir -p "$work/package"
        (cd "$work/package" && cmake -E tar xf "$zip") || {
            echo "FAIL: cannot unzip $zip"
            return 1
        }
        touch "$work/unzipped"
    fi
    game_exe=$(find "$work/package" -name gromzaks.exe | head -n 1)
    [ -n "$game_exe" ] || {
        echo "FAIL: no gromzaks.exe in $zip"
        return 1
    }
    # No .NET or HTML engine to offer to download: the game needs neither. No menu entries for
    # the desktop outside the prefix, for the shortcuts that the setup program makes.
    export WINEPREFIX=$work/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        env -u DISPLAY wineboot --init >"$work/wineboot.log" 2>&1
        wineserver -w
        [ -f "$WINEPREFIX/system.reg" ] || {
            echo "FAIL: Wine could not make its prefix:"
            tail -n 5 "$work/wineboot.log"
            return 1
        }
    fi
}

# Uses $version, $source and $work of the caller.
# shellcheck disable=SC2154
expect_resources() {
    local exe=$1 name=${1##*/} ico=$source/assets/icons/gromzaks.ico pair texts text
    shift
    texts=$(wrestool -x --raw -t 16 "$exe" | strings -el)
    for pair in "$@"; do
        text=$(grep -A1 -x "${pair%%=*}" <<<"$texts" | tail -n 1)
        [ "$text" = "${pair#*=}" ] || fail "$name: ${pair%%=*} reads '$text', not '${pair#*=}'"
    done
    # The numbers beside the texts (FILEVERSION, PRODUCTVERSION): major.minor.0.0, after the
    # record's signature and the version of its layout.
    local major=${version%%.*} minor=$((10#${version#*.})) numbers bytes
    numbers=$(printf '%02x %02x %02x %02x 00 00 00 00' $((minor & 255)) $((minor >> 8)) $((major & 255)) $((major >> 8)))
    bytes=$(wrestool -x --raw -t 16 "$exe" | od -An -tx1 -v | tr -s ' \n' '  ')
    grep -q "bd 04 ef fe .. .. .. .. $numbers $numbers" <<<"$bytes" || fail "$name: the version record's numbers are not $version.0.0"
    # Rebuilt from the resource, the icon may carry a few bytes of padding after the pictures.
    wrestool -x -t 14 -o "$work/icon.ico" "$exe" && cmp -s -n "$(stat -c %s "$ico")" "$work/icon.ico" "$ico" ||
        fail "$name: its icon is not assets/icons/gromzaks.ico"
}
