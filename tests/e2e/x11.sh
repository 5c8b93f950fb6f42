# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The X11 display of the scenarios: an Xvfb of our own, keys through xdotool, pictures through
# ImageMagick's import. Windows are X window ids. Sourced by lib.sh. At E2E_SCALE 2 the game is
# drawn twice as large by Qt's own scale factor.

wm_pid=

start_display() {
    command -v Xvfb >/dev/null || skip "no X server can be started: Xvfb is not installed (apt-get install xvfb)"
    local tool
    for tool in xdotool xdpyinfo import convert; do
        command -v "$tool" >/dev/null || fail "$tool is missing (apt-get install xdotool x11-utils imagemagick)"
    done
    make_scratch

    # The server picks a free display and writes its number once it accepts clients. Without
    # -noreset it resets when our check disconnects, and refuses the game meanwhile.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
    display_pid=$!
    local deadline=$(($(date +%s%N) + 10000000000))
    until grep -qx '[0-9]\+' "$tmp/display"; do
        if ! kill -0 "$display_pid" 2>/dev/null; then
            display_pid=
            skip "no X server can be started: Xvfb exited ($(tail -3 "$tmp/xvfb.log" | tr '\n' ' '))"
        fi
        [ "$(date +%s%N)" -lt "$deadline" ] || skip "no X server can be started: Xvfb gave no display within 10 s"
        sleep "$poll_s"
    done
    DISPLAY=":$(tr -d '\n' <"$tmp/display")"
    export DISPLAY
    xdpyinfo >/dev/null 2>&1 || skip "no X server can be started: display $DISPLAY does not answer"
}

stop_display() {
    # Wine's own processes (its server, its desktop) belong to this X server too.
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    if [ -n "$display_pid" ]; then
        kill "$display_pid" 2>/dev/null
        wait "$display_pid" 2>/dev/null
    fi
}

describe_display() {
    import -silent -window root "$1" 2>/dev/null && echo "  screen: $1"
    echo "  visible windows:"
    local w
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        echo "    $w '$(xdotool getwindowname "$w" 2>/dev/null)'"
    done
}

game_window_shown() {
    local w
    for w in $(xdotool search --onlyvisible --name 'Gromzak' 2>/dev/null); do
        case "$(xdotool getwindowname "$w")" in
            Gromzak* | " Gromzaks"*)
                main_win=$w
                return 0
                ;;
        esac
    done
    return 1
}

# A Windows build (.exe) runs under Wine, in the prefix the caller gives (tests/windows/), with
# Qt's own platform plugin for Windows, and it starts more slowly. Wine expects a window
# manager, as on any desktop: without one it waits two seconds for each window it hides (a box
# answered, say), and leaves no window active after the help window closes.
start_game() {
    mkdir -p "$tmp/config"
    local launch=(env QT_QPA_PLATFORM=xcb "$1") bound_ms=10000
    if [[ "$1" == *.exe ]]; then
        command -v openbox >/dev/null || skip "Wine needs a window manager: openbox is not installed (apt-get install openbox)"
        openbox --sm-disable >"$tmp/wm.log" 2>&1 &
        wm_pid=$!
        launch=(env -u QT_QPA_PLATFORM wine "$1")
        bound_ms=30000
    fi
    local scaled=(-u QT_SCALE_FACTOR)
    [ "$scale" -eq 1 ] || scaled=(QT_SCALE_FACTOR="$scale")
    env -u QT_SCREEN_SCALE_FACTORS "${scaled[@]}" XDG_CONFIG_HOME="$tmp/config" \
        "${launch[@]}" >"$tmp/game.log" 2>&1 &
    game_pid=$!
    game_started "$bound_ms"
}

# Sets WIDTH and HEIGHT to the size of the window's inside, in the game's own pixels.
window_size() {
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
    [ -n "${WIDTH:-}" ] || return 1
    WIDTH=$((WIDTH / scale)) HEIGHT=$((HEIGHT / scale))
}

title_of() { xdotool getwindowname "$1"; }

# The visible windows whose title matches the regular expression, one a line.
windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
# The same, shown or not: nothing hides the game's windows here.
windows_anywhere_named() { windows_named "$1"; }

# Keys go to the focused window; without a window manager we give the focus ourselves, and
# with one (under Wine) we ask it to activate the window, as a click would.
focus_window() {
    if [ -n "$wm_pid" ]; then
        xdotool windowactivate --sync "$1" 2>/dev/null || fail "cannot activate window $1"
    else
        xdotool windowfocus --sync "$1" 2>/dev/null || fail "cannot focus window $1"
    fi
}

# Keys by their X names (Return, space, alt, ctrl+a), one after the other.
keys_to() {
    local w=$1
    shift
    focus_window "$w"
    xdotool key --delay 80 "$@"
}

type_to() {
    focus_window "$1"
    xdotool type --delay 40 "$2"
}

# One key to the window that has the focus, at once.
press() { xdotool key "$1"; }

# Holds a key down in the focused window, the server repeating it, until key_up.
key_down() { xdotool keydown "$1"; }
key_up() { xdotool keyup "$1"; }

# A picture of the window's inside, in the format its file name says (.ppm, .png).
picture_of() { import -silent -window "$1" -depth 8 -strip "$2" 2>/dev/null; }
