#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays one end-to-end scenario on the Windows package under Wine, in its own X server, exactly
# as tests/e2e/run_scenario.sh plays it on the Linux build.
#   run_scenario.sh ZIP WORK SCENARIO
# Exit 0 passed, 1 failed, 77 skipped (no package built here, no Wine, no X server).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR
. "$here/wine.sh"
prepare_package "$1" "$2" || exit $?
exec bash "$here/../e2e/run_scenario.sh" "$game_exe" "$3"
