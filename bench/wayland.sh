#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game natively on Wayland beside X11, in the same run on the same machine, both measured
# from outside as a player runs them, each in a display of its own (an Xvfb; a headless sway),
# at scale 1 and at scale 2 (on X11 by Qt's scale factor, on Wayland by the output's scale: the
# same window in the same screen pixels):
#   - wake-ups a second of the main thread, idle before a game;
#   - the default first game, from its second 1.5 to 4.5, every frame painted: wake-ups a
#     second and CPU (a share of one core, every thread of the program);
#   - a game with the alien bullets crawling, from its fifth second for ten: the same;
#   - Qt's own floor: a bare window of the same size repainting a small square every frame,
#     paced as the game is (bench/floor.cpp): the same.
# Wake-ups are the main thread's voluntary context switches, as in the benchmark program.
#   bench/wayland.sh [RUNS]     after ./run.sh test; RUNS defaults to 3
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# One measurement in a fresh display: bash wayland.sh WHAT DISPLAY SCALE PROGRAM.
if [ "$#" -eq 4 ]; then
    what=$1 scenario=bench
    export E2E_DISPLAY=$2 E2E_SCALE=$3
    . "$root/tests/e2e/lib.sh"
    . "$root/tests/e2e/scenarios.sh"
    start_display
    start_game "$4"
    cpu_ns() { cat /proc/"$game_pid"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { print n + 0 }'; }
    # Wake-ups a second and CPU % over $1 seconds.
    load() {
        local w0 c0 t0 w1 c1 t1
        w0=$(main_thread_wakes) c0=$(cpu_ns) t0=$(date +%s%N)
        sleep "$1"
        w1=$(main_thread_wakes) c1=$(cpu_ns) t1=$(date +%s%N)
        awk -v w=$((w1 - w0)) -v c=$((c1 - c0)) -v t=$((t1 - t0)) 'BEGIN { printf "%.1f %.2f\n", w * 1e9 / t, 100 * c / t }'
    }
    case "$what" in
        floor)
            sleep 2
            load 5
            ;;
        frames)
            wait_title "Gromzak   Points:  0"
            sleep 2
            idle=$(load 5)
            choose_general 1
            wait_window '^Confirmation$'
            keys_to "$found" Return
            sleep 1.5
            playing=$(load 3)
            window_count_is '^Score$' 0 || fail "the game ended during the measure"
            echo "${idle% *} $playing"
            ;;
        crawl)
            start_playing_safely
            sleep 4 # the formation comes in
            load 10
            window_count_is '^Score$' 0 || fail "the game ended during the measure"
            ;;
    esac
    exit 0
fi

runs=${1:-3}
game=$root/build/gromzaks floor=$root/build/bench/gromzaks_floor
for program in "$game" "$floor"; do
    [ -x "$program" ] || { echo "no $program: ./run.sh test builds it"; exit 1; }
done

# The last line of a measurement, or what went wrong.
measure() {
    local out
    out=$(bash "$0" "$@" 2>&1) && tail -n 1 <<<"$out" || { grep -m 1 -E 'FAIL|SKIP' <<<"$out" >&2; echo "- - - - -"; }
}
echo "Wake-ups a second of the main thread; CPU % of one core. Idle before a game; the default first"
echo "game (every frame painted); a game with the bullets crawling; a bare Qt window, a frame a frame:"
for ((i = 1; i <= runs; i++)); do
    for scale in 1 2; do
        for display in x11 wayland; do
            read -r idle frames_w frames_c <<<"$(measure frames "$display" "$scale" "$game")"
            read -r crawl_w crawl_c <<<"$(measure crawl "$display" "$scale" "$game")"
            read -r floor_w floor_c <<<"$(measure floor "$display" "$scale" "$floor")"
            printf '  run %d  %-7s scale %d  idle %4s/s   game %5s/s %5s %%   crawling %5s/s %5s %%   floor %5s/s %5s %%\n' \
                "$i" "$display" "$scale" "$idle" "$frames_w" "$frames_c" "$crawl_w" "$crawl_c" "$floor_w" "$floor_c"
        done
    done
done
