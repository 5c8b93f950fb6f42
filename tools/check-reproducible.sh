#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Proves that the packages rebuild byte for byte: builds each one twice from the last commit,
# in two clones at two different paths (on two filesystems where it can), the second time a
# minute after the first at least, under the umasks 022 and 002 and in two time zones, then
# compares them file for file. Prints one line a package, "same" with its checksum or where the
# two differ (and what diffoscope says of it, when diffoscope is installed), and how long it
# took. Exit 0 when everything is the same.
#   check-reproducible.sh [deb|windows|web|all]...    (default all)
# The Debian package is made as the README says, the Windows ones and the web page as
# ./run.sh windows and ./run.sh web make them, with what those install. Qt for Windows comes
# from the cache, built once (build-qt.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages=()
for what in "${@:-all}"; do
    case "$what" in
        deb | windows | web) packages+=("$what") ;;
        all) packages+=(deb web windows) ;;
        *) echo "usage: $0 [deb|windows|web|all]..." >&2; exit 2 ;;
    esac
done
started=$SECONDS
work=$(mktemp -d "${TMPDIR:-/tmp}/gromzaks-reproducible.XXXXXX")
# The second builds go on another filesystem where there is one (a tmpfs in /dev/shm, say),
# which lists a folder's files in another order. The Debian package's stays on the first's:
# cpack adds up the folders' sizes on the disk into its Installed-Size, and a folder's size
# differs from one kind of filesystem to another (docs/reproducible.md).
elsewhere=$work
if [ -d /dev/shm ] && [ -w /dev/shm ] && [ "$(stat -c %d /dev/shm)" != "$(stat -c %d "$work")" ] &&
    [ "$(df -k --output=avail /dev/shm | tail -n 1)" -gt 1048576 ]; then
    elsewhere=$(mktemp -d /dev/shm/gromzaks-reproducible.XXXXXX)
fi
trap 'rm -rf "$work" "$elsewhere"' EXIT
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    echo "(what is not committed is left out: the last commit is built)"

# Builds PACKAGE in a fresh clone at FOLDER, under UMASK and in the time zone TZ, and lists in
# FOLDER/made what to compare, one path a line, relative to FOLDER/out.
build() {
    local package=$1 folder=$2 mask=$3 zone=$4
    git clone -q "$root" "$folder/gromzaks"
    # set -e holds in the subshell only outside a condition: its status is read after it.
    set +e
    (
        set -e
        cd "$folder/gromzaks"
        umask "$mask"
        export TZ=$zone
        case "$package" in
            deb)
                cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
                    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
                cmake --build build-deb -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
                (cd build-deb && umask 022 && cpack -G DEB >/dev/null)
                ln -s "$PWD/build-deb" "$folder/out"
                ;;
            windows)
                tools/windows/package.sh build-windows >/dev/null
                ln -s "$PWD/build-windows" "$folder/out"
                ;;
            web)
                tools/web/build.sh build-web >/dev/null
                ln -s "$PWD/build-web/page" "$folder/out"
                ;;
        esac
    ) >"$folder/build.log" 2>&1
    local status=$?
    set -e
    if [ "$status" -ne 0 ]; then
        tail -n 20 "$folder/build.log" >&2
        echo "$package: the build failed" >&2
        return 1
    fi
    case "$package" in
        deb) (cd "$folder/out" && ls ./*.deb) ;;
        windows) (cd "$folder/out" && ls ./*.zip ./*-setup.exe) ;;
        web) (cd "$folder/out" && find . -type f | sort) ;;
    esac >"$folder/made"
}

# Every package once, then a minute after the first began, every package again elsewhere.
for package in "${packages[@]}"; do
    mkdir -p "$work/$package-first" && build "$package" "$work/$package-first" 022 UTC
done
sleep $((started + 60 - SECONDS > 0 ? started + 60 - SECONDS : 0))
again() { if [ "$1" = deb ]; then echo "$work/$1-again-elsewhere"; else echo "$elsewhere/$1-again-elsewhere"; fi; }
for package in "${packages[@]}"; do
    mkdir -p "$(again "$package")" && build "$package" "$(again "$package")" 002 Pacific/Auckland
done

differ=0
for package in "${packages[@]}"; do
    one=$work/$package-first second=$(again "$package")
    if ! cmp -s "$one/made" "$second/made"; then
        echo "$package: differs: not the same files ($(diff "$one/made" "$second/made" | grep '^[<>]' | head -n 3 | tr '\n' ' '))"
        differ=1
        continue
    fi
    apart=()
    while read -r file; do
        cmp -s "$one/out/$file" "$second/out/$file" || apart+=("${file#./}")
    done <"$one/made"
    if [ ${#apart[@]} -eq 0 ]; then
        files=$(wc -l <"$one/made")
        echo "$package: same ($files file$([ "$files" -eq 1 ] || echo s))"
        (cd "$one/out" && xargs sha256sum <"$one/made" | sed 's#  \./#  #; s/^/    /')
        continue
    fi
    differ=1
    echo "$package: differs: ${apart[*]}"
    for file in "${apart[@]}"; do
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$one/out/$file" "$second/out/$file" 2>/dev/null | head -n 40 | sed 's/^/    /' || true
        else
            echo "    (apt-get install diffoscope-minimal, and this says where $file differs)"
        fi
    done
done
echo "== $((SECONDS - started)) s"
exit "$differ"
