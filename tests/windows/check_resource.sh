#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the executable's resource (version record and icon) as a Windows build would, with
# MinGW's resource compiler, and reads back what a user sees in the file's properties.
#   check_resource.sh BUILD_DIR VERSION
# Exit 0 passed, 1 failed, 77 skipped (no MinGW resource compiler here).
set -euo pipefail
build=$1
version=$2
windres=$(command -v x86_64-w64-mingw32-windres || true)
[ -n "$windres" ] || {
    echo "SKIP: x86_64-w64-mingw32-windres is not installed (apt-get install binutils-mingw-w64-x86-64 gcc-mingw-w64-x86-64)"
    exit 77
}
fail() { echo "FAIL: $*"; exit 1; }
res=$(mktemp)
trap 'rm -f "$res"' EXIT
"$windres" -O coff -i "$build/gromzaks.rc" -o "$res" || fail "windres could not compile $build/gromzaks.rc"
compiled=$("$windres" -J coff -O rc -i "$res")
expect() { grep -qF -- "$1" <<<"$compiled" || fail "the compiled resource lacks: $1"; }
expect 'LANGUAGE 12, 1' # French
expect 'RT_GROUP_ICON'
expect "FILEVERSION ${version%%.*}, $((10#${version#*.})), 0, 0"
expect "VALUE \"FileVersion\", \"$version\""
expect "VALUE \"ProductVersion\", \"$version\""
expect 'VALUE "OriginalFilename", "gromzaks.exe"'
expect 'BLOCK "040C04B0"'
echo "the Windows resource compiles: version $version, in French, with its icon"
