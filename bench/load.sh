#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the real game costs as it runs, measured from outside as a player runs it: wake-ups a
# second and CPU (a share of one core), counted as bench/measure.sh says, each program in a
# display of its own started afresh (tests/e2e: an Xvfb; a headless sway; for Wine an Xvfb with
# a window manager), beside Qt's floor, bench/floor.cpp: a bare window of the game window's size
# repainting a small square a frame, paced as the game is. What is measured (--what):
#   rest   before a game, from 2 s after the title "Gromzak   Points:  0", for 5 s;
#   play   a game with the alien bullets crawling so that it lasts, from 4 s after "Oui" (the
#          formation has come in), for 10 s; failed if a Score box came up;
#   key    the same game next, Left held down for 10 s, the X server repeating it (X11 only);
#   floor  gromzaks_floor of the first PROGRAM's build, from 2 s after it shows, for 5 s;
#   lost   the default first game left alone: milliseconds from "Oui" to the Score box; asked
#          by default when wine is among the displays, to compare Linux with Wine.
# Scale 2 is Qt's scale factor on X11 and Wine, the output's scale on Wayland. Under Wine the
# game is the Windows package of PROGRAM's build (GROMZAKS_WINDOWS_PACKAGE in the CMakeCache.txt
# beside it; ./run.sh windows makes it), unzipped into that build's bench/windows with a Wine
# prefix of its own, and Wine's server's CPU is shown beside the game's. The Wine rows have a
# floor of their own: the same bare window, built for Windows with the package.
# In every round, for every scale and display, the PROGRAMs and the floor are measured one after
# the other, in the opposite order each next round. A row a measurement (a dash when it failed,
# and why on stderr); then a SUMMARY per display, scale, program and what: the median over the
# rounds, the spread (min to max), and for play and key the game's CPU as a share of the
# floor's (the median of the rounds' ratios). A program is labelled by its folder's name.
#   bench/load.sh [--rounds N] [--scales "1 2"] [--displays "x11 wayland wine"]
#                 [--what "rest play key floor lost"] [PROGRAM ...]      PROGRAM: build/gromzaks
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
# shellcheck source-path=SCRIPTDIR
. "$here/measure.sh"

# One program in a fresh display: load.sh --session DISPLAY SCALE PROGRAM WHAT... prints
# "= WHAT FIGURES" for each, or stops at the first failure with lib.sh's FAIL or SKIP line.
if [ "${1:-}" = --session ]; then
    scenario=bench E2E_DISPLAY=${2/wine/x11} E2E_SCALE=$3
    export E2E_DISPLAY E2E_SCALE
    program=$4
    shift 4
    # shellcheck source=SCRIPTDIR/../tests/e2e/lib.sh
    . "$root/tests/e2e/lib.sh"
    # shellcheck source=SCRIPTDIR/../tests/e2e/scenarios.sh
    . "$root/tests/e2e/scenarios.sh"
    start_display
    start_game "$program"
    server=
    if [[ "$program" == *.exe ]]; then # the Wine server of this prefix, its own process
        for pid in $(pgrep '^wineserver'); do
            tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && server=$pid
        done
        [ -n "$server" ] || fail "no Wine server for $WINEPREFIX"
    fi
    figures() { # WHAT SECONDS
        local got
        got=$(measure "$2" "$game_pid" ${server:+"$server"}) || fail "the program has gone during the measure"
        [ "$1" = rest ] || [ "$1" = floor ] || window_count_is '^Score$' 0 ||
            fail "the game ended (a Score box) during the measure"
        echo "= $1 $got"
    }
    playing=
    for what; do
        case $what in
            floor) sleep 2 && figures floor 5 ;;
            rest) wait_title "Gromzak   Points:  0" && sleep 2 && figures rest 5 ;;
            play | key)
                [ -n "$playing" ] || { start_playing_safely && sleep 4 && playing=1; }
                [ "$what" = play ] && figures play 10
                [ "$what" = key ] && focus_window "$main_win" && key_down Left && figures key 10 && key_up Left
                ;;
            lost) play_default_game && echo "= lost $lost_ms" ;;
        esac
    done
    exit 0
