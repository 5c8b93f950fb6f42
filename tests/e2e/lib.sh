# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Helpers for the scenarios: a display of our own, the game in it, keys, windows, pixels.
# Sourced by run_scenario.sh; expects $scenario. The display is an X server (x11.sh), or with
# E2E_DISPLAY=wayland a Wayland compositor (wayland.sh), or with E2E_DISPLAY=web the web page
# in chromium (web.sh): each gives the same few verbs. With E2E_SCALE=2 the game is shown at
# twice its size; places stay in the game's own pixels. A failure leaves a picture of the
# screen at $E2E_FAILURE_PICTURE (the test's, in the build, under CTest), else in $TMPDIR or /tmp.

field_w=567
field_h=409
poll_s=0.03
scale=${E2E_SCALE:-1}

tmp=
display_pid=
game_pid=
main_win=
field_x=0
field_y=0
shot=
t0=$(date +%s%N)

elapsed_ms() { echo $((($(date +%s%N) - t0) / 1000000)); }

cleanup() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null
        wait "$game_pid" 2>/dev/null
    fi
    stop_display
    [ -n "$tmp" ] && rm -rf "$tmp"
}

skip() {
    echo "SKIP [$scenario]: $*"
    exit 77
}

# Keeps a picture of the whole screen outside the scratch folder, to see what went wrong.
fail() {
    echo "FAIL [$scenario] after $(elapsed_ms) ms: $*"
    [ -n "$display_pid" ] && describe_display "${E2E_FAILURE_PICTURE:-${TMPDIR:-/tmp}/e2e_${scenario}_failure.png}"
    if [ -n "$tmp" ] && [ -s "$tmp/game.log" ]; then
        echo "  game output:"
        sed 's/^/    /' "$tmp/game.log" | tail -20
    fi
    exit 1
}

# A game or display gone in the middle of a scenario says so, rather than a timeout later.
game_alive() {
    kill -0 "$display_pid" 2>/dev/null || fail "the display server has gone"
    [ -z "$game_pid" ] || kill -0 "$game_pid" 2>/dev/null || {
        wait "$game_pid"
        local status=$?
        game_pid=
        fail "the game has gone (exit status $status)"
    }
}

# A scratch folder that goes with the scenario, and the traps that clean up after it.
make_scratch() {
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/gromzaks-e2e.XXXXXX")
    trap cleanup EXIT
    trap 'echo "FAIL [$scenario] after $(elapsed_ms) ms: stopped by SIGINT"; exit 1' INT
    trap 'echo "FAIL [$scenario] after $(elapsed_ms) ms: stopped by SIGTERM from outside"; exit 1' TERM
}

# Polls COMMAND every few tens of milliseconds until it succeeds, for at most BOUND_MS; says
# only whether it did.
wait_quietly() {
    local bound_ms=$1
    shift
    local deadline=$(($(date +%s%N) + bound_ms * 1000000))
    until "$@"; do
        game_alive
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep "$poll_s"
    done
}

# The same, failing the scenario when COMMAND never succeeds.
wait_until() {
    local what=$1 bound_ms=$2
    shift 2
    wait_quietly "$bound_ms" "$@" || fail "no $what within $bound_ms ms"
}

