#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The lines and branches of the game's rules that the headless tests run: builds them with
# gcov's counters in build-coverage/, runs them, and reports with gcovr (Debian's package).
#   tools/coverage.sh          a summary, file by file
#   tools/coverage.sh --html   also build-coverage/coverage.html, line by line
set -euo pipefail
cd "$(dirname "$0")/.."

command -v gcovr >/dev/null || { echo "gcovr is missing: apt-get install gcovr" >&2; exit 1; }
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-coverage -DGROMZAKS_COVERAGE=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-coverage -j "$jobs"
find build-coverage -name '*.gcda' -delete # counts of this run only
QT_QPA_PLATFORM=offscreen ctest --test-dir build-coverage -L headless -j "$jobs" --output-on-failure --no-label-summary

# The game without its Qt side: the runtime (not runtime/qt/), the game, the options, the help.
report=(gcovr --root . --object-directory build-coverage
    --filter 'runtime/[^/]*$' --filter 'game/' --filter 'options/' --filter 'help/[^/]*$'
    --exclude-unreachable-branches --exclude-throw-branches --print-summary)
"${report[@]}" --branches
"${report[@]}"
if [ "${1:-}" = --html ]; then
    "${report[@]}" --html-details build-coverage/coverage.html >/dev/null
    echo "== build-coverage/coverage.html"
fi