fi

usage() {
    sed -n 's/^#   //p' "$0" >&2
    exit 2
}
rounds=3 scales="1 2" displays=x11 what="rest play key floor" what_given=
while [ $# -gt 0 ]; do
    case $1 in
        --rounds | --scales | --displays | --what)
            [ $# -ge 2 ] || usage
            printf -v "${1#--}" %s "$2"
            [ "$1" = --what ] && what_given=1
            shift 2
            ;;
        -*) usage ;;
        *) break ;;
    esac
done
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || usage
[ $# -gt 0 ] || set -- "$root/build/gromzaks"
[ -z "$what_given" ] && [[ " $displays " == *" wine "* ]] && what+=" lost"
asked() { [[ " $what " == *" $1 "* ]]; }

# The programs, their labels and, for Wine, their Windows packages unzipped (or why not).
programs=() labels=() exes=()
for program; do
    [ -x "$program" ] || { echo "load.sh: no program $program" >&2; exit 2; }
    program=$(realpath "$program")
    dir=$(dirname "$program")
    label=$(basename "$dir" | tr " " _)
    [[ " ${labels[*]} " == *" $label "* ]] && label+="#${#programs[@]}"
    programs+=("$program") labels+=("$label") exes+=("")
    if [[ " $displays " == *" wine "* ]]; then
        zip=$(sed -n 's/^GROMZAKS_WINDOWS_PACKAGE:FILEPATH=//p' "$dir/CMakeCache.txt" 2>/dev/null)
        out="no GROMZAKS_WINDOWS_PACKAGE in $dir/CMakeCache.txt"
        # shellcheck source=SCRIPTDIR/../tests/windows/wine.sh
        [ -n "$zip" ] && out=$(. "$root/tests/windows/wine.sh" && prepare_package "$zip" "$dir/bench/windows" &&
            echo "exe=$game_exe")
        exe=$(sed -n 's/^exe=//p' <<<"$out")
        exes[-1]=${exe:-"!$(head -n 1 <<<"$out")"}
        # The Windows floor beside the package's libraries, as the game finds them.
        [ -n "$exe" ] && cp "$(dirname "$zip")/bench/gromzaks_floor.exe" "$(dirname "$exe")/" 2>/dev/null
    fi
done
floor=$(dirname "${programs[0]}")/bench/gromzaks_floor
wine_floor=$(dirname "${exes[0]}")/gromzaks_floor.exe
results=$(mktemp "${TMPDIR:-/tmp}/gromzaks-load.XXXXXX")
trap 'rm -f "$results"' EXIT

# ROUND DISPLAY SCALE LABEL WHAT [FIGURES...]: one row, a dash without figures.
row() {
    local figures=-
    if [ -n "${6:-}" ] && [ "$5" = lost ]; then
        figures="$6 ms"
    elif [ -n "${6:-}" ]; then
        figures=$(printf '%7s /s %6s %%' "$6" "$7")
        [ -n "${8:-}" ] && figures+="   + wineserver $8 %"
    fi
    printf '%-5s %-7s %-5s %-14s %-5s %s\n' "$1" "$2" "$3" "$4" "$5" "$figures"
}
# The same with a dash, and why on stderr: ROUND DISPLAY SCALE LABEL WHAT WHY.
dash() {
    row "$1" "$2" "$3" "$4" "$5"
    echo "load.sh: round $1, $2, scale $3, $4, $5: $6" >&2
}

# ROUND DISPLAY SCALE LABEL PROGRAM WHAT...: one program in a fresh display, a row a WHAT.
session() {
    local round=$1 display=$2 scale=$3 label=$4 program=$5 out='' why='' what got env=()
    shift 5
    [[ "$program" == *.exe ]] &&
        env=(WINEPREFIX="${program%%/package/*}/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")
    if [[ "$program" == "!"* ]]; then
        why=${program#!}
    elif [ ! -f "$program" ]; then
        why="no program at $program"
    else
        out=$(env "${env[@]}" bash "$0" --session "$display" "$scale" "$program" "$@" 2>&1)
        why=$(grep -m 1 -E '^(FAIL|SKIP)' <<<"$out")
    fi
    for what; do
        got=$(sed -n "s/^= $what //p" <<<"$out")
        if [ -z "$got" ]; then
            dash "$round" "$display" "$scale" "$label" "$what" "${why:-not measured}"
            continue
        fi
        # shellcheck disable=SC2086 # one word a figure
        row "$round" "$display" "$scale" "$label" "$what" $got
        echo "$display $scale $label $what $round $got" >>"$results"
    done
}

summary() {
    echo
    echo "SUMMARY over $rounds round(s): median (min to max)"
    awk "$median_awk"'
    {
        k = $1 " " $2 " " $3 " " $4
        if (!(k in rounds)) keys[++n] = k
        rounds[k] = rounds[k] " " $5; one[k] = one[k] " " $6; two[k] = two[k] " " $7; three[k] = three[k] " " $8
        if ($3 == "floor") floor[$1 " " $2 " " $5] = $7
    }
    END {
        for (i = 1; i <= n; i++) {
            k = keys[i]
            split(k, f, " ")
            line = sprintf("%-7s scale %-2s %-14s %-5s ", f[1], f[2], f[3], f[4])
            if (f[4] == "lost") { print line spread(one[k], "%.0f") " ms"; continue }
            line = line spread(one[k], "%.1f") " /s   " spread(two[k], "%.2f") " %"
            if (three[k] ~ /[0-9]/) line = line "   + wineserver " spread(three[k], "%.2f") " %"
            ratios = ""
            m = split(rounds[k], r, " ")
            split(two[k], cpu, " ")
            for (j = 1; j <= m && (f[4] == "play" || f[4] == "key"); j++)
                if (floor[f[1] " " f[2] " " r[j]] > 0) ratios = ratios " " 100 * cpu[j] / floor[f[1] " " f[2] " " r[j]]
            if (ratios != "") line = line sprintf("   %.0f %% of the floor", median(ratios))
            print line
        }
    }' "$results"
}

items=("${!programs[@]}")
asked floor && items+=(floor)
echo "Wake-ups a second of the main thread; CPU % of one core, every thread (bench/measure.sh)"
printf '%-5s %-7s %-5s %-14s %-5s %s\n' round display scale program what figures
for ((round = 1; round <= rounds; round++)); do
    order=()
    for ((i = ${#items[@]} - 1; i >= 0; i--)); do order+=("${items[i]}"); done
    ((round % 2)) && order=("${items[@]}")
    for scale in $scales; do
        for display in $displays; do
            for item in "${order[@]}"; do
                if [ "$item" = floor ] && [ "$display" = wine ]; then
                    session "$round" "$display" "$scale" floor "$wine_floor" floor
                    continue
                elif [ "$item" = floor ]; then
                    session "$round" "$display" "$scale" floor "$floor" floor
                    continue
                fi
                label=${labels[item]} program=${programs[item]}
                [ "$display" = wine ] && program=${exes[item]}
                whats=()
                for what_one in rest play key; do
                    asked "$what_one" && { [ "$what_one" != key ] || [ "$display" = x11 ]; } && whats+=("$what_one")
                done
                [ ${#whats[@]} -gt 0 ] && session "$round" "$display" "$scale" "$label" "$program" "${whats[@]}"
                asked key && [ "$display" != x11 ] && dash "$round" "$display" "$scale" "$label" key "Left held is measured on X11 only"
                asked lost && session "$round" "$display" "$scale" "$label" "$program" lost
            done
        done
    done
done
summary
