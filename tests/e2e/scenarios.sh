# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The scenarios, one function each, run by run_scenario.sh on a freshly started game.
# Places are in playfield pixels (twips / 15) from the playfield's top-left corner.

# The formation's first column and the ship, where the game draws them before any start.
ship_x=232
ship_y=376

scenario_layout() {
    wait_title "Gromzak   Points:  0"
    shoot
    local band="0 0 $field_w 120"
    expect_in_box "green alien" 00FF00 8 8 24 25 150 $band
    expect_in_box "blue alien" 0000FF 0 40 16 27 80 $band
    expect_in_box "red alien" FF0000 8 72 26 26 150 $band
    local bottom="0 300 $field_w $((field_h - 300))"
    expect_in_box "ship's hull" 000080 $ship_x $ship_y 30 30 100 $bottom
    expect_in_box "ship's yellow" FFFF00 $ship_x $ship_y 30 30 20 $bottom
    expect_in_box "ship's flame" FF8000 $ship_x $ship_y 30 30 20 $bottom
    # Nothing else yet: no shot, bullet or banner in the black between them.
    local n
    n=$(pixel_count FFFFFF 0 0 $field_w $field_h)
    [ "$n" -eq 0 ] || fail "$n white pixels on the field before any start"
    n=$(pixel_count 000000 0 100 $field_w 270)
    [ "$n" -eq $((field_w * 270)) ] || fail "the middle of the field is not all black"
}

# "Démarrer" answered Yes: a new game with the default options' starting bonus.
start_playing() {
    choose_general 1
    yes_at=$(elapsed_ms) # the moment of the "Oui", however late the game's answer is seen
    answer_confirmation Return
    wait_title "Gromzak   Points:  $1"
}

# Green in the 21st column's place (Left 120 + 400 * 20 twips), wiggle allowed.
last_column_built() {
    shoot
    [ "$(pixel_count 00FF00 530 0 $((field_w - 530)) 60)" -gt 100 ]
}

scenario_start() {
    start_playing_safely
    local started
    started=$(elapsed_ms)
    # While the formation builds up (3 s), "Général" is greyed: the keys open nothing.
    choose_general 1
    local sent=$(($(elapsed_ms) - started))
    [ "$sent" -lt 1500 ] || fail "the keys took $sent ms to send, too late to find the menu greyed"
    keeps_true "no box while the formation builds up" 1000 window_count_is '^Confirmation$' 0
    keys_to "$main_win" Escape
    wait_until "21st column of aliens" 6000 last_column_built
    local took=$(($(elapsed_ms) - yes_at))
    [ "$took" -ge 2500 ] || fail "the formation was complete $took ms after the start, quicker than its build-up"
    expect_in_box "green aliens of the top row" 00FF00 0 0 $field_w 40 $((21 * 150))
    expect_in_box "blue aliens of the middle row" 0000FF 0 30 $field_w 45 $((21 * 150))
    expect_in_box "red aliens of the bottom row" FF0000 0 60 $field_w 50 $((21 * 200))
    # Built up, "Général" answers again: "Redémarrer" asks first, and "Non" lets the game go on.
    choose_general_when_enabled 1
    answer_confirmation Escape
    window_count_is '^Score$' 0 || fail "the game ended during the build-up"
}

# Makes the alien bullets crawl, so that no bullet reaches the ship of a player who steers,
# fires or stands still: a game then lasts as long as a scenario needs, on any machine.
crawling_bullets() {
    choose_option 5 # "Vitesse du tir des e-t"
    answer_input '^Vitesse\?$' 1
}

start_playing_safely() {
    wait_title "Gromzak   Points:  0"
    crawling_bullets
    # 55000 / (10000 / 10) + 1 / 10
    start_playing 55
}

# "Général" is greyed until the formation is complete: tries its item N until a box asks.
general_asks() {
    choose_general "$1"
    wait_quietly 1000 window_count_is '^Confirmation$' 1 && return 0
    keys_to "$main_win" Escape
    return 1
}
choose_general_when_enabled() { wait_until "\"Général\" answering" 8000 general_asks "$1"; }

