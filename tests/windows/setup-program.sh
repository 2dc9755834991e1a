#!/usr/bin/env bash
# setup-program.sh SETUP SETUP-AS-STANDARD-USER WINDOW-TEXTS BOXSIM
# The setup program as a user runs it, under Wine and Xvfb. It asks Windows for no more rights
# than its user has, and Explorer shows its version. Silently for everyone: into
# Program Files with its Start-menu shortcuts and its entry among the installed programs,
# leaving no settings folder without /Port=, then writing the user's settings with the port
# /Port= names, then again over itself, keeping those settings; refusing to go over a newer
# version unless asked. The installed vantorel.exe
# reads those settings, which name the test's COM port, linked to the simulated box: it opens
# the port and "HW Info" reaches the box; while it runs, an upgrade fails and changes nothing. The silent
# uninstall, as the entry names it, takes away every file it installed, the shortcuts and the
# entry, and leaves the user's settings and a file of the user's own in the qt folder.
# Then through its pages: for everyone by a user without an administrator's rights (the build
# SETUP-AS-STANDARD-USER, which finds none), into a folder the user typed, and for the user
# alone. Each lists the box's COM port on its port page by Device Manager's name, choosing none
# by itself, "Find the box" chooses the port where the box answers, and it writes the user's
# settings with the COM name; the folder page shows the space the files take (read with
# WINDOW-TEXTS); the command prompt shortcut opens a console in Documents where vantorel-cli
# answers; each uninstall takes its install away, and the settings folder the user emptied.
set -uo pipefail
setup=$1 setup_as_standard_user=$2 window_texts=$3 boxsim=$4
# Wine gives each serial device of the machine a COM port (on a virtual machine often its
# console, /dev/ttyS0), and "Find the box" sends a request to every port: as root the test
# runs with a /dev of its own that has none of them.
if [[ $(id -u) == 0 && -z ${SETUP_TEST_PRIVATE_DEV:-} ]]; then
  exec env SETUP_TEST_PRIVATE_DEV=1 unshare --mount --propagation private bash -c \
    'source "$1"; private_dev "$2"; shift 2; exec bash "$@"' private-dev \
    "$(dirname "$0")/../support/shell-checks.sh" "$WINEPREFIX.machine-dev" "$0" "$@"
fi
# A machine of its own each time: a run that failed leaves its installs behind.
rm -rf "$WINEPREFIX"
source "$(dirname "$0")/program-under-wine.sh"

