#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the game's web page with Debian's emscripten in build-web/page/: the program
# (gromzaks.js, gromzaks.wasm), the page's files beside it, the licences and SHA256SUMS, a folder
# that any web server can serve as it is. CMake's own files stay beside it, in build-web/.
#   build.sh [BUILD_DIR]    (default build-web/)
# `./run.sh web` installs what it needs, runs it, and serves the page.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-web}

# emcc's linker runs node scripts that need Debian's acorn.
export NODE_PATH=/usr/share/nodejs
# A folder that an earlier build made otherwise (with Qt, say) starts afresh: nothing of it
# must stay among the page's files.
made_here() {
    grep -qs '^CMAKE_TOOLCHAIN_FILE:.*/Platform/Emscripten.cmake$' "$build/CMakeCache.txt" &&
        ! grep -qs '^Qt6_DIR:' "$build/CMakeCache.txt"
}
if [ -e "$build" ] && ! made_here; then rm -rf "$build"; fi
echo "== Building the game for the web ($build/)"
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
echo "== The page: $(realpath "$build")/page/index.html"
