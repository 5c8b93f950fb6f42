#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the web page costs in chromium, each figure measured in an Xvfb and a chromium of its own
# (the web display of tests/e2e: chromium as a player starts it, here with no GPU and so no
# WebGL), each beside what it compares with, measured in the same run:
#   download   the bytes a first visit fetches (sw.js and every file it keeps for offline play),
#              each file gzipped with gzip -9, summed: what a server that compresses sends;
#              beside it download-raw, the same files as they are;
#   first      milliseconds from the page's navigation to its first frame drawn (the moment
#              the program calls gromzaks.started()), files served from 127.0.0.1 into an
#              empty cache;
#   floor      CPU of chromium, all its processes, a share of one core, for 10 s from 2 s after
#              it shows bench/web-floor.html, served by the same server as the page: a 2D
#              canvas of the field's size repainting one small square a frame;
#   blank      the same once the page has given way to an empty one (about:blank);
#   rest       the same on the game before a game, from 2 s after it shows;
#   play       the same in a game with the alien bullets crawling, from 4 s after "Oui";
#   lost       the default first game left alone: milliseconds from "Oui" to the Score box, seen
#              from outside, on the web and then as lost-x11 the desktop game on X11, the same
#              way; lost-page is the same web game as the page saw it, from its Confirmation
#              box answered to its Score box asked.
# Prints a row a measurement, then for each figure the median and the spread of the rounds,
# beside the median of what it compares with.
#   bench/web.sh [--rounds N] [--what "download first floor blank rest play lost"]
#                [PAGE_FOLDER [PROGRAM]]        (build-web/page/ and build/gromzaks by default)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
# shellcheck source=SCRIPTDIR/measure.sh
. "$here/measure.sh"

# The files of the page that a first visit fetches, relative to its folder: the service
# worker, and every file it keeps (its list, written in by the build).
page_files() {
    { echo sw.js; grep -o '\["[^]]*\]' "$1/sw.js" | head -n 1 | jq -r '.[]'; } | sort -u
}

