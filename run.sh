#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing on Debian 12, builds, and then plays the game or runs the tests.
#   ./run.sh play    build and start the game
#   ./run.sh test    build and run every test
#   ./run.sh windows build the Windows zip and setup program (Qt for Windows is built once: docs/windows.md)
#   ./run.sh web     build the game's web page and serve it on 127.0.0.1 (docs/web.md)
set -euo pipefail
cd "$(dirname "$0")"

what=${1:-}
case "$what" in
    play | test | windows | web) ;;
    *)
        echo "usage: $0 play|test|windows|web" >&2
        exit 2
        ;;
esac

# qt6-wayland: on a Wayland desktop the game runs natively rather than through XWayland.
packages=(cmake g++ make ccache qt6-base-dev libxcb1-dev qt6-translations-l10n qt6-wayland)
# Qt for Windows is built from Debian's source with MinGW-w64 and the host's Qt tools, and
# nsis makes the setup program beside the zip; the tests labelled windows try both under Wine.
[ "$what" = windows ] && packages+=(g++-mingw-w64-x86-64-posix dpkg-dev ninja-build xz-utils
    wine wine64 nsis openbox icoutils xvfb xdotool x11-utils imagemagick)
# The web page is built with emscripten, and the tests labelled web play it in chromium; the
# test command builds it and plays it too.
[ "$what" = web ] || [ "$what" = test ] && packages+=(emscripten python3 chromium xvfb xdotool x11-utils imagemagick jq)
# The tests also validate the installed desktop files.
[ "$what" = test ] && packages+=(desktop-file-utils appstream)
# They also build the Debian package and the web page twice each, in clones, to compare them.
[ "$what" = test ] && packages+=(dpkg-dev file git)
# The sanitizer build is clang's, which brings libFuzzer for the fuzz targets.
[ "$what" = test ] && packages+=(clang libclang-rt-14-dev)
# The end-to-end tests play the real game in an X server of their own, and again in a headless
# Wayland compositor of their own.
[ "$what" = test ] && packages+=(xvfb xdotool x11-utils imagemagick sway wtype grim jq)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== Installing: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$what" = windows ]; then
    exec tools/windows/package.sh
fi
if [ "$what" = web ]; then
    tools/web/build.sh
    port=${GROMZAKS_PORT:-8000}
    echo "== Serving the page at http://127.0.0.1:$port/ (Ctrl+C stops; any web server serving build-web/page/ will do)"
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/page
fi

jobs=$(nproc 2>/dev/null || echo 2)
echo "== Building"
if [ "$what" = play ]; then
    # The game alone: no test, soak or benchmark to compile first.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF >/dev/null
    cmake --build build -j "$jobs" --target gromzaks
    exec ./build/gromzaks
fi
# Our own tests take no warning lightly.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build -j "$jobs"

# Without a display the window tests draw offscreen; the end-to-end ones start their own.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "== Headless tests and fuzz targets under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/, clang)"
# A build-asan/ that another compiler made is configured afresh: CMake cannot switch in place.
grep -qs '^CMAKE_CXX_COMPILER:.*clang++' build-asan/CMakeCache.txt || rm -rf build-asan/CMakeCache.txt build-asan/CMakeFiles
cmake -S . -B build-asan -DCMAKE_CXX_COMPILER=clang++ -DGROMZAKS_SANITIZE=ON -DGROMZAKS_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure --no-label-summary -j "$jobs" -L 'headless|fuzz'

tools/web/build.sh build-web

echo "== Every test"
ctest --test-dir build --output-on-failure --no-label-summary -j "$jobs"

echo "== The Debian package and the web page, each built twice: the same bytes (docs/reproducible.md)"
tools/check-reproducible.sh deb web
