# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The web display of the scenarios: the page served on 127.0.0.1 and shown by chromium in an
# Xvfb of our own (x11.sh's), chromium started as a player starts it, here with no GPU and so
# no WebGL; keys through xdotool. The windows are the page's own elements: the game, "game"
# (#game: the menu bar over the field, its caption the page's title), and each `.window` over
# it (a box, the help window) by its id. page.py, holding chromium's debugging port for the
# whole test, says what they are, where, which is active, and takes the pictures: the screen's
# pixels within a window's inside. At E2E_SCALE N chromium's screen has N pixels a CSS pixel, as
# a screen of high density has (a phone's 3). Sourced by lib.sh.
# shellcheck source-path=SCRIPTDIR
. "$(dirname "${BASH_SOURCE[0]}")/x11.sh"

server_pid=
server_port=
browser_pid=
browser_win=
page_top=0
agent_pid=
agent_port=
page_py=$(dirname "${BASH_SOURCE[0]}")/page.py
# Debian's own, which starts at once (a python3 earlier in PATH may start slowly).
python=/usr/bin/python3
[ -x "$python" ] || python=python3

# chromium as a player starts it, on a machine without a usable GPU: nothing may bring WebGL
# back in software. As root it needs --no-sandbox, and --test-type keeps the warning bar about
# it off the page. No host but ours can be reached.
browser_flags=(--no-sandbox --test-type --disable-gpu --disable-webgl --disable-software-rasterizer
    --host-resolver-rules="MAP * ~NOTFOUND, EXCLUDE 127.0.0.1" --remote-debugging-port=0
    --no-first-run --no-default-browser-check --lang=fr --window-position=0,0)

eval "$(declare -f stop_display | sed '1s/stop_display/x11_stop_display/')"
stop_display() {
    [ -n "$agent_pid" ] && kill "$agent_pid" 2>/dev/null
    # chromium writes into its profile until it has gone, and the profile goes with the scratch
    [ -n "$browser_pid" ] && kill "$browser_pid" 2>/dev/null && wait "$browser_pid" 2>/dev/null
    stop_server
    x11_stop_display
}
stop_server() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    server_pid=
}

# ask VERB WORD...: page.py's answer, as JSON (see page.py); fails with its words on stderr.
ask() {
    local request reply fd
    request=$(jq -cn '$ARGS.positional' --args "$@") || return 1
    exec {fd}<>"/dev/tcp/127.0.0.1/$agent_port" || return 1
    printf '%s\n' "$request" >&"$fd"
    IFS= read -r -t 40 reply <&"$fd"
    exec {fd}>&-
    case $reply in
        =*) printf '%s\n' "${reply#=}" ;;
        *) echo "page.py: ${reply#!}" >&2 && return 1 ;;
    esac
}
# The value of a JavaScript expression in the page, as JSON; page.py's `lib` is in reach.
page() { ask eval "$1"; }
# The same as a plain text: a string without its quotes, anything else as JSON.
page_text() { page "$1" | jq -r .; }

# What the page shows in place of the game, as a player reads it, is TEXT.
page_says() { [ "$(page_text 'lib.says()')" = "$1" ]; }

describe_display() {
    [ -n "$agent_port" ] || return
    ask shot "$1" "" >/dev/null && echo "  page: $1"
    echo "  windows: $(page 'lib.windows()' 2>&1)"
    echo "  message: $(page 'lib.says()' 2>&1)"
    echo "  focus: $(page 'document.activeElement?.outerHTML.slice(0, 120) ?? null' 2>&1)"
}

# GAME is the page's folder (build-web/page/), served as a player's browser would be.
can_play() {
    [ -f "$1/gromzaks.wasm" ] || skip "no web page built in $1 (./run.sh web makes it)"
    [ -f "$1/page.js" ] || skip "the page in $1 is of an older build, without page.js (./run.sh web makes it anew)"
    local tool
    for tool in chromium python3 jq; do
        command -v "$tool" >/dev/null || skip "$tool is missing (apt-get install chromium python3 jq, or ./run.sh web)"
    done
}

