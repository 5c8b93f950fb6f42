#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package as the README says and checks it as a user gets it: lintian finds
# no error, apt-get installs it, and the installed game opens its window (under Xvfb). Needs
# root. On a fresh Debian 12, with --purge-build-tools, the build's tools and libraries are
# removed before the install, so that only the package's own dependencies bring Qt back:
#   ../shared/tools/fresh-machine-test 'tools/check-deb.sh --purge-build-tools'
set -euo pipefail
cd "$(dirname "$0")/.."
build_tools=(cmake g++ make qt6-base-dev libxcb1-dev dpkg-dev file)
check_tools=(lintian xvfb xdotool)
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${build_tools[@]}" "${check_tools[@]}" >/dev/null

echo "== Making the package"
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
cmake --build build-deb -j "$(nproc)" >/dev/null
(cd build-deb && cpack -G DEB >/dev/null)
deb=$(ls build-deb/gromzaks_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

# On a Wayland desktop the game runs natively when Qt's Wayland plugin comes with it.
dpkg-deb --field "$deb" Recommends | grep -qw qt6-wayland || { echo "FAIL: the package does not recommend qt6-wayland"; exit 1; }

echo "== lintian"
lintian --fail-on error --info "$deb"

if [ "${1:-}" = --purge-build-tools ]; then
    echo "== Removing the build's tools and libraries"
    apt-get purge -y -qq "${build_tools[@]}" >/dev/null
    apt-get autoremove -y -qq --purge >/dev/null
fi

echo "== Installing"
apt-get install -y -qq "./$deb" >/dev/null
[ -x /usr/games/gromzaks ] || { echo "FAIL: no /usr/games/gromzaks"; exit 1; }

echo "== Starting the installed game"
Xvfb :71 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $game 2>/dev/null' EXIT
game=
sleep 1
DISPLAY=:71 /usr/games/gromzaks >/tmp/gromzaks-deb.log 2>&1 &
game=$!
if DISPLAY=:71 timeout 20 xdotool search --sync --onlyvisible --name '^Gromzak' >/dev/null; then
    echo "the installed game opened its window: '$(DISPLAY=:71 xdotool search --onlyvisible --name '^Gromzak' getwindowname)'"
else
    echo "FAIL: the installed game opened no window"
    cat /tmp/gromzaks-deb.log
    exit 1
fi
