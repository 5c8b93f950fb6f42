#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package as the README says and checks it as a user gets it: lintian finds
# no error, apt-get installs it, and the installed game plays the end-to-end layout scenario in
# an X server of its own (tests/e2e). Needs root. With --purge-build-tools, meant for a fresh
# Debian 12, the build's tools and libraries are removed before the install, so that only the
# package's own dependencies bring Qt back:
#   tools/check-deb.sh [--purge-build-tools]
set -euo pipefail
cd "$(dirname "$0")/.."
build_tools=(cmake g++ make qt6-base-dev libxcb1-dev dpkg-dev file)
check_tools=(lintian xvfb xdotool x11-utils imagemagick)
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${build_tools[@]}" "${check_tools[@]}" >/dev/null

echo "== Making the package"
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
cmake --build build-deb -j "$(nproc)" >/dev/null
(cd build-deb && umask 022 && cpack -G DEB >/dev/null)
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

echo "== Playing the installed game"
# A picture of the screen goes beside the package if it fails; no X server is a failure here.
E2E_FAILURE_PICTURE=$PWD/build-deb/installed_failure.png \
    bash tests/e2e/run_scenario.sh /usr/games/gromzaks layout ||
    { echo "FAIL: the installed game did not play the layout scenario"; exit 1; }