# Serves FOLDER on 127.0.0.1 at a free port ($server_port), each request in $tmp/server.log.
start_server() {
    "$python" -u -m http.server 0 --bind 127.0.0.1 --directory "$1" >"$tmp/server.log" 2>&1 &
    server_pid=$!
    wait_until "web server" 5000 grep -q 'port [0-9]' "$tmp/server.log"
    server_port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$tmp/server.log" | head -n 1)
}

# Opens URL in chromium as an app window (no tab strip; the X window's name is the page's
# title), and page.py on its debugging port. The window leaves room for the field at its own
# size, not twice it.
start_browser() {
    local scaled=()
    [ "$scale" -eq 1 ] || scaled=(--force-device-scale-factor="$scale")
    chromium "${browser_flags[@]}" "${scaled[@]}" --user-data-dir="$tmp/chromium" \
        --window-size=760,560 --app="$1" --enable-logging=stderr > >(grep --line-buffered -v -e dbus -e '^$' >"$tmp/game.log") 2>&1 &
    browser_pid=$!
    game_pid=$browser_pid
    wait_until "chromium's debugging port" 20000 test -s "$tmp/chromium/DevToolsActivePort"
    "$python" "$page_py" "$(head -n 1 "$tmp/chromium/DevToolsActivePort")" "$tmp/agent.port" 2>"$tmp/agent.log" &
    agent_pid=$!
    wait_until "page.py on chromium's debugging port" 20000 test -s "$tmp/agent.port"
    agent_port=$(cat "$tmp/agent.port")
    wait_until "chromium's window" 10000 browser_window
    # Where the page lies in the window: at its bottom, under whatever chromium draws above.
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$browser_win" | grep -E '^(WIDTH|HEIGHT)=')"
    page_top=$((HEIGHT - $(page innerHeight) * scale))
}
browser_window() { browser_win=$(xdotool search --onlyvisible --pid "$browser_pid" 2>/dev/null | head -n 1) && [ -n "$browser_win" ]; }

start_game() {
    start_server "$1"
    start_browser "http://127.0.0.1:$server_port/"
    game_started 30000
}

# Reloads the page, and waits for the new one to answer.
reload_page() {
    local before
    before=$(page performance.timeOrigin)
    ask call Page.reload >/dev/null || fail "the page cannot be reloaded"
    wait_until "new page after the reload" 10000 page_is_newer_than "$before"
}
page_is_newer_than() { [ "$(page "performance.timeOrigin > $1")" = true ]; }

# Shown: the program's first frame drawn, the loading text gone.
game_window_shown() {
    [ "$(page "lib.shown(document.getElementById('game')) && document.getElementById('field').width > 0 && !lib.says()" 2>/dev/null)" = true ] &&
        main_win=game
}

# Sets WIDTH and HEIGHT to the size of the window's inside, in the game's pixels (CSS pixels).
window_size() {
    read -r WIDTH HEIGHT < <(page "lib.inside('$1')" 2>/dev/null | jq -r '"\(.[2]) \(.[3])"') && [ -n "${HEIGHT:-}" ]
}

title_of() { page_text "lib.windows().find(w => w.id === '$1')?.title ?? ''"; }

# The shown windows whose title matches the regular expression, one a line; the game's title
# is its caption, with its spaces.
windows_named() { page 'lib.windows()' 2>/dev/null | jq -r --arg re "$1" '.[] | select(.title | test($re)) | .id'; }
windows_anywhere_named() { windows_named "$1"; }

window_is_active() { [ "$(page "lib.active('$1')")" = true ]; }

