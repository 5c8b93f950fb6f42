# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The Wayland display of the scenarios: a headless sway of our own (no screen, no GPU), keys
# through wtype's virtual keyboard, windows and titles from sway's tree, pictures through grim.
# Windows are sway's container ids, places and sizes in logical pixels. Sourced by lib.sh.

keyboard_pid=
held_pid=

start_display() {
    command -v sway >/dev/null || skip "no Wayland compositor can be started: sway is not installed (apt-get install sway)"
    local tool
    for tool in swaymsg wtype grim jq convert; do
        command -v "$tool" >/dev/null || fail "$tool is missing (apt-get install sway wtype grim jq imagemagick)"
    done
    make_scratch

    # sway refuses to run as root: as root, it runs as nobody in a runtime folder of its own,
    # which the game and the tools, as root, share.
    local runtime=$tmp/runtime as=()
    mkdir -m 700 "$runtime"
    if [ "$(id -u)" -eq 0 ]; then
        chmod 755 "$tmp"
        chown nobody:nogroup "$runtime"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
        # Where nobody may not write the shared memory folder (a bare chroot, say), sway gets
        # one of its own, in a mount namespace of its own.
        if ! "${as[@]}" test -w /dev/shm; then
            as=(unshare --mount --propagation unchanged sh -c 'mount --make-rprivate /dev &&
                mount -t tmpfs -o mode=1777 gromzaks-shm /dev/shm && exec "$@"' sh "${as[@]}")
        fi
    fi
    # Windows float at their own size, as on a desktop that does not tile.
    cat >"$tmp/sway.config" <<CONFIG
output HEADLESS-1 resolution $((1280 * scale))x$((1024 * scale)) scale $scale
xwayland disable
default_border none
default_floating_border none
for_window [title=".*"] floating enable
CONFIG
    env -u WAYLAND_DISPLAY -u DISPLAY XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman "${as[@]}" sway -c "$tmp/sway.config" >"$tmp/sway.log" 2>&1 &
    display_pid=$!
    local deadline=$(($(date +%s%N) + 10000000000)) socket= ipc=
    until [ -n "$socket" ] && [ -n "$ipc" ]; do
        if ! kill -0 "$display_pid" 2>/dev/null; then
            display_pid=
            skip "no Wayland compositor can be started: sway exited ($(tail -n 3 "$tmp/sway.log" | tr '\n' ' '))"
        fi
        [ "$(date +%s%N)" -lt "$deadline" ] || skip "no Wayland compositor can be started: sway gave no socket within 10 s"
        sleep "$poll_s"
        socket=$(find "$runtime" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' | head -n 1)
        ipc=$(find "$runtime" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n 1)
    done
    export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket SWAYSOCK=$ipc
    unset DISPLAY
    swaymsg -t get_version >/dev/null 2>&1 || skip "no Wayland compositor can be started: sway does not answer"
    # A keyboard that lasts: without it the seat has none between two short wtype calls, and
    # the keys of the next one are lost before the window has taken the new keyboard.
    wtype -s 600000 &
    keyboard_pid=$!
}

stop_display() {
    [ -n "$held_pid" ] && kill "$held_pid" 2>/dev/null
    [ -n "$keyboard_pid" ] && kill "$keyboard_pid" 2>/dev/null
    if [ -n "$display_pid" ]; then
        kill "$display_pid" 2>/dev/null
        wait "$display_pid" 2>/dev/null
    fi
}

# The windows of sway's tree as JSON objects, one a line: id, title, whether shown and
# focused, and the inside's place on the screen in logical pixels.
views() {
    swaymsg -t get_tree 2>/dev/null | jq -c '.. | objects | select(has("app_id")) |
        {id, name: (.name // ""), app_id, visible, focused,
         x: (.rect.x + .window_rect.x), y: (.rect.y + .window_rect.y),
         w: .window_rect.width, h: .window_rect.height}'
}
view() { views | jq -c --argjson id "$1" 'select(.id == $id)'; }

describe_display() {
    grim "$1" 2>/dev/null && echo "  screen: $1"
    echo "  windows:"
    views | sed 's/^/    /'
}

game_window_shown() {
    local id
    id=$(views | jq -r 'select(.visible and (.name | test("^(Gromzak| Gromzaks)"))) | .id' | head -n 1)
    [ -n "$id" ] || return 1
    main_win=$id
}

# Shown, or skipped where the game could not start for want of Qt's Wayland plugin.
game_shown_unless_no_plugin() {
    if ! kill -0 "$game_pid" 2>/dev/null && grep -q 'platform plugin "wayland"' "$tmp/game.log"; then
        game_pid=
        skip "Qt's Wayland plugin is not installed (apt-get install qt6-wayland)"
    fi
    game_window_shown
}

start_game() {
    mkdir -p "$tmp/config"
    env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS QT_QPA_PLATFORM=wayland XDG_CONFIG_HOME="$tmp/config" \
        "$1" >"$tmp/game.log" 2>&1 &
    game_pid=$!
    wait_until "game window" 10000 game_shown_unless_no_plugin
    game_started 1000
}

window_size() {
    local size
    size=$(view "$1" | jq -r '"\(.w) \(.h)"')
    read -r WIDTH HEIGHT <<<"$size"
    [ -n "${WIDTH:-}" ]
}

title_of() { view "$1" | jq -r .name; }
app_id_of() { view "$1" | jq -r .app_id; }

# The shown windows whose title matches the regular expression, one a line.
windows_named() { views | jq -r --arg re "$1" 'select(.visible and (.name | test($re))) | .id'; }

# The same, shown or not (on a workspace switched away, say).
windows_anywhere_named() { views | jq -r --arg re "$1" 'select(.name | test($re)) | .id'; }

is_focused() { [ "$(view "$1" | jq -r .focused)" = true ]; }

focus_window() {
    swaymsg "[con_id=$1] focus" >/dev/null 2>&1 || fail "cannot focus window $1"
    wait_until "focus on window $1" 1000 is_focused "$1"
}

# wtype's words for the keys the scenarios name as X does (Return, space, alt, ctrl+a).
wtype_keys() {
    local key
    for key; do
        case "$key" in
            alt) printf '%s\n' -P Alt_L -p Alt_L ;;
            ctrl+*) printf '%s\n' -M ctrl -k "${key#ctrl+}" -m ctrl ;;
            *) printf '%s\n' -k "$key" ;;
        esac
        printf '%s\n' -s 80
    done
}