# One session: web.sh --session DISPLAY GAME WHAT prints "= WHAT FIGURE..." or a FAIL line.
if [ "${1:-}" = --session ]; then
    scenario=bench E2E_DISPLAY=$2
    export E2E_DISPLAY
    # shellcheck source=SCRIPTDIR/../tests/e2e/lib.sh
    . "$root/tests/e2e/lib.sh"
    # shellcheck source=SCRIPTDIR/../tests/e2e/scenarios.sh
    . "$root/tests/e2e/scenarios.sh"
    # CPU time so far of chromium and every process it started, in nanoseconds.
    tree_cpu_ns() {
        local pids=" $browser_pid " pid ppid grew=1 stat
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
    case "$4" in
        first)
            # Recorded by the page itself when the program calls gromzaks.started(): the
            # object is wrapped as soon as page.js sets it, before the program has loaded.
            start_server "$3"
            start_browser about:blank
            ask call Page.enable >/dev/null && ask call Page.addScriptToEvaluateOnNewDocument "$(jq -cn --arg source '
                Object.defineProperty(window, "gromzaks", { configurable: true, set(given) {
                    const started = given.started;
                    given.started = function (...args) {
                        window.firstFrame ??= performance.now();
                        return started.apply(this, args);
                    };
                    Object.defineProperty(window, "gromzaks", { value: given, writable: true, configurable: true, enumerable: true });
                } });' '{source: $source}')" >/dev/null || fail "no script before the page's"
            ask call Page.navigate "{\"url\": \"http://127.0.0.1:$server_port/\"}" >/dev/null || fail "no navigation to the page"
            first_drawn() { [ "$(page 'window.firstFrame !== undefined')" = true ]; }
            wait_until "first frame" 30000 first_drawn
            echo "= first $(page 'Math.round(firstFrame)')"
            ;;
        floor)
            mkdir "$tmp/site"
            ln -s "$(realpath "$3")"/* "$tmp/site/"
            cp "$here/web-floor.html" "$tmp/site/"
            start_server "$tmp/site"
            start_browser "http://127.0.0.1:$server_port/web-floor.html"
            floor_shown() { [ "$(page 'document.title')" = '"Gromzaks floor"' ]; }
            wait_until "floor page" 10000 floor_shown
            sleep 2 && echo "= floor $(cpu_over 10)"
            ;;
        blank)
            start_game "$3"
            page 'location.href = "about:blank"' >/dev/null
            sleep 2 && echo "= blank $(cpu_over 10)"
            ;;
        rest) start_game "$3" && wait_title "Gromzak   Points:  0" && sleep 2 && echo "= rest $(cpu_over 10)" ;;
        play)
            start_game "$3"
            start_playing_safely && sleep 4
            echo "= play $(cpu_over 10)"
            window_count_is '^Score$' 0 || fail "the game ended during the measure"
            ;;
        lost) # as bench/load.sh measures it; on the web also as the page saw it
            start_game "$3"
            [ "$2" = web ] && page '(() => {
                const box = gromzaks.messageBox;
                window.boxesSeen = [];
                gromzaks.messageBox = async (prompt, style, title) => {
                    boxesSeen.push([performance.now(), "asked", title]);
                    const answer = await box.call(gromzaks, prompt, style, title);
                    boxesSeen.push([performance.now(), "answered", title]);
                    return answer;
                };
                return 0;
            })()' >/dev/null
            play_default_game
            inpage=
            [ "$2" = web ] && inpage=$(page '(() => {
                const at = (what, title) => boxesSeen.find(seen => seen[1] === what && seen[2] === title)[0];
                return Math.round(at("asked", "Score") - at("answered", "Confirmation"));
            })()')
            echo "= lost $lost_ms${inpage:+ $inpage}"
            ;;
    esac
    exit 0
fi

rounds=3 whats="download first floor blank rest play lost"
[ "${1:-}" = --rounds ] && rounds=$2 && shift 2
[ "${1:-}" = --what ] && whats=$2 && shift 2
page=$(realpath "${1:-$root/build-web/page}") program=$(realpath "${2:-$root/build/gromzaks}")
[ -f "$page/sw.js" ] || { echo "no web page built in $page (./run.sh web makes it)" >&2; exit 1; }
results=$(mktemp)
for ((round = 1; round <= rounds; round++)); do
    for what in ${whats/lost/lost lost-x11}; do
        case $what in
            download)
                figure=$(cd "$page" && page_files "$page" | while read -r file; do
                    echo "$(gzip -9c "$file" | wc -c) $(stat -c %s "$file")"
                done | awk '{ gz += $1; raw += $2 } END { print gz, raw }')
                ;;
            lost-x11) figure=$(bash "$0" --session x11 "$program" lost 2>/dev/null | sed -n 's/^= [a-z]* //p') ;;
            *) figure=$(bash "$0" --session web "$page" "$what" 2>/dev/null | sed -n 's/^= [a-z]* //p') ;;
        esac
        echo "round $round: $what ${figure:--}"
        [ -n "$figure" ] || continue
        echo "$what ${figure%% *}" >>"$results"
        [ "$what" = download ] && echo "download-raw ${figure#* }" >>"$results"
        [ "$what" = lost ] && [[ "$figure" == *" "* ]] && echo "lost-page ${figure#* }" >>"$results"
    done
done
# Each figure in its unit, and beside it what it compares with.
unit() {
    case $1 in
        download*) echo bytes ;;
        first | lost*) echo ms ;;
        *) echo "% CPU" ;;
    esac
}
beside() {
    case $1 in
        download) echo download-raw ;;
        floor | rest) echo blank ;;
        play) echo floor ;;
        lost | lost-page) echo lost-x11 ;;
    esac
}
figures() { grep "^$1 " "$results" | cut -d' ' -f2 | tr '\n' ' '; }
echo "SUMMARY (median, lowest to highest, over $rounds rounds; beside it, the median of what it compares with)"
for what in ${whats/download/download download-raw}; do
    [ "$what" = lost ] && what="lost lost-page lost-x11"
    for one in $what; do
        awk -v what="$one" -v v="$(figures "$one")" -v ref="$(beside "$one")" -v r="$(figures "$(beside "$one")")" -v unit="$(unit "$one")" "$median_awk"'
            BEGIN { if (v == "") exit
                    printf "%-13s %-34s", what, spread(v, "%s") " " unit
                    if (r != "") printf " beside %s %s", ref, median(r)
                    print "" }'
    done
done
rm -f "$results"
