#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows packages: gromzaks-VERSION-windows-x86_64.zip, the folder a player unzips,
# and gromzaks-VERSION-windows-x86_64-setup.exe, the setup program that installs the same files.
# Their checksums go beside them, in SHA256SUMS. Qt for Windows is built once (../build-qt.sh),
# the game cross-built with MinGW-w64. The same commit gives the same bytes (docs/reproducible.md).
# Prints the paths of the three last.
#   package.sh [BUILD_DIR]    (default build-windows/)
# `./run.sh windows` installs what it needs and runs it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath -m "${1:-build-windows}")

qt=$(tools/build-qt.sh windows)
# The time that linking and stripping write into each program's header, and the zip's: the last
# commit's, as Debian's tools set it.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git log -1 --format=%ct 2>/dev/null); then
    export SOURCE_DATE_EPOCH=$epoch
fi
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)

# What the folder carries besides the game has its licences beside it: Qt's, with Debian's
# account of what its source holds, and the MinGW-w64 runtime's.
notices=$build/notices
mkdir -p "$notices"
cp /usr/share/common-licenses/LGPL-3 "$notices/Qt-LGPL-3.txt"
cp /usr/share/doc/libqt6core6/copyright "$notices/Qt-copyright.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$notices/MinGW-GCC-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$notices/MinGW-w64-copyright.txt"

echo "== Cross-building the game for Windows ($build)"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake \
    -DCMAKE_FIND_ROOT_PATH="$qt" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DGROMZAKS_NOTICES_DIR="$notices" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
cmake -D BUILD_DIR="$build" -P tools/windows/zip.cmake
(cd "$build" && cpack -G NSIS >/dev/null)
echo "== The Windows packages:"
ls "$build"/gromzaks-*-windows-*.zip "$build"/gromzaks-*-windows-*-setup.exe "$build"/SHA256SUMS