# Where the ship's hull is now: its left edge, or nothing when it is not on the field.
ship_left=
locate_ship() {
    shoot
    local n x0 rest
    read -r n x0 rest <<<"$(pixels 000080 0 $((ship_y - 10)) $field_w $((field_h - ship_y + 10)))"
    [ "$n" -gt 50 ] || fail "no ship on the bottom of the field"
    ship_left=$x0
}
ship_left_of() { locate_ship && [ "$ship_left" -le "$1" ]; }
ship_right_of() { locate_ship && [ "$ship_left" -ge "$1" ]; }
ship_still_at() { locate_ship && [ "$ship_left" -eq "$1" ]; }

# The ship stands where it was last seen in two shots in a row, and stays there.
expect_ship_stopped() {
    local previous=-1 deadline=$(($(date +%s%N) + 1000000000))
    locate_ship
    while [ "$ship_left" -ne "$previous" ]; do
        [ "$(date +%s%N)" -lt "$deadline" ] || fail "the ship still moves after the key's release"
        previous=$ship_left
        sleep 0.1
        locate_ship
    done
    keeps_true "ship standing at x=$previous" 400 ship_still_at "$previous"
}

scenario_move() {
    start_playing_safely
    locate_ship
    local from=$ship_left
    focus_window "$main_win"
    # Held down, the key repeats: several steps of 16 px.
    key_down Right
    wait_until "ship moved right by 3 steps" 2000 ship_right_of $((from + 48))
    key_up Right
    expect_ship_stopped
    local stopped=$ship_left
    key_down Left
    wait_until "ship moved left by 5 steps" 2000 ship_left_of $((stopped - 80))
    key_up Left
    expect_ship_stopped
    window_count_is '^Score$' 0 || fail "the game ended while the ship was moving"
}

# White pixels in the ship's column, above the ship and below HIGHEST_Y.
shot_top=
shot_seen_below() {
    shoot
    local n x0 y0 rest
    read -r n x0 y0 rest <<<"$(pixels FFFFFF $((ship_left - 8)) 0 46 $ship_y)"
    [ "$n" -gt 0 ] && [ "$y0" -lt "$1" ] || return 1
    shot_top=$y0
}

field_without_shot() {
    shoot
    [ "$(pixel_count FFFFFF 0 0 $field_w $field_h)" -eq 0 ]
}

scenario_shot() {
    start_playing_safely
    locate_ship
    # The shot that leaves with every new game has to be gone first.
    wait_until "field without a white shot" 3000 field_without_shot
    keys_to "$main_win" space
    wait_until "white shot above the ship" 1000 shot_seen_below $ship_y
    local first=$shot_top
    [ "$first" -gt 200 ] || fail "the shot was first seen at y=$first, far from the ship"
    expect_in_box "the shot, 6x6" FFFFFF $((ship_left - 8)) $first 46 6 20
    wait_until "shot going up" 1000 shot_seen_below "$first"
}

# An answer in "Options" shows in the next game's starting bonus, in the title.
scenario_option() {
    wait_title "Gromzak   Points:  0"
    crawling_bullets
    choose_option 2 # "Vitesse des e-t"
    answer_input '^Vitesse\?$' 3
    title_is "Gromzak   Points:  0" || fail "an answer changed the score: '$(title_of_game)'"
    # 55000 / (3000 / 10) + 1 / 10
    start_playing 183
    choose_general_when_enabled 2 # "Arreter"
    answer_confirmation Return
    wait_title "Gromzak   Points:  0"
    choose_option 5 # "Vitesse du tir des e-t"
    answer_input '^Vitesse\?$' 250
    # 55000 / (3000 / 10) + 250 / 10: the first answer still holds.
    choose_general 1 # "Redémarrer"
    answer_confirmation Return
    wait_title "Gromzak   Points:  208"
}

help_window_is_alone() { window_count_is '^Aide$' 1; }