# Keys go to chromium, which hands them to the page, and the page to its active window. A
# window that is not active is clicked, as a player would, where it is not covered: the game on
# a corner of its field, any other on its title bar.
focus_window() {
    xdotool windowfocus --sync "$browser_win" 2>/dev/null || fail "cannot focus chromium's window"
    window_is_active "$1" && return
    local spot
    spot=$(page "lib.point('$1')" | jq -r 'select(.) | "\(.[0]) \(.[1])"')
    [ -n "$spot" ] || fail "window $1 shows nowhere to click on"
    local x y
    read -r x y <<<"$spot"
    xdotool mousemove --window "$browser_win" $((x * scale)) $((page_top + y * scale)) click 1
    wait_until "window $1 active" 2000 window_is_active "$1"
}

# The screen's pixels within the window's inside, in the format the file's name says (.ppm,
# .png); the game's field alone once place_field has found it on the screen.
picture_of() {
    local clip crop=()
    if [ "$1" = "$main_win" ] && [ -n "$field_only" ]; then
        clip=$(page "$field_clip")
        [ -z "$field_nudge" ] || crop=(-crop "$(page_text "(c => c.width + 'x' + c.height)(document.getElementById('field'))")$field_nudge" +repage)
    else
        clip=$(page "lib.inside('$1')")
    fi
    clip=$(jq -c '{x: .[0], y: .[1], width: .[2], height: .[3]}' <<<"$clip") || return 1
    ask shot "$2.png" "$clip" >/dev/null && convert "$2.png" "${crop[@]}" -depth 8 -strip "$2" && rm -f "$2.png"
}

# The canvas's own pixels, whatever lies over it in the page, into FILE.
canvas_pixels() {
    page_text "document.getElementById('field').toDataURL()" | sed 's/^[^,]*,//' | base64 -d >"$tmp/canvas.png" &&
        convert "$tmp/canvas.png" -alpha off "$1"
}

# Hidden behind a new tab of the browser's, and shown again when it closes.
hidden_tab=
hide_game() { hidden_tab=$(ask call Target.createTarget '{"url": "about:blank"}' | jq -r .targetId); }
show_game() {
    ask call Target.closeTarget "{\"targetId\": \"$hidden_tab\"}" >/dev/null
    ask call Page.bringToFront >/dev/null # older chromiums may leave the page hidden otherwise
    wait_until "the page seen again" 3000 page_seen
}
page_seen() { [ "$(page document.hidden)" = false ]; }

# From here on a picture of the game is its field alone, at SCALE screen pixels a pixel of the
# game, where chromium draws it: the place its layout gives, in fractions of a CSS pixel, may
# be a screen pixel off. The clip reaches a whole CSS pixel beyond the field each way (older
# chromiums cut a clip that ends at a fraction of a pixel short); in it, within a screen pixel
# of where its place says, the field lies where the screen shows the canvas's own pixels, one
# for one, if it shows them unblurred at all. Before a game, when nothing moves on the field.
field_only=
field_nudge=
field_clip='(([x, y, w, h]) => [Math.floor(x) - 1, Math.floor(y) - 1,
    Math.ceil(x + w) - Math.floor(x) + 2, Math.ceil(y + h) - Math.floor(y) + 2])(lib.box("#field"))'
place_field() {
    field_only=1 field_nudge= scale=$1 field_x=0 field_y=0
    picture_of "$main_win" "$tmp/around.ppm" || fail "no screenshot of the field"
    canvas_pixels "$tmp/canvas.ppm" || fail "no pixels read from the canvas"
    local size dx dy x y
    size=$(identify -format '%wx%h' "$tmp/canvas.ppm")
    read -r x y < <(page '(([x, y]) => [x, y].map(v => Math.round((v - Math.floor(v) + 1) * devicePixelRatio)))(lib.box("#field"))' | jq -r 'join(" ")')
    for dy in $y $((y - 1)) $((y + 1)); do
        for dx in $x $((x - 1)) $((x + 1)); do
            convert "$tmp/around.ppm" -crop "$size+$dx+$dy" +repage "$tmp/field.ppm"
            [ "$(compare -metric AE "$tmp/field.ppm" "$tmp/canvas.ppm" null: 2>&1)" = 0 ] && field_nudge=+$dx+$dy && return
        done
    done
    fail "the screen does not show the canvas's pixels as they are, within a screen pixel of the field's place"
}
