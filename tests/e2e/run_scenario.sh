#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays one scenario on the real game in a display of its own, as a player would: real keys,
# and only what shows on screen read back (titles, windows, screenshot pixels).
#   [E2E_DISPLAY=wayland|web] [E2E_SCALE=2] run_scenario.sh GAME SCENARIO
# An X server by default; E2E_DISPLAY=wayland plays in a Wayland compositor instead, and
# E2E_DISPLAY=web in chromium, GAME being the web page's folder.
# Exit 0 passed, 1 failed, 77 skipped (no display could be started).
set -uo pipefail

game=${1:?usage: run_scenario.sh GAME SCENARIO}
scenario=${2:?usage: run_scenario.sh GAME SCENARIO}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/lib.sh"
. "$here/scenarios.sh"

declare -F "scenario_$scenario" >/dev/null || { echo "unknown scenario: $scenario" >&2; exit 2; }
# A display may say first whether it can play the game here (the web's: is the page built?).
if declare -F can_play >/dev/null; then
    can_play "$game"
else
    [ -e "$game" ] || { echo "FAIL: no game at $game" >&2; exit 1; }
fi

start_display
start_game "$game"
"scenario_$scenario"
echo "PASS [$scenario] in $(elapsed_ms) ms"
