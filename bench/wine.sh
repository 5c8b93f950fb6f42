#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build under Wine beside the Linux build, in the same run on the same machine, both
# measured from outside as a player runs them (each in its own Xvfb; Wine's under a window
# manager, as on a desktop):
#   - the default first game, left alone: the wall time from "Oui" to the Score box; the game
#     is the same on both, so the same time means that game time keeps up with the wall clock,
#     every 1 ms tick included;
#   - wake-ups a second of the main thread, idle before a game and in a game in progress (the
#     alien bullets crawling, so that it lasts), and the CPU of the game in progress, as a share
#     of one core (under Wine, its server's CPU too).
#   bench/wine.sh [RUNS]     after ./run.sh test and ./run.sh windows; RUNS defaults to 3
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# One measurement of the game $2 in a fresh X server: "lost" prints the milliseconds from "Oui"
# to the Score box; "load" prints "idle wake-ups/s, playing wake-ups/s, CPU %, Wine's server
# CPU %". Wake-ups are the main thread's waits that slept over a millisecond, counted with
# strace: under Wine each call to its server is a context switch of its own (about 900 a
# second in a game), so the kernel's count of switches says little there.
if [ "${1:-}" = lost ] || [ "${1:-}" = load ]; then
    scenario=measure
    . "$root/tests/e2e/lib.sh"
    . "$root/tests/e2e/scenarios.sh"
    start_display
    start_game "$2"
    wait_title "Gromzak   Points:  0"
    if [ "$1" = lost ]; then
        choose_general 1
        wait_window '^Confirmation$'
        focus_window "$found"
        started=$(date +%s%N)
        xdotool key Return
        wait_window '^Score$' 20000
        echo $((($(date +%s%N) - started) / 1000000))
        exit 0
    fi
    sleeps() { # wake-ups a second of the main thread over $1 seconds
        timeout "$1" strace -T -p "$game_pid" -o "$tmp/strace" 2>/dev/null
        grep -o '<[0-9.]*>$' "$tmp/strace" | tr -d '<>' | awk -v s="$1" '$1 > 0.001 { n++ } END { printf "%.1f", n / s }'
    }
    cpu() { [ -n "$1" ] && awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
    sleep 2
    idle=$(sleeps 5)
    start_playing_safely
    sleep 4 # the formation comes in
    server=$(pgrep -n "^wineserver" || true)
    c0=$(cpu "$game_pid") w0=$(cpu "$server") t0=$(date +%s%N)
    sleep 10
    c1=$(cpu "$game_pid") w1=$(cpu "$server") t1=$(date +%s%N)
    playing=$(sleeps 5)
    window_count_is '^Score$' 0 || fail "the game ended during the measure"
    awk -v idle="$idle" -v playing="$playing" -v dc=$((c1 - c0)) -v dw=$((w1 - w0)) -v dt=$((t1 - t0)) \
        -v hz="$(getconf CLK_TCK)" \
        'BEGIN { s = dt / 1e9; printf "%s %s %.2f %.2f\n", idle, playing, 100 * dc / hz / s, 100 * dw / hz / s }'
    exit 0
fi

runs=${1:-3}
linux=$root/build/gromzaks
# The package the tests labelled windows play, as the build names it.
zip=$(sed -n 's/^GROMZAKS_WINDOWS_PACKAGE:FILEPATH=//p' "$root/build/CMakeCache.txt" 2>/dev/null)
[ -x "$linux" ] || { echo "no $linux: ./run.sh test builds it"; exit 1; }
# shellcheck source-path=SCRIPTDIR/../tests/windows
. "$root/tests/windows/wine.sh"
prepare_package "$zip" "$root/build/windows" || exit 1

# The last line of a measurement, or what went wrong.
measure() {
    local out
    out=$(bash "$0" "$@" 2>&1) && tail -n 1 <<<"$out" || { grep -m 1 FAIL <<<"$out" >&2; echo "- - - -"; }
}
command -v strace >/dev/null || { echo "strace is missing (apt-get install strace)"; exit 1; }
echo "The default first game lost after (ms); wake-ups a second of the main thread, idle and in a"
echo "game in progress; CPU % of one core in a game in progress (+ Wine's server):"
for ((i = 1; i <= runs; i++)); do
    l_lost=$(measure lost "$linux") w_lost=$(measure lost "$game_exe")
    read -r l_idle l_wake l_cpu _ <<<"$(measure load "$linux")"
    read -r w_idle w_wake w_cpu w_server <<<"$(measure load "$game_exe")"
    printf '  run %d  Linux: %5s ms  %4s/s %5s/s %5s %%    Wine: %5s ms  %4s/s %5s/s %5s %% (+ %s %%)\n' \
        "$i" "$l_lost" "$l_idle" "$l_wake" "$l_cpu" "$w_lost" "$w_idle" "$w_wake" "$w_cpu" "$w_server"
done
