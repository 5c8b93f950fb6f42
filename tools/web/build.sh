#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the game's web page in build-web/: Qt for the web built once (../build-qt.sh web), the
# game built with Debian's emscripten, and the folder that any web server can serve as it is:
# index.html, the program (gromzaks.js, gromzaks.wasm), Qt's loader and the licences.
#   build.sh [BUILD_DIR]    (default build-web/)
# `./run.sh web` installs what it needs, runs it, and serves the page.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-web}

qt=$(tools/build-qt.sh web)
# shellcheck source-path=SCRIPTDIR
. tools/web/emscripten.sh

echo "== Building the game for the web ($build/)"
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DQT_CHAINLOAD_TOOLCHAIN_FILE="$emscripten_toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"

# The game's licence, and those of what the program carries besides it, linked in: Qt, built
# from Debian's source with the project's patch, and emscripten's C and C++ libraries.
licences=$build/licences
mkdir -p "$licences"
cp LICENSE "$build/LICENCE.txt"
cp /usr/share/common-licenses/LGPL-3 "$licences/Qt-LGPL-3.txt"
cp /usr/share/doc/libqt6core6/copyright "$licences/Qt-copyright.txt"
cp /usr/share/doc/emscripten/copyright "$licences/emscripten-copyright.txt"
cp tools/web/qt-*.patch "$licences/"
cat >"$licences/LISEZMOI.txt" <<TEXT
Qt $(dpkg-query -W -f='${Version}' qt6-base-dev) est lié au programme (gromzaks.wasm). Sa source est
celle du paquet source qt6-base de Debian, de cette version, avec le correctif du projet
$(cd tools/web && ls qt-*.patch) (joint ici), qui explique ce qu'il change et pourquoi.
TEXT
rm -f "$build/gromzaks.html" # Qt's own page: ours is index.html
echo "== The page: $PWD/$build/index.html"