# Holds for DURATION_MS that COMMAND keeps succeeding.
keeps_true() {
    local what=$1 duration_ms=$2
    shift 2
    local deadline=$(($(date +%s%N) + duration_ms * 1000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        game_alive
        "$@" || fail "$what did not hold for $duration_ms ms"
        sleep "$poll_s"
    done
}

# The game window is up with its playfield at its natural size below the menu bar.
game_started() {
    wait_until "game window" "$1" game_window_shown
    wait_until "playfield of ${field_w}x$field_h below the menu bar" 3000 field_is_placed
}

field_is_placed() {
    local WIDTH HEIGHT
    window_size "$main_win" || return 1
    [ "${WIDTH:-0}" -eq "$field_w" ] && [ "${HEIGHT:-0}" -gt "$field_h" ] || return 1
    # The playfield is the bottom of the window, below the menu bar.
    field_x=0
    field_y=$((HEIGHT - field_h))
}

# --- windows and titles ---

title_of_game() { title_of "$main_win"; }
title_is() { [ "$(title_of_game)" = "$1" ]; }

wait_title() {
    wait_until "title '$1' (last: '$(title_of_game)')" "${2:-3000}" title_is "$1"
}

window_count_is() { [ "$(windows_named "$1" | wc -l)" -eq "$2" ]; }

# Sets $found to the window once it is there.
found=
wait_window() {
    wait_until "window '$1'" "${2:-3000}" window_count_is "$1" 1
    found=$(windows_named "$1")
}
wait_window_gone() { wait_until "closing of window '$1'" "${2:-3000}" window_count_is "$1" 0; }

# --- keys ---

# The menus through the keyboard: Alt, Down opens "Général" on its first enabled item, Right
# moves to the next menu. N counts enabled items only, as Qt skips the disabled ones.
downs() {
    local i
    for ((i = 1; i < $1; i++)); do echo Down; done
}
# shellcheck disable=SC2046 # one word a Down
choose_general() { keys_to "$main_win" alt Down $(downs "$1") Return; }
# shellcheck disable=SC2046
choose_option() { keys_to "$main_win" alt Down Right $(downs "$1") Return; }
choose_aide() { keys_to "$main_win" alt Right Right Return; }

# Answers a Yes/No box with Return (Oui) or Escape (Non).
answer_confirmation() {
    wait_window '^Confirmation$'
    keys_to "$found" "$1"
    wait_window_gone '^Confirmation$'
}

# Replaces the proposed text of an input box titled TITLE and accepts it.
answer_input() {
    local title=$1 text=$2
    wait_window "$title"
    local box=$found
    keys_to "$box" ctrl+a
    type_to "$box" "$text"
    keys_to "$box" Return
    wait_window_gone "$title"
}

# --- pixels ---

shoot() {
    shot="$tmp/shot.ppm"
    if [ "$scale" -eq 1 ]; then
        picture_of "$main_win" "$shot" || fail "no screenshot of the game window"
        return
    fi
    # Drawn crisp, each of the game's pixels is a block of the screen's: one of each block.
    picture_of "$main_win" "$tmp/screen.ppm" || fail "no screenshot of the game window"
    convert "$tmp/screen.ppm" -sample "$((100 / scale))%" "$shot"
}

# Looks for one exact colour (RRGGBB) in a rectangle of the playfield of the last screenshot
# and prints "COUNT X0 Y0 X1 Y1": how many pixels and their bounding box (inclusive) in
# playfield pixels, or "0" when there are none.
pixels() {
    local colour=$1 x=$2 y=$3 w=$4 h=$5
    local x0=$((x < 0 ? 0 : x)) y0=$((y < 0 ? 0 : y))
    local x1=$((x + w > field_w ? field_w : x + w)) y1=$((y + h > field_h ? field_h : y + h))
    local n box
    # Every pixel of the colour turns white and the rest black; a black frame keeps the corner
    # from being taken for the background when the bounding box is computed.
    read -r n box < <(convert "$shot" -crop "$((x1 - x0))x$((y1 - y0))+$((field_x + x0))+$((field_y + y0))" +repage \
        -fill black +opaque "#$colour" -fill white -opaque "#$colour" -bordercolor black -border 1 \
        -format '%[fx:round(mean*w*h)] %@\n' info: 2>/dev/null)
    if [ "${n:-0}" -eq 0 ]; then
        echo 0
        return
    fi
    local bw bh bx by
    IFS='x+' read -r bw bh bx by <<<"$box"
    echo "$n" $((x0 + bx - 1)) $((y0 + by - 1)) $((x0 + bx - 1 + bw - 1)) $((y0 + by - 1 + bh - 1))
}

pixel_count() { pixels "$@" | cut -d' ' -f1; }

# Fails unless the colour is in the rectangle, at least MIN pixels, and nowhere outside the
# box it was asked about within the wider area AROUND (x y w h), when given.
expect_in_box() {
    local what=$1 colour=$2 x=$3 y=$4 w=$5 h=$6 min=$7
    local n bx0 by0 bx1 by1
    read -r n bx0 by0 bx1 by1 <<<"$(pixels "$colour" "$x" "$y" "$w" "$h")"
    [ "$n" -ge "$min" ] || fail "$what: $n pixels of #$colour in ${w}x$h at ($x,$y), expected $min or more"
    if [ $# -gt 7 ]; then
        read -r n bx0 by0 bx1 by1 <<<"$(pixels "$colour" "$8" "$9" "${10}" "${11}")"
        [ "$bx0" -ge "$x" ] && [ "$by0" -ge "$y" ] && [ "$bx1" -lt $((x + w)) ] && [ "$by1" -lt $((y + h)) ] ||
            fail "$what: #$colour spreads to ($bx0,$by0)-($bx1,$by1), outside ${w}x$h at ($x,$y)"
    fi
}

# shellcheck source-path=SCRIPTDIR
case "${E2E_DISPLAY:-x11}" in
    x11) . "$(dirname "${BASH_SOURCE[0]}")/x11.sh" ;;
    wayland) . "$(dirname "${BASH_SOURCE[0]}")/wayland.sh" ;;
    web) . "$(dirname "${BASH_SOURCE[0]}")/web.sh" ;;
    *) echo "unknown E2E_DISPLAY: $E2E_DISPLAY (x11, wayland or web)" >&2; exit 2 ;;
esac
