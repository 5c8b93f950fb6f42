#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the web page costs in chromium, each time in an Xvfb and a browser of its own (the web
# display of tests/e2e), beside the desktop game on X11 where a figure compares the two:
#   first   milliseconds from the page's navigation to the game window shown, files served from
#           127.0.0.1 into an empty cache;
#   blank   CPU of chromium (all its processes) once the page has given way to an empty one
#           (about:blank), from 2 s after, for 10 s;
#   rest    the same showing the game before a game, from 2 s after it shows, for 10 s;
#   play    the same in a game with the alien bullets crawling, from 4 s after "Oui", for 10 s;
#   lost    the default first game left alone: milliseconds from "Oui" to the Score box, on
#           the web and on X11 one after the other; on the web also as the page saw it, from
#           the Confirmation box gone to the Score box shown (lost-page), without the time the
#           key takes to reach the page and the page's windows take to be looked at.
# Prints a row a measurement, then the median and the spread of the rounds.
#   bench/web.sh [--rounds N] [--what "first blank rest play lost"] [PAGE_FOLDER [PROGRAM]]
#                (build-web/ and build/gromzaks by default)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
# shellcheck source=SCRIPTDIR/measure.sh
. "$here/measure.sh"

# One session: web.sh --session DISPLAY GAME WHAT prints "= WHAT FIGURE".
if [ "${1:-}" = --session ]; then
    scenario=bench E2E_DISPLAY=$2
    export E2E_DISPLAY
    # shellcheck source=SCRIPTDIR/../tests/e2e/lib.sh
    . "$root/tests/e2e/lib.sh"
    # shellcheck source=SCRIPTDIR/../tests/e2e/scenarios.sh
    . "$root/tests/e2e/scenarios.sh"
    # CPU time so far of chromium and every process it started, in nanoseconds.
    tree_cpu_ns() {
        local pids=" $browser_pid " pid ppid grew=1
        while [ "$grew" = 1 ]; do
            grew=0
            for stat in /proc/[0-9]*/stat; do
                read -r pid _ _ ppid _ <"$stat" 2>/dev/null || continue
                [[ "$pids" == *" $ppid "* && "$pids" != *" $pid "* ]] && pids+="$pid " grew=1
            done
        done
        for pid in $pids; do cpu_ns "$pid"; done | awk '{ n += $1 } END { printf "%.0f\n", n }'
    }
    cpu_over() { # SECONDS: CPU % of chromium's processes
        local c0 t0 c1 t1
        c0=$(tree_cpu_ns) t0=$(date +%s%N)
        sleep "$1"
        c1=$(tree_cpu_ns) t1=$(date +%s%N)
        awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) 'BEGIN { printf "%.2f\n", 100 * c / t }'
    }
    start_display
    start_game "$3"
    case "$4" in
        first) echo "= first $(page 'Math.round(gromzaks.firstShown)' | jq -r .)" ;;
        rest) sleep 2 && echo "= rest $(cpu_over 10)" ;;
        blank) page 'location.href = "about:blank"' >/dev/null && sleep 2 && echo "= blank $(cpu_over 10)" ;;
        play)
            wait_title "Gromzak   Points:  0" && crawling_bullets && start_playing 55 && sleep 4
            echo "= play $(cpu_over 10)"
            window_count_is '^Score$' 0 || fail "the game ended during the measure"
            ;;
        lost) # as bench/load.sh measures it; on the web also as the page saw it
            wait_title "Gromzak   Points:  0"
            [ "$2" = web ] && page 'const list = gromzaks.windows.bind(gromzaks); gromzaks.seen = [];
                gromzaks.windows = text => { list(text); gromzaks.seen.push([performance.now(), text]); }; 0' >/dev/null
            play_default_game
            inpage=
            [ "$2" = web ] && inpage=$(page 'const seen = gromzaks.seen, box = /"Confirmation"/;
                const gone = seen.find(([, text], i) => i > 0 && box.test(seen[i - 1][1]) && !box.test(text));
                Math.round(seen.find(([, text]) => /"Score"/.test(text))[0] - gone[0])')
            echo "= lost $lost_ms $inpage"
            ;;
    esac
    exit 0
fi

rounds=3 whats="first blank rest play lost"
[ "${1:-}" = --rounds ] && rounds=$2 && shift 2
[ "${1:-}" = --what ] && whats=$2 && shift 2
whats=${whats/lost/lost lost-page lost-x11}
page=$(realpath "${1:-$root/build-web}") program=$(realpath "${2:-$root/build/gromzaks}")
results=$(mktemp)
for ((round = 1; round <= rounds; round++)); do
    for what in ${whats/lost-page /}; do
        display=web game=$page
        [ "$what" = lost-x11 ] && display=x11 game=$program
        figure=$(bash "$0" --session "$display" "$game" "${what%-x11}" 2>/dev/null | sed -n 's/^= [a-z]* //p')
        echo "round $round: $what ${figure:--}"
        [ -n "$figure" ] && echo "$what ${figure%% *}" >>"$results"
        [[ "$figure" == *" "* ]] && echo "$what-page ${figure#* }" >>"$results"
    done
done
echo "SUMMARY (median, lowest to highest, over $rounds rounds)"
for what in $whats; do
    grep "^$what " "$results" | cut -d' ' -f2 |
        awk -v what="$what" "$median_awk"'{ v = v " " $1 } END { if (v != "") printf "%-9s %s\n", what, spread(v, "%s") }'
done
rm -f "$results"
