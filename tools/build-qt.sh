#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt's Core, Gui and Widgets for Windows, once, from Debian's own source of the
# Qt the game is built against on Linux, into a cache folder outside the source tree. A later
# run reuses it; a change of the recipe (the target's qt.options, toolchain, patches, Debian's Qt
# version) builds it again beside the old one. Prints the folder Qt is installed in, and nothing
# else on stdout.
#   build-qt.sh windows    64-bit Windows; needs mingw-w64 (POSIX threads), dpkg-dev, ninja and
#                          qt6-base-dev (its moc, rcc and uic are the host tools)
# The cache is $GROMZAKS_CACHE, or ~/.cache/gromzaks (XDG_CACHE_HOME respected).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
say() { echo "$*" >&2; }

target=${1:?usage: build-qt.sh windows}
[ "$target" = windows ] || { say "usage: build-qt.sh windows"; exit 2; }
toolchain=$here/windows/mingw-w64.cmake
patches=("$here/$target"/qt-*.patch)
[ -e "${patches[0]}" ] || patches=()
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
recipe=$(cat "$here/$target/qt.options" "$toolchain" "${patches[@]}" - <<<"$version" | sha256sum | cut -c1-12)
cache=${GROMZAKS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/gromzaks}
prefix=$cache/qt-$version-$target-$recipe
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$target-work
rm -rf "$work"
mkdir -p "$work/apt/parts" "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/src"
log=$work/build.log

# Debian's source packages, fetched with apt lists of our own: the system's sources are left as
# they are. The source lines are the system's own Debian lines, read as deb-src.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v codename="$codename" 'BEGIN { RS = ""; ORS = "\n\n" }
        $0 ~ ("Suites:[^\n]*" codename) && $0 ~ /Types:[^\n]*deb/ && $0 !~ /Enabled: *no/ {
            sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
done >"$work/apt/parts/debian.sources"
cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed -n "s/^deb\([[:space:]].*[[:space:]]$codename[[:space:]]\)/deb-src\1/p" >"$work/apt/parts/debian.list" || true
apt=(apt-get -o "Dir::Etc::SourceList=$work/apt/none.list" -o "Dir::Etc::SourceParts=$work/apt/parts"
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
say "== Fetching Debian's source of Qt $version"
"${apt[@]}" update >"$log" 2>&1 || true # a repository without sources only warns
(cd "$work/src" && "${apt[@]}" source "qt6-base=$version") >>"$log" 2>&1 || {
    tail -n 20 "$log" >&2
    say "Could not fetch the source of qt6-base $version (is there a Debian line in apt's sources?)"
    exit 1
}
src=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
for patch in "${patches[@]}"; do
    say "== Applying $(basename "$patch")"
    patch -d "$src" -p1 <"$patch" >>"$log"
done

say "== Building Qt for $target into $prefix (once; how long: docs/$target.md; log: $log)"
# Where the build stands, on stderr: "phase [step/steps] percent, minutes", from ninja's
# "[412/1834]" lines, rewritten in place on a terminal, else a line every 5 % or every minute.
# Everything read goes on to the log.
started=$SECONDS
status() {
    local text="   $1 ($(((SECONDS - started) / 60)) min)"
    if [ -t 2 ]; then printf '\r%s\033[K' "$text" >&2; else say "$text"; fi
}
progress() {
    local line step steps percent shown=-5 then=$SECONDS
    while IFS= read -r line; do
        printf '%s\n' "$line"
        [[ $line =~ ^\[([0-9]+)/([1-9][0-9]*)\] ]] || continue
        step=${BASH_REMATCH[1]} steps=${BASH_REMATCH[2]} percent=$((BASH_REMATCH[1] * 100 / BASH_REMATCH[2]))
        if [ -t 2 ] || ((percent >= shown + 5 || SECONDS - then >= 60)); then
            status "compiling [$step/$steps] $percent %"
            shown=$percent then=$SECONDS
        fi
    done >>"$log"
}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
launcher=()
command -v ccache >/dev/null && launcher=(-DQT_USE_CCACHE=ON)
mapfile -t options <"$here/$target/qt.options"
status configuring
cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" \
    "${launcher[@]}" "${options[@]}" >>"$log" 2>&1 &&
    status compiling &&
    cmake --build "$work/build" -j "$(nproc 2>/dev/null || echo 2)" 2>&1 | progress &&
    status installing &&
    cmake --install "$work/build" >>"$log" 2>&1 || {
    [ -t 2 ] && echo >&2
    grep -E -m 20 'error|Error|FAILED' "$log" >&2 || tail -n 30 "$log" >&2
    say "Building Qt for $target failed (all of it in $log)"
    exit 1
}
status built
[ -t 2 ] && echo >&2
touch "$prefix/.complete"
mv "$log" "$prefix/build.log"
rm -rf "$work"
echo "$prefix"
