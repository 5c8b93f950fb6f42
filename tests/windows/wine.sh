# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The Windows package as a player has it, under Wine: unzipped once for each build of the zip,
# in a Wine prefix of the tests' own. Sourced; sets $game_exe and exports WINEPREFIX.
#   prepare_package ZIP WORK     returns 77 (skip) where there is no package or no Wine

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
    # No .NET or HTML engine to offer to download: the game needs neither.
    export WINEPREFIX=$work/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
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