scenario_help() {
    wait_title "Gromzak   Points:  0"
    choose_aide
    wait_window '^Aide$'
    local help=$found
    local WIDTH HEIGHT
    window_size "$help"
    [ "$WIDTH" = 391 ] && [ "$HEIGHT" = 439 ] || fail "help window of ${WIDTH}x$HEIGHT"
    # On Wayland the desktop knows both windows as the game's by the app id of its desktop file.
    if [ -n "${E2E_APP_ID:-}" ]; then
        local w
        for w in "$main_win" "$help"; do
            [ "$(app_id_of "$w")" = "$E2E_APP_ID" ] || fail "window '$(title_of "$w")' has app id '$(app_id_of "$w")'"
        done
    fi
    choose_aide
    keeps_true "a single help window" 1000 help_window_is_alone
    [ "$(windows_named '^Aide$')" = "$help" ] || fail "the help window was replaced by another"
    keys_to "$help" Return # its OK button
    wait_window_gone '^Aide$'
    # Closed, it opens again.
    choose_aide
    wait_window '^Aide$'
    keys_to "$found" Return
    wait_window_gone '^Aide$'
}

# Bullets or the landing formation end the game of a player who never moves.
scenario_lost() {
    wait_title "Gromzak   Points:  0"
    choose_option 2
    # Coming down every 310 ms, the formation lands within seconds if no bullet hits first.
    answer_input '^Vitesse\?$' 0,31
    # 55000 / (310 / 10) + 30 / 10
    start_playing 1777
    wait_window '^Score$' 20000
    keys_to "$found" Return
    wait_window_gone '^Score$'
    shoot
    # "PERDU": a white box with black writing in it.
    expect_in_box "PERDU banner" FFFFFF 184 40 281 33 $((281 * 33 / 2))
    [ "$(pixel_count 000000 184 40 281 33)" -gt 50 ] || fail "the PERDU banner has no writing"
    [ "$(pixel_count FFFFFF 192 136 281 33)" -lt 20 ] || fail "a GAGNE banner after a loss"
}

# Not a test: the README's pictures, made on the real game (run by hand, see docs/testing.md).
scenario_pictures() {
    local out=${PICTURES_DIR:-$PWD}
    start_playing_safely
    wait_until "21st column of aliens" 6000 last_column_built
    focus_window "$main_win"
    key_down Left
    sleep 0.6
    key_up Left
    local i
    for i in 1 2 3 4 5 6; do
        keys_to "$main_win" space
        sleep 0.35
    done
    picture_of "$main_win" "$out/game.png" || fail "no picture of the game"
    choose_general_when_enabled 2 # "Arreter", so that "Aide" can open
    answer_confirmation Return
    choose_aide
    wait_window '^Aide$'
    picture_of "$found" "$out/help.png" || fail "no picture of the help window"
    echo "pictures: $out/game.png $out/help.png"
}

# At twice the size each pixel of the art is a block of 2x2 pixels of the screen, all of one
# exact colour: no smoothing, no blend at an edge. Read back a pixel a block, the playfield is
# then exactly the one of scale 1.
scenario_crisp() {
    [ "$scale" -gt 1 ] || skip "crisp is played at a whole scale above 1 (E2E_SCALE=2)"
    wait_title "Gromzak   Points:  0"
    picture_of "$main_win" "$tmp/screen.ppm" || fail "no screenshot of the game window"
    local w=$((field_w * scale)) h=$((field_h * scale))
    convert "$tmp/screen.ppm" -crop "${w}x$h+0+$((field_y * scale))" +repage "$tmp/field.ppm"
    local size
    size=$(identify -format '%wx%h' "$tmp/field.ppm")
    [ "$size" = "${w}x$h" ] || fail "a playfield of $size screen pixels, expected ${w}x$h"
    convert "$tmp/field.ppm" -sample "$((100 / scale))%" -sample "$((100 * scale))%" "$tmp/blocks.ppm"
    local differ
    differ=$(compare -metric AE "$tmp/field.ppm" "$tmp/blocks.ppm" null: 2>&1)
    [ "$differ" = 0 ] || fail "$differ pixels differ from the rest of their ${scale}x$scale block"
    scenario_layout
}

# Voluntary context switches of the game's main thread so far: its wake-ups.
main_thread_wakes() { sed -n 's/^voluntary_ctxt_switches:[[:space:]]*//p' "/proc/$game_pid/task/$game_pid/status"; }

