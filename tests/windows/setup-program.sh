#!/usr/bin/env bash
# setup-program.sh SETUP BOXSIM
# The setup program as a user runs it, under Wine and Xvfb. Silently for everyone: into
# Program Files with its Start-menu shortcut and its entry among the installed programs, then
# again over itself; refusing to go over a newer version unless asked. The installed
# vantorel.exe, with no settings file beside it, reads the user's own, which names COM12,
# linked to the simulated box: it opens the port and "HW Info" reaches the box; while it runs,
# an upgrade fails and changes nothing. The silent uninstall, as the entry names it, takes
# away every file it installed, the shortcut and the entry, and leaves the user's settings
# and a file of the user's own in the qt folder. Then silently for the user alone: into
# %LOCALAPPDATA%\Programs with an entry of the user's, and out again.
set -uo pipefail
setup=$1 boxsim=$2
# A machine of its own each time: a run that failed leaves its installs behind.
rm -rf "$WINEPREFIX"
source "$(dirname "$0")/program-under-wine.sh"

folder=$WINEPREFIX/drive_c/Program\ Files/Vantorel
programs=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'
# The user's settings file, as Windows names it in this prefix.
local_app_data=$(run cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
settings=$(run winepath -u "$local_app_data\\vantorel\\vantorel.ini" | tr -d '\r')
run "$setup" /S /AllUsers || fail "the silent install exited $?"
run "$setup" /S /AllUsers || fail "the silent install over an installed one exited $?"

entry() { run reg query "$1" | tr -d '\r'; }
value() { awk -v name="$1" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }' <<<"$2"; }
# A newer version installed: refused, unless asked.
run reg add "$key" /v DisplayVersion /d 999.0 /f >/dev/null
run "$setup" /S /AllUsers && fail "the silent install went over a newer version"
[[ $(value DisplayVersion "$(entry "$key")") == 999.0 ]] || fail "the refused install changed the entry"
run "$setup" /S /AllUsers /AllowDowngrade || fail "the silent install with /AllowDowngrade exited $?"

for file in vantorel.exe vantorel-cli.exe vantorel-cli.txt vantorel-example.ini README.txt COPYING.txt copyright.txt \
            qt/SOURCE.txt qt/third-party/freetype.txt runtime/gcc.txt Uninstall.exe; do
  [[ -f $folder/$file ]] || fail "the install lacks $file: $(ls -R "$folder")"
done
grep -q 'Start menu' "$folder/README.txt" || fail "the installed README.txt is the zip's: $(cat "$folder/README.txt")"
[[ ! -e $folder/vantorel.ini ]] || fail "the install put a settings file beside vantorel.exe"
[[ -f $programs/Vantorel.lnk ]] || fail "no Start-menu shortcut $programs/Vantorel.lnk"

machine_entry=$(entry "$key") || fail "no uninstall key $key"
version=$(run "$folder/vantorel.exe" --version | tr -d '\r') || fail "the installed program's --version exited $?"
expect() { [[ $(value "$1" "$machine_entry") == "$2" ]] || fail "$1 is '$(value "$1" "$machine_entry")', not '$2': $machine_entry"; }
expect DisplayName Vantorel
expect DisplayVersion "${version#vantorel }"
expect Publisher "The Vantorel developers"
expect InstallLocation 'C:\Program Files\Vantorel'
expect DisplayIcon 'C:\Program Files\Vantorel\vantorel.exe,0'
expect UninstallString '"C:\Program Files\Vantorel\Uninstall.exe" /AllUsers'
expect QuietUninstallString '"C:\Program Files\Vantorel\Uninstall.exe" /AllUsers /S'
expect NoModify 0x1
expect NoRepair 0x1
(($(value EstimatedSize "$machine_entry") > 0)) || fail "EstimatedSize is '$(value EstimatedSize "$machine_entry")': $machine_entry"

mkdir -p "$(dirname "$settings")"
printf '[init]\r\nport=COM12\r\n' >"$settings"
cp "$settings" "$work/settings.before"

start_box_as_com12 "$boxsim"
open_window "$folder/vantorel.exe"
request_hw_info
# An upgrade while the program runs stops before it changes anything.
find "$folder" "$programs" | sort >"$work/installed"
run "$setup" /S /AllUsers && fail "the silent install went on while vantorel.exe ran"
find "$folder" "$programs" | sort | cmp -s - "$work/installed" || fail "the refused install changed the installed files"
[[ $(entry "$key") == "$machine_entry" ]] || fail "the refused install changed the entry: $(entry "$key")"
# A running program's files cannot be removed.
stop_wine

# uninstall ENTRY: the quiet uninstall as Windows runs it, from the entry's
# QuietUninstallString. The uninstaller copies itself out of the folder and goes on from
# there, so that it can take the folder too, after this call has returned.
uninstall() {
  [[ $(value QuietUninstallString "$1") =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "no QuietUninstallString: $1"
  # shellcheck disable=SC2086 # the switches, one word each
  run "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} || fail "the silent uninstall exited $?"
}
echo mine >"$folder/qt/mine.txt"
uninstall "$machine_entry"
within 60 test ! -e "$folder/Uninstall.exe" || fail "the uninstall left Uninstall.exe"
[[ $(find "$folder" -mindepth 1 | sort | tr '\n' ' ') == "$folder/qt $folder/qt/mine.txt " ]] \
  || fail "the uninstall did not leave exactly the user's own file: $(find "$folder" -mindepth 1)"
[[ ! -e $programs/Vantorel.lnk ]] || fail "the uninstall left the shortcut"
! entry "$key" >/dev/null 2>&1 || fail "the uninstall left the key $key"
cmp -s "$settings" "$work/settings.before" || fail "the uninstall touched the user's settings $settings"

# For the user alone.
run "$setup" /S /CurrentUser || fail "the silent install for the user exited $?"
user_folder=$(dirname "$(dirname "$settings")")/Programs/Vantorel
[[ -f $user_folder/vantorel.exe ]] || fail "the install for the user made no $user_folder"
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'
user_entry=$(entry "$user_key") || fail "no uninstall key $user_key"
[[ $(value InstallLocation "$user_entry") == "$local_app_data\\Programs\\Vantorel" ]] || fail "the user's entry: $user_entry"
! entry "$key" >/dev/null 2>&1 || fail "the install for the user made the machine's entry"
user_programs=$(run winepath -u "$(run cmd /c 'echo %APPDATA%' | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')
[[ -f $user_programs/Vantorel.lnk ]] || fail "no shortcut in the user's Start menu $user_programs"

uninstall "$user_entry"
within 60 test ! -e "$user_folder" || fail "the uninstall for the user left: $(find "$user_folder")"
! entry "$user_key" >/dev/null 2>&1 || fail "the uninstall left the key $user_key"
echo PASS
