#!/usr/bin/env bash
# setup-program.sh SETUP BOXSIM
# The setup program as a user runs it, silently, under Wine and Xvfb: it installs the program
# into Program Files with its Start-menu shortcut and its entry among the installed programs,
# and again over itself.
# The installed vantorel.exe, with no settings file beside it, reads the user's own, which
# names COM12, linked to the simulated box: it opens the port and "HW Info" reaches the box.
# The silent uninstall then takes away every file it installed, the shortcut and the entry,
# and leaves the user's settings file and a file of the user's own in the qt folder as they
# were.
set -uo pipefail
setup=$1 boxsim=$2
source "$(dirname "$0")/program-under-wine.sh"

folder=$WINEPREFIX/drive_c/Program\ Files/Vantorel
run "$setup" /S || fail "the silent install exited $?"
run "$setup" /S || fail "the silent install over an installed one exited $?"
shortcut=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Vantorel.lnk
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'

for file in vantorel.exe vantorel-cli.exe vantorel-cli.txt vantorel-example.ini README.txt COPYING.txt copyright.txt \
            qt/SOURCE.txt qt/third-party/freetype.txt runtime/gcc.txt Uninstall.exe; do
  [[ -f $folder/$file ]] || fail "the install lacks $file: $(ls -R "$folder")"
done
grep -q 'Start menu' "$folder/README.txt" || fail "the installed README.txt is the zip's: $(cat "$folder/README.txt")"
[[ ! -e $folder/vantorel.ini ]] || fail "the install put a settings file beside vantorel.exe"
[[ -f $shortcut ]] || fail "no Start-menu shortcut at $shortcut"

entry=$(run reg query "$key") || fail "no uninstall key $key"
value() { awk -v name="$1" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); sub(/\r$/, ""); print }' <<<"$entry"; }
version=$(run "$folder/vantorel.exe" --version | tr -d '\r') || fail "the installed program's --version exited $?"
expect() { [[ $(value "$1") == "$2" ]] || fail "$1 is '$(value "$1")', not '$2': $entry"; }
expect DisplayName Vantorel
expect DisplayVersion "${version#vantorel }"
expect Publisher "The Vantorel developers"
expect InstallLocation 'C:\Program Files\Vantorel'
expect DisplayIcon 'C:\Program Files\Vantorel\vantorel.exe,0'
expect UninstallString '"C:\Program Files\Vantorel\Uninstall.exe"'
expect QuietUninstallString '"C:\Program Files\Vantorel\Uninstall.exe" /S'
expect NoModify 0x1
expect NoRepair 0x1
(($(value EstimatedSize) > 0)) || fail "EstimatedSize is '$(value EstimatedSize)': $entry"

# The user's settings folder, as Windows names it in this prefix.
local_app_data=$(run cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
settings=$(run winepath -u "$local_app_data\\vantorel\\vantorel.ini" | tr -d '\r')
mkdir -p "$(dirname "$settings")"
printf '[init]\r\nport=COM12\r\n' >"$settings"
cp "$settings" "$work/settings.before"

start_box_as_com12 "$boxsim"
open_window "$folder/vantorel.exe"
request_hw_info
# A running program's files cannot be removed.
stop_wine

# The quiet uninstall as Windows runs it: the uninstaller copies itself out of the folder and
# goes on from there, so that it can take the folder too, after this call has returned. (Its
# _?= option would keep it in place and waiting, but takes the folder unquoted, and Wine quotes
# an argument holding spaces.)
echo mine >"$folder/qt/mine.txt"
run "$folder/Uninstall.exe" /S || fail "the silent uninstall exited $?"
within 60 test ! -e "$folder/Uninstall.exe" || fail "the uninstall left Uninstall.exe"
[[ $(find "$folder" -mindepth 1 | sort | tr '\n' ' ') == "$folder/qt $folder/qt/mine.txt " ]] \
  || fail "the uninstall did not leave exactly the user's own file: $(find "$folder" -mindepth 1)"
[[ ! -e $shortcut ]] || fail "the uninstall left the shortcut"
! run reg query "$key" >/dev/null 2>&1 || fail "the uninstall left the key $key"
cmp -s "$settings" "$work/settings.before" || fail "the uninstall touched the user's settings $settings"
echo PASS