# The default first game left alone to its end, as the benchmark measures it too: "Démarrer",
# "Oui", then no key until the Score box, which is left open (the game stands still behind it).
# Sets $lost_ms, from "Oui" sent to the box seen, shown or not. COMMAND, when given, runs as
# soon as "Oui" is sent, within the time counted.
lost_ms=
play_default_game() {
    wait_title "Gromzak   Points:  0"
    choose_general 1
    wait_window '^Confirmation$'
    focus_window "$found"
    local started
    started=$(date +%s%N)
    press Return
    "$@"
    wait_until "Score box" 20000 window_anywhere '^Score$'
    lost_ms=$((($(date +%s%N) - started) / 1000000))
}
window_anywhere() { [ -n "$(windows_anywhere_named "$1")" ]; }

# How often the game's main thread woke, a second, from 1 s to 3 s into the game ($wakes_per_s).
wakes_per_s=
count_wakes() {
    sleep 1
    local before
    before=$(main_thread_wakes)
    sleep 2
    wakes_per_s=$((($(main_thread_wakes) - before) / 2))
}
hide_and_count_wakes() {
    hide_game
    count_wakes
}

# Hidden (its workspace switched away, when the compositor sends it no frame), the game keeps
# its time: it is lost at the same moment of the game as when seen, no later on the wall clock,
# without waking more often, and it shows the present picture as soon as it is seen again.
scenario_hidden() {
    play_default_game count_wakes
    local seen_ms=$lost_ms seen_wakes=$wakes_per_s
    # The Score box stands in front of the game seen, and elsewhere once hidden: its place is
    # left out of both pictures.
    local box
    box=$(box_over_game "$(windows_named '^Score$')")
    shoot
    convert "$shot" -fill black -draw "rectangle $box" "$tmp/seen.ppm"
    kill "$game_pid"
    wait "$game_pid" 2>/dev/null
    game_pid=
    start_game "$game"
    play_default_game hide_and_count_wakes
    echo "seen: lost after $seen_ms ms, $seen_wakes wake-ups/s; hidden: after $lost_ms ms, $wakes_per_s wake-ups/s"
    [ "$lost_ms" -le $((seen_ms + 1000)) ] || fail "hidden, the game was lost after $lost_ms ms, seen after $seen_ms ms"
    [ "$wakes_per_s" -le $((seen_wakes + seen_wakes / 10 + 2)) ] ||
        fail "hidden, the game woke $wakes_per_s times a second, seen $seen_wakes"
    show_game
    shoot
    convert "$shot" -fill black -draw "rectangle $box" "$tmp/shown.ppm"
    local differ
    differ=$(compare -metric AE "$tmp/seen.ppm" "$tmp/shown.ppm" null: 2>&1)
    [ "$differ" = 0 ] || fail "shown again, $differ pixels differ from the end of the game seen"
}

# On the web: a hidden page draws no frames and the browser slows its timers down to about one
# a second, yet the game keeps its time, as a hidden desktop window does. The default first
# game left alone is lost at the same moment of the game, seen or hidden: the same field once
# shown again (the game stands still behind the Score box), no later on the wall clock than the
# slowed timers allow.
scenario_hidden_page() {
    play_default_game
    local seen_ms=$lost_ms
    canvas_pixels "$tmp/seen.ppm" || fail "no pixels read from the canvas"
    reload_page
    wait_until "the game after the reload" 10000 game_window_shown
    play_default_game hide_game
    [ "$(page document.hidden)" = true ] || fail "the page was not hidden"
    echo "seen: lost after $seen_ms ms; hidden: after $lost_ms ms"
    [ "$lost_ms" -le $((seen_ms + 1500)) ] || fail "hidden, the game was lost after $lost_ms ms, seen after $seen_ms ms"
    show_game
    canvas_pixels "$tmp/shown.ppm" || fail "no pixels read from the canvas"
    local differ
    differ=$(compare -metric AE "$tmp/seen.ppm" "$tmp/shown.ppm" null: 2>&1)
    [ "$differ" = 0 ] || fail "shown again, $differ pixels differ from the end of the game seen"
}

