#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays one scenario on the real game in a display of its own, as a player would: real keys,
# and only what shows on screen read back (titles, windows, screenshot pixels).
#   [E2E_DISPLAY=wayland] [E2E_SCALE=2] run_scenario.sh GAME SCENARIO
# An X server by default; E2E_DISPLAY=wayland plays in a Wayland compositor instead.
# Exit 0 passed, 1 failed, 77 skipped (no display could be started).
set -uo pipefail

game=${1:?usage: run_scenario.sh GAME SCENARIO}
scenario=${2:?usage: run_scenario.sh GAME SCENARIO}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/lib.sh"
. "$here/scenarios.sh"

declare -F "scenario_$scenario" >/dev/null || { echo "unknown scenario: $scenario" >&2; exit 2; }
[ -f "$game" ] || { echo "FAIL: no game at $game" >&2; exit 1; }

start_display
start_game "$game"
"scenario_$scenario"
echo "PASS [$scenario] in $(elapsed_ms) ms"
