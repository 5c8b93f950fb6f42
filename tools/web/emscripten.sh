# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Debian's emscripten as Qt's build expects it, for Qt itself and for the game. Sourced; sets
# $emscripten_toolchain and exports what emcc and Qt's CMake read:
# - Qt's CMake looks for an emsdk folder, which Debian has not: a small one in the cache says
#   where emcc is;
# - emcc's linker runs node scripts that need Debian's acorn.
emsdk=${GROMZAKS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/gromzaks}/emsdk
mkdir -p "$emsdk/upstream/emscripten"
echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$emsdk/.emscripten"
ln -sfn /usr/bin/emcc "$emsdk/upstream/emscripten/emcc"
export EMSDK=$emsdk NODE_PATH=/usr/share/nodejs
emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