# On the web: the page plays from its own folder. Every file it asked the server for was there,
# and it asked no other host (none but ours can be reached, web.sh). As a player's chromium
# shows it without a GPU: with no WebGL, and no touch controls where there is no touch screen.
scenario_offline() {
    wait_title "Gromzak   Points:  0"
    ! grep -q '" [45][0-9][0-9] ' "$tmp/server.log" || fail "the page asked for what its folder has not:
$(grep '" [45][0-9][0-9] ' "$tmp/server.log")"
    local elsewhere
    elsewhere=$(page_text 'performance.getEntriesByType("resource").map(e => e.name).filter(n => !n.startsWith(location.origin + "/")).join(" ")')
    [ -z "$elsewhere" ] || fail "the page asked other hosts for $elsewhere"
    [ "$(page '["webgl", "webgl2"].every(kind => document.createElement("canvas").getContext(kind) === null)')" = true ] ||
        fail "chromium gives the page WebGL: it is not started as a player's without a GPU"
    [ "$(page 'lib.shown(document.getElementById("touch"))')" = false ] || fail "touch controls shown with no touch screen"
}

# On the web: "Quitter", confirmed, leaves the page saying in French how to play again, and the
# page still answers.
scenario_quit() {
    wait_title "Gromzak   Points:  0"
    choose_general 2
    wait_window '^Confirmation$'
    keys_to "$found" Return
    wait_until "the page's last word" 5000 page_says $'La partie est terminée.\nPour rejouer, rechargez la page.'
}

# On the web, after one visit: the page can be installed, and with the server gone it plays
# again from what its service worker kept.
scenario_install() {
    wait_title "Gromzak   Points:  0"
    wait_until "service worker at work" 10000 service_worker_active
    wait_quietly 5000 installable || fail "the page cannot be installed: $installability_errors"
    stop_server
    reload_page
    wait_until "game shown with no server" 10000 game_window_shown
    [ "$(page 'navigator.serviceWorker.controller !== null')" = true ] || fail "no service worker serves the page"
    start_playing_safely
}
service_worker_active() { [ "$(page 'navigator.serviceWorker.getRegistration().then(r => r?.active?.state === "activated")')" = true ]; }
installability_errors=
installable() {
    installability_errors=$(ask call Page.getInstallabilityErrors | jq -c .installabilityErrors)
    [ "$installability_errors" = "[]" ]
}

# --- on the web, as a phone shows the page: chromium's device emulation and touch ---

# TYPE (touchStart, touchEnd) of one finger at X Y in CSS pixels, or of none.
touch() {
    local points='[]'
    [ $# -eq 3 ] && points="[{\"x\": $2, \"y\": $3}]"
    ask call Input.dispatchTouchEvent "{\"type\": \"$1\", \"touchPoints\": $points}" >/dev/null || fail "no $1 at ${2:-} ${3:-}"
}
# Sets $spot to "X Y", the middle of what the expression finds, once it is shown.
spot=
spot_of() { spot=$(page "(el => lib.shown(el) ? lib.rect(el) : null)($1)" | jq -r 'select(.) | "\(.[0] + .[2] / 2) \(.[1] + .[3] / 2)"') && [ -n "$spot" ]; }
# A finger on WHAT, the element that the expression finds, lifted again unless told to hold.
tap() {
    wait_until "$1 to tap" 2000 spot_of "$2"
    # shellcheck disable=SC2086 # the two coordinates
    touch touchStart $spot
    [ "${3:-}" = hold ] || touch touchEnd
}
tap_menu() {
    tap "menu \"$1\"" "lib.labelled('#menubar > .menu', '$1')"
    tap "item \"$2\"" "lib.labelled('#menubar .item', '$2')"
}
tap_button() { tap "button \"$2\" of $1" "lib.labelled('#$1 button', '$2')"; }

# What does not fit the screen: the menu bar, its menus, the field and the touch controls all
# shown within it, no scrolling, the thumbs off the field.
# shellcheck disable=SC2016 # JavaScript's own ${...}
phone_misfits='(() => {
    const problems = [], W = innerWidth, H = innerHeight, root = document.documentElement;
    if (root.scrollWidth > W || root.scrollHeight > H) problems.push(`the page scrolls: ${root.scrollWidth}x${root.scrollHeight}`);
    const field = document.getElementById("field").getBoundingClientRect();
    const parts = ["#menubar", "#field", "#touch-left", "#touch-right", "#touch-fire"].map(s => [s, document.querySelector(s)]);
    for (const menu of document.querySelectorAll("#menubar > .menu")) parts.push([menu.querySelector(".label").textContent, menu]);
    for (const [name, el] of parts) {
        const r = el?.getBoundingClientRect();
        if (!lib.shown(el)) problems.push(`${name} is not shown`);
        else if (r.left < 0 || r.top < 0 || r.right > W || r.bottom > H) problems.push(`${name} lies at (${r.left},${r.top})-(${r.right},${r.bottom})`);
        else if (name.startsWith("#touch") && r.left < field.right && field.left < r.right && r.top < field.bottom && field.top < r.bottom)
            problems.push(`${name} covers the field`);
    }
    return problems.join(", ");
})()'