keys_to() {
    local w=$1
    shift
    focus_window "$w"
    local words
    mapfile -t words < <(wtype_keys "$@")
    wtype "${words[@]}"
}

type_to() {
    focus_window "$1"
    wtype -d 40 -- "$2"
}

press() { wtype -k "$1"; }

# Held by a keyboard of its own, repeated by the game's toolkit as the compositor asks, and
# released when that keyboard goes.
key_down() {
    wtype -P "$1" -s 60000 -p "$1" &
    held_pid=$!
}
key_up() {
    kill "$held_pid" 2>/dev/null
    wait "$held_pid" 2>/dev/null
    held_pid=
}

# In the screen's own pixels: at scale 2, twice the window's size.
picture_of() {
    local place type=png
    place=$(view "$1" | jq -r '"\(.x),\(.y) \(.w)x\(.h)"')
    [[ "$2" == *.ppm ]] && type=ppm
    grim -t "$type" -g "$place" "$2" 2>/dev/null
}

# Where window $1 lies over the game window: "X0,Y0 X1,Y1" in the game window's pixels.
box_over_game() {
    jq -rs --argjson box "$1" --argjson game "$main_win" '(map(select(.id == $game))[0]) as $g |
        map(select(.id == $box))[0] | "\(.x - $g.x),\(.y - $g.y) \(.x - $g.x + .w - 1),\(.y - $g.y + .h - 1)"' < <(views)
}

# Switches the game's workspace away, and back.
hide_game() { swaymsg workspace 2 >/dev/null; }
show_game() { swaymsg workspace 1 >/dev/null; }