folder=$WINEPREFIX/drive_c/Program\ Files/Vantorel
programs=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'
# The user's settings file, as Windows names it in this prefix.
local_app_data=$(run cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
settings=$(run winepath -u "$local_app_data\\vantorel\\vantorel.ini" | tr -d '\r')

grep -qa 'requestedExecutionLevel level="asInvoker"' "$setup" || fail "the setup program asks Windows for more rights than its user's"
# vantorel-<version>-windows-x64-setup.exe
setup_version=${setup##*/vantorel-}
setup_version=${setup_version%-windows-x64-setup.exe}
strings -e l "$setup" | grep -qx "Vantorel $setup_version setup" || fail "the setup program has no version resource: $(strings -e l "$setup" | tail)"

run "$setup" /S /AllUsers || fail "the silent install without a port exited $?"
[[ ! -e $(dirname "$settings") ]] || fail "the install without a port made $(dirname "$settings")"
run "$setup" /S /AllUsers "/Port=$com" || fail "the silent install exited $?"
grep -q "^port=$com" "$settings" || fail "the install wrote no port $com into $settings: $(cat "$settings")"
cp "$settings" "$work/settings.before"
run "$setup" /S /AllUsers /Port=COM5 || fail "the silent install over an installed one exited $?"
cmp -s "$settings" "$work/settings.before" || fail "installing again changed the user's settings $settings"

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
for shortcut in Vantorel.lnk "Vantorel command prompt.lnk"; do
  [[ -f $programs/$shortcut ]] || fail "no Start-menu shortcut $programs/$shortcut"
done

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

start_box_as_com "$boxsim"
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
[[ ! -e $programs/Vantorel.lnk && ! -e "$programs/Vantorel command prompt.lnk" ]] || fail "the uninstall left a shortcut"
! entry "$key" >/dev/null 2>&1 || fail "the uninstall left the key $key"
cmp -s "$settings" "$work/settings.before" || fail "the uninstall touched the user's settings $settings"

# Through the pages: the box's COM port registered where Wine lists serial ports, with a port
# after it, so that the port page lists it among the ports vantorel-cli lists.
register_port_in_wine "$com" "$(readlink -f "$work/port")"
register_port_in_wine COM250 /dev/null
find_setup() { window=$(xdotool search --onlyvisible --name '^Vantorel Setup' 2>/dev/null | head -n1); [[ -n $window ]]; }
# next: Return on the page shown, its default button, once the window has drawn it.
next() { sleep 1; xdotool windowfocus --sync "$window" key Return; }
# page_shows TEXT: a line the shown setup page draws.
page_shows() { run "$window_texts" 'Vantorel Setup' | tr -d '\r' | grep -qxF "$1"; }
# through_pages FOLDER FOR-WHOM-KEY TYPED-FOLDER SETUP [SWITCHES...]: the setup program through
# its pages, with no settings yet, the key (if any) pressed on the page for whom and the folder
# (if any) typed on the folder page, whose texts go in $work/folder-page; the files are to go
# in FOLDER. The port page comes by itself once the files are in. The keys that choose the box's
# port on it go in one burst, again until the page has taken them: "Find the box" (the button
# after the list) where the test has a /dev of its own, otherwise Down until the box's port,
# which shows that nothing was chosen before (the first Down chooses the first port).
through_pages() {
  local installed=$1 for_whom=$2 typed=$3 setup_run position line keys=()
  shift 3
  rm -f "$settings"
  run "$@" >"$work/setup.out" 2>&1 &
  setup_run=$!
  within 30 find_setup || fail "no setup window"
  next # the licence, for information: Next
  [[ -z $for_whom ]] || { sleep 1; xdotool windowfocus --sync "$window" key "$for_whom"; }
  next # for whom
  sleep 1
  [[ -z $typed ]] || xdotool windowfocus --sync "$window" key Home shift+End type --delay 20 "$typed"
  run "$window_texts" 'Vantorel Setup' | tr -d '\r' >"$work/folder-page"
  next # the folder: Install, then on to the port page
  within 60 page_shows "Which COM port is the interface box connected to?" \
    || fail "no port page; $installed holds: $(ls "$installed")"
  [[ -f $installed/vantorel-cli.exe ]] || fail "the files did not go into $installed"
  find_setup
  position=$(run "$installed/vantorel-cli.exe" ports | grep -n "^$com  Port série USB ($com)"$'\r$' | cut -d: -f1)
  [[ -n $position ]] || fail "vantorel-cli does not list $com with its name"
  if [[ -n ${SETUP_TEST_PRIVATE_DEV:-} ]]; then
    keys=(Tab space)
  else
    for ((line = 1; line <= position; line++)); do keys+=(Down); done
  fi
  for _ in $(seq 30); do
    xdotool windowfocus --sync "$window" key "${keys[@]}" Return
    sleep 1
    [[ -f $settings ]] && break
  done
  [[ -f $settings ]] || fail "the port page wrote no settings file"
  next # Finish
  setup_ended() { ! kill -0 "$setup_run" 2>/dev/null; }
  within 15 setup_ended || fail "the setup program did not end: $(cat "$work/setup.out")"
  grep -q "^port=$com"$'\r$' "$settings" || fail "the port page wrote: $(cat "$settings")"
}
if [[ -z ${SETUP_TEST_PRIVATE_DEV:-} ]]; then
  skipped='"Find the box" was not pressed: it writes to every COM port, and only as root has the test a /dev without the machine'"'"'s serial ports'
fi

# For everyone, by a user without an administrator's rights, into a folder of the user's
# choosing: the run started with those rights puts the files there, and the user's run lists
# the ports with the vantorel-cli it put there. Its uninstall, likewise for everyone, goes
# through a run with those rights too.
chosen_folder=$WINEPREFIX/drive_c/Dish\ tools/Vantorel
through_pages "$chosen_folder" alt+a 'C:\Dish tools\Vantorel' "$setup_as_standard_user"
chosen_entry=$(entry "$key") || fail "no uninstall key $key"
[[ $(value InstallLocation "$chosen_entry") == 'C:\Dish tools\Vantorel' ]] || fail "the install for everyone: $chosen_entry"
[[ ! -e $folder/vantorel.exe ]] || fail "the install for everyone went into $folder"
uninstall "$chosen_entry"
within 60 test ! -e "$chosen_folder" || fail "the uninstall for everyone left: $(find "$chosen_folder")"
! entry "$key" >/dev/null 2>&1 || fail "the uninstall for everyone left the key $key"

# For the user alone, as /CurrentUser chose.
user_folder=$(dirname "$(dirname "$settings")")/Programs/Vantorel
through_pages "$user_folder" "" "" "$setup" /CurrentUser
# The folder page shows the space the files take: NSIS counts each file in whole KiB and shows
# the sum with one decimal.
kib=$(find "$user_folder" -type f ! -name Uninstall.exe -printf '%s\n' | awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')
required=$(sed -n 's/^Space required: \([0-9.]*\) \([KMG]\)B$/\1 \2/p' "$work/folder-page")
awk -v shown="$required" -v kib="$kib" 'BEGIN { split(shown, s, " "); unit = 1024 ^ index("KMG", s[2]) / 1024
                                               exit !(s[1] != "" && (kib - s[1] * unit) ^ 2 < (unit / 10) ^ 2) }' \
  || fail "the folder page shows '$(grep '^Space required' "$work/folder-page")' for files of $kib KiB"
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel'
user_entry=$(entry "$user_key") || fail "no uninstall key $user_key"
[[ $(value InstallLocation "$user_entry") == "$local_app_data\\Programs\\Vantorel" ]] || fail "the user's entry: $user_entry"
! entry "$key" >/dev/null 2>&1 || fail "the install for the user made the machine's entry"

# The command prompt shortcut, as the Start menu starts it: a console in the user's Documents,
# which this test makes a folder of its own (Wine links it to the home folder), where
# vantorel-cli answers.
user_programs=$(run winepath -u "$(run cmd /c 'echo %APPDATA%' | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')
[[ -f $user_programs/Vantorel.lnk ]] || fail "no shortcut in the user's Start menu $user_programs"
documents=$(run winepath -u "$(run cmd /c 'echo %USERPROFILE%' | tr -d '\r')\\Documents" | tr -d '\r')
rm -f "$documents" && mkdir -p "$documents"
run start "$(run winepath -w "$user_programs/Vantorel command prompt.lnk" | tr -d '\r')"
find_console() { window=$(xdotool search --onlyvisible --name 'cmd\.exe' 2>/dev/null | head -n1); [[ -n $window ]]; }
within 30 find_console || fail "the command prompt shortcut opened no console"
xdotool windowfocus --sync "$window" type --delay 20 'vantorel-cli --version > answer.txt & exit'
xdotool key Return
within 15 grep -q "^vantorel-cli ${version#vantorel }" "$documents/answer.txt" || fail "vantorel-cli did not answer in $documents: $(ls "$documents")"

rm "$settings"
uninstall "$user_entry"
within 60 test ! -e "$user_folder" || fail "the uninstall for the user left: $(find "$user_folder")"
[[ ! -e $(dirname "$settings") ]] || fail "the uninstall left the empty settings folder $(dirname "$settings")"
! entry "$user_key" >/dev/null 2>&1 || fail "the uninstall left the key $user_key"
if [[ -n ${skipped:-} ]]; then
  echo "SKIP: $skipped"
  exit 77
fi
echo PASS
