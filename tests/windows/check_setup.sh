#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The setup program as a Windows player runs it, under Wine in the tests' own prefix: its icon
# and version record, and those of its uninstaller; French on a French Windows, English
# elsewhere; a silent install that puts the zip's files in Program Files, one Start menu
# shortcut to the game and its entry in the installed programs; the installed game playing the
# start scenario; a second install over the first, which uninstalls it first and leaves one
# entry; and a silent uninstall that leaves no file, no shortcut and no key.
#   check_setup.sh ZIP WORK SOURCE_DIR VERSION    (the setup program is beside the zip)
# Exit 0 passed, 1 failed, 77 skipped (no setup program built here, no Wine, no X server).
set -uo pipefail
zip=$1 work=$2 source=$3 version=$4
setup=${zip%.zip}-setup.exe
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$setup" ] || {
    echo "SKIP: no setup program at $setup (./run.sh windows makes it)"
    exit 77
}
# shellcheck source-path=SCRIPTDIR
. "$here/wine.sh"
prepare_package "$zip" "$work" || exit $?
scenario=setup
# shellcheck source-path=SCRIPTDIR/../e2e
. "$here/../e2e/lib.sh"
command -v wrestool >/dev/null || skip "wrestool is missing (apt-get install icoutils, or ./run.sh windows)"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
key="$uninstall_key\\Gromzaks"
installed_at='C:\Program Files\Gromzaks'
folder="$WINEPREFIX/drive_c/Program Files/Gromzaks"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Gromzaks.lnk"
values() { wine reg query "$key" 2>/dev/null | tr -d '\r'; }
# Every file under a folder, with its size: the same files whatever strip wrote in their headers.
files_of() { (cd "$1" && find . -type f ! -name Uninstall.exe -printf '%P %s\n' | sort); }
zip_files=$(files_of "$(dirname "$game_exe")")
run_setup() {
    wine "$setup" /S || fail "the setup program failed (exit status $?)"
    wineserver -w
}
expected_key="DisplayName=Gromzaks
DisplayVersion=$version
Publisher=The Gromzaks developers
DisplayIcon=$installed_at\\gromzaks.exe
InstallLocation=$installed_at
UninstallString=\"$installed_at\\Uninstall.exe\""
expect_installed() {
    [ "$(files_of "$folder")" = "$zip_files" ] || fail "$1: the installed files are not the zip's:
$(diff <(echo "$zip_files") <(files_of "$folder"))"
    [ -f "$folder/Uninstall.exe" ] || fail "$1: no Uninstall.exe"
    # The shortcut's target, and the folder the game starts in.
    grep -qxF "$installed_at\\gromzaks.exe" <<<"$(strings -a "$shortcut" 2>/dev/null)" ||
        fail "$1: the Start menu shortcut does not point at $installed_at\\gromzaks.exe"
    grep -qxF "$installed_at" <<<"$(strings -el "$shortcut")" || fail "$1: the game does not start in $installed_at"
    local key_texts
    key_texts=$(values | sed -n 's/^ *\([A-Za-z]*\) *REG_SZ *\(.*\)$/\1=\2/p' | grep -v '^QuietUninstallString=')
    [ "$(sort <<<"$key_texts")" = "$(sort <<<"$expected_key")" ] || fail "$1: the uninstall key holds:
$key_texts"
}

# A run stopped halfway leaves nothing for this one to find.
rm -rf "$folder" "$shortcut"
wine reg delete "$key" /f >/dev/null 2>&1

expect_resources "$setup" "ProductName=Gromzaks" "ProductVersion=$version" "CompanyName=The Gromzaks developers"

run_setup
expect_installed "a silent install"
expect_resources "$folder/Uninstall.exe" "ProductName=Gromzaks" "ProductVersion=$version"

bash "$here/../e2e/run_scenario.sh" "$folder/gromzaks.exe" start || fail "the installed game did not play the start scenario"

# In French on a French Windows, in English elsewhere (a German one here): its title.
start_display
for language in "fr_FR.UTF-8=Installation de Gromzaks" "de_DE.UTF-8=Gromzaks Setup"; do
    LC_ALL=${language%%=*} wine "$setup" >/dev/null 2>&1 &
    wait_window "^${language#*=}\$" 30000
    wineserver -k
    wait $!
done

# Over an installed game, the setup program runs its uninstaller first: a value the setup
# program never writes goes with the old key.
wine reg add "$key" /v Left /d behind /f >/dev/null
run_setup
! grep -q Left <<<"$(values)" || fail "the second install did not uninstall the first"
expect_installed "a second install"
entries=$(wine reg query "$uninstall_key" /s | tr -d '\r' | grep -c 'DisplayName *REG_SZ *Gromzaks$')
[ "$entries" -eq 1 ] || fail "$entries entries in the installed programs after a second install"

# As the installed programs' list uninstalls it; its copy in the temporary folder runs on.
wine "$installed_at\\Uninstall.exe" /S
wineserver -w
[ ! -e "$folder" ] || fail "the uninstall left: $(cd "$folder" && find . | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the uninstall left the Start menu shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall left the key $key"
echo "PASS [setup] $(wc -l <<<"$zip_files") files installed, played, in French and English, installed again over them, uninstalled"
