#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds every target in each build type a packager may choose, with Debian's own compiler
# flags (dpkg-buildflags), with g++ and with clang, warnings as errors. Slow (eight whole
# builds): run it by hand before a release, not in the tests.
#   tools/build-matrix.sh [FOLDER]    the builds go under FOLDER (default build-matrix/)
# Needs: dpkg-dev and clang (apt-get install dpkg-dev clang).
set -euo pipefail
cd "$(dirname "$0")/.."
root=${1:-build-matrix}
jobs=$(nproc 2>/dev/null || echo 2)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
cppflags=$(dpkg-buildflags --get CPPFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)

for compiler in g++ clang++; do
    for type in Release RelWithDebInfo Debug None; do
        dir="$root/$compiler-$type"
        echo "== $compiler, $type"
        cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE="$type" \
            -DCMAKE_CXX_FLAGS="$cxxflags $cppflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
            -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
        cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1 || {
            grep -E -m 20 'error|warning' "$dir/build.log"
            echo "FAILED: $compiler, $type (all of it in $dir/build.log)"
            exit 1
        }
    done
done
echo "Every target built in every build type, with g++ and clang."