# A phone of WIDTH x HEIGHT CSS pixels, three screen pixels each, with touch: the page fits it,
# shows the field crisp at twice its size, and plays by taps alone. chromium's own screen has
# its three pixels a CSS pixel as a phone's has (E2E_SCALE=3): with them only emulated, it
# draws every element at whole CSS pixels, and the field is stretched.
phone() {
    [ "$scale" -eq 3 ] || skip "a phone is played at three screen pixels a CSS pixel (E2E_SCALE=3)"
    ask call Emulation.setDeviceMetricsOverride "{\"width\": $1, \"height\": $2, \"deviceScaleFactor\": 3, \"mobile\": true}" >/dev/null &&
        ask call Emulation.setTouchEmulationEnabled '{"enabled": true, "maxTouchPoints": 5}' >/dev/null ||
        fail "chromium emulates no phone"
    reload_page
    wait_until "game shown on the phone" 10000 game_window_shown
    wait_title "Gromzak   Points:  0"
    local misfits size
    misfits=$(page_text "$phone_misfits")
    [ -z "$misfits" ] || fail "on a phone of $1x$2: $misfits"
    # 1134 x 818 screen pixels, shown at a third of that (378 x 272.67 CSS pixels, as closely
    # as the layout's sixty-fourths of a pixel come).
    size=$(page "(c => [c.width, c.height, ...lib.rect(c).slice(2).map(v => Math.round(v * 3))])(document.getElementById('field'))" | jq -r 'join(" ")')
    [ "$size" = "1134 818 1134 818" ] || fail "a field of $size (its screen pixels, then thrice its CSS pixels), expected 1134 818 1134 818"
    # Two screen pixels a pixel of the game each way, each block one colour, laid out as at
    # the field's own size.
    place_field 2
    scenario_crisp
    # "Vitesse du tir des e-t" 1, typed into the input box, is in the next game's bonus: 55,
    # not the default's 58 (see scenario_option).
    tap_menu Options "Vitesse du tir des e-t"
    wait_window '^Vitesse\?$'
    [ "$(page "document.activeElement.matches('#$found input[type=text]')")" = true ] || fail "the input box opened with the focus elsewhere than in its text"
    ask call Input.insertText '{"text": "1"}' >/dev/null || fail "no text typed"
    tap_button "$found" OK
    wait_window_gone '^Vitesse\?$'
    tap_menu Général Démarrer
    wait_window '^Confirmation$'
    tap_button "$found" Oui
    wait_title "Gromzak   Points:  55"
    # A thumb held on a control steers as a held key does; lifted, the ship stops.
    locate_ship
    local from=$ship_left
    tap "right control" "document.getElementById('touch-right')" hold
    wait_until "ship moved right by 3 steps" 2000 ship_right_of $((from + 48))
    touch touchEnd
    expect_ship_stopped
    wait_until "field without a white shot" 3000 field_without_shot
    tap "fire control" "document.getElementById('touch-fire')"
    wait_until "white shot above the ship" 1000 shot_seen_below $ship_y
}
scenario_phone_portrait() { phone 390 844; }
scenario_phone_landscape() { phone 844 390; }
