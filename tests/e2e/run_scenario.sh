#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays one scenario on the real game in its own X server, as a player would: keys through
# xdotool, and only what shows on screen read back (titles, windows, screenshot pixels).
#   run_scenario.sh GAME SCENARIO
# Exit 0 passed, 1 failed, 77 skipped (no X server could be started).
set -uo pipefail

game=${1:?usage: run_scenario.sh GAME SCENARIO}
scenario=${2:?usage: run_scenario.sh GAME SCENARIO}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/lib.sh"
. "$here/scenarios.sh"

declare -F "scenario_$scenario" >/dev/null || { echo "unknown scenario: $scenario" >&2; exit 2; }
[ -f "$game" ] || { echo "FAIL: no game at $game" >&2; exit 1; }

start_x_server
start_game "$game"
"scenario_$scenario"
echo "PASS [$scenario] in $(elapsed_ms) ms"
