# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The web display of the scenarios: the page served on 127.0.0.1 and shown by chromium in an
# Xvfb of our own (x11.sh's), keys through xdotool. In the page Qt draws every window into one
# canvas, so the windows are those the page lists (gromzaks.shown), with their places in the
# page; page.py reads it, and the pictures, through chromium's debugging port. A window is
# its id there; the game window's inside is taken from its left to its right edge of the
# playfield, which the page centres below the menu bar. Sourced by lib.sh.
# shellcheck source-path=SCRIPTDIR
. "$(dirname "${BASH_SOURCE[0]}")/x11.sh"

server_pid=
browser_pid=
devtools=
page_py=$(dirname "${BASH_SOURCE[0]}")/page.py
# Debian's own, which starts at once (a python3 earlier in PATH may start slowly).
python=/usr/bin/python3
[ -x "$python" ] || python=python3

eval "$(declare -f stop_display | sed '1s/stop_display/x11_stop_display/')"
stop_display() {
    # chromium writes into its profile until it has gone, and the profile goes with the scratch
    [ -n "$browser_pid" ] && kill "$browser_pid" 2>/dev/null && wait "$browser_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    x11_stop_display
}

page() { "$python" "$page_py" "$devtools" "$1"; }
# The windows of the page's list, as JSON, one a line; and one of them, by id.
windows_shown() { page 'JSON.stringify(gromzaks.shown)' 2>/dev/null | jq -c 'fromjson | .[]' 2>/dev/null; }
shown_window() { windows_shown | jq -c --arg id "$1" 'select(.id == $id)'; }

# The line the page shows in place of the game, if any.
page_says() {
    [ "$(page 'getComputedStyle(message).display == "none" ? "" : message.textContent' | jq -r .)" = "$1" ]
}

describe_display() {
    [ -n "$main_win" ] && picture_of "$main_win" "$1" 2>/dev/null && echo "  game window: $1"
    echo "  windows in the page: $(page 'JSON.stringify(gromzaks.shown)' 2>/dev/null)"
}

# GAME is the page's folder (build-web/), served as a player's browser would be.
can_play() {
    [ -f "$1/gromzaks.wasm" ] || skip "no web page built in $1 (./run.sh web makes it)"
    local tool
    for tool in chromium python3 jq; do
        command -v "$tool" >/dev/null || skip "$tool is missing (apt-get install chromium python3 jq, or ./run.sh web)"
    done
}

start_game() {
    local folder=$1
    "$python" -u -m http.server 0 --bind 127.0.0.1 --directory "$folder" >"$tmp/server.log" 2>&1 &
    server_pid=$!
    wait_until "web server" 5000 grep -q 'port [0-9]' "$tmp/server.log"
    local port
    port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$tmp/server.log" | head -n 1)
    # The window leaves room for the playfield at its own size, not twice it. No host but ours
    # can be reached: the page plays from its folder's files alone.
    chromium --no-sandbox --host-resolver-rules="MAP * ~NOTFOUND, EXCLUDE 127.0.0.1" \
        --user-data-dir="$tmp/chromium" --remote-debugging-port=0 --no-first-run \
        --no-default-browser-check --test-type --lang=fr --window-position=0,0 \
        --ignore-gpu-blocklist --use-gl=angle --use-angle=swiftshader --enable-unsafe-swiftshader \
        --window-size=760,560 --app="http://127.0.0.1:$port/" >"$tmp/game.log" 2>&1 &
    browser_pid=$!
    game_pid=$browser_pid
    wait_until "chromium's debugging port" 20000 test -s "$tmp/chromium/DevToolsActivePort"
    devtools=$(head -n 1 "$tmp/chromium/DevToolsActivePort")
    game_started 30000
}

game_window_shown() {
    main_win=$(windows_shown | jq -r 'select(.title | test("^( Gromzaks|Gromzak)")) | .id' | head -n 1)
    [ -n "$main_win" ]
}

# Sets WIDTH and HEIGHT: a box's or the help window's size, or the game window's inside (see
# page.py).
window_size() {
    local x y
    read -r x y WIDTH HEIGHT < <("$python" "$page_py" "$devtools" --inside "$1") && [ -n "$HEIGHT" ]
}

# The page's caption, without the no-break spaces that keep its spaces in the tab.
title_of() {
    if [ "$1" = "$main_win" ]; then
        page document.title | jq -r . | sed 's/\xc2\xa0/ /g'
    else
        shown_window "$1" | jq -r .title
    fi
}

windows_named() { windows_shown | jq -r --arg re "$1" 'select(.title | test($re)) | .id'; }

# Keys go to chromium, which hands them to the page; Qt gives them to its active window. A
# window not active is clicked, as a player would, in its bottom-left corner, where no other
# window of the game lies.
window_is_active() { [ "$(shown_window "$1" | jq -r .active)" = true ]; }
focus_window() {
    local browser X Y WIDTH HEIGHT w
    browser=$(xdotool search --onlyvisible --pid "$browser_pid" 2>/dev/null | head -n 1)
    xdotool windowfocus --sync "$browser" 2>/dev/null
    window_is_active "$1" && return
    eval "$(xdotool getwindowgeometry --shell "$browser" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    w=$(shown_window "$1")
    xdotool mousemove $((X + $(jq .x <<<"$w") + 2)) \
        $((Y + HEIGHT - $(page innerHeight) + $(jq '.y + .h' <<<"$w") - 3)) click 1
    wait_until "window $1 active" 2000 window_is_active "$1"
}

# Qt places its screen, and so its windows, where the canvas lies in the page.
picture_of() { "$python" "$page_py" "$devtools" --picture "$1" "$2.png" && convert "$2.png" "$2" && rm -f "$2.png"; }
