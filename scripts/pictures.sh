#!/usr/bin/env bash
# Makes the guides' pictures in docs/pictures/ from the current build, against the simulated
# box: the main window talking to it, each table dialog and the installer's dialogs (Linux,
# under Xvfb), and the setup program's pages (under Wine and Xvfb). The screen, its resolution, the style and the box's
# tables are fixed, so that a run on another day gives the same pictures. Not part of the tests.
#   scripts/pictures.sh [linux] [windows]     (both without one)
# It builds vantorel and vantorel-boxsim in build/ and the setup program in build-windows/;
# VANTOREL_PICTURES_BUILD and VANTOREL_PICTURES_WINDOWS_BUILD name builds to take instead.
set -euo pipefail
self=$(readlink -f "$0")
cd "$(dirname "$self")/.."
pictures=$PWD/docs/pictures
source tests/support/shell-checks.sh

# 1024x768 at 96 dots per inch, as a common screen.
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten tcp")

# save WINDOW NAME: the part of the screen the window covers (so that a list it has dropped
# down is in it), as docs/pictures/NAME.png, in few enough colours to stay small, undithered
# and without a time stamp, so that the same picture is the same file.
save() {
  local WIDTH HEIGHT X Y
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT|X|Y)=')"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/shot.png"
  convert "$work/shot.png" +dither -colors 64 -define png:exclude-chunks=date,time +set date:create +set date:modify \
          -strip "$pictures/$2.png"
  echo "made docs/pictures/$2.png"
}

# find_window TITLE-PATTERN: the visible window with that title, in $window.
find_window() { window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1); [[ -n $window ]]; }

# The box's tables: positions counting up in sevens, remote codes counting up, repeat 3.
write_box_tables() {
  local i
  for i in $(seq 0 32); do printf "\\$(printf %03o $((i * 7 % 256)))"; done >"$work/box.pos"
  for i in $(seq 0 95); do printf "\\$(printf %03o $((i + 16)))"; done >"$work/box.rem"
  printf '\003' >>"$work/box.rem"
}

# Under Xvfb: vantorel copied beside a settings file of its own (which is read before any
# other), talking to the box; HW Info and a composed message in its log; then each table
# dialog, reached from the keyboard as a user would (Alt, Reader, Positioner or Remote
# Control, Setting), read from the box as it opens; then the installer's dialogs.
linux_pictures() {
  local build=$1
  work=$(mktemp -d)
  trap 'stop_boxes; kill "$program" 2>/dev/null; rm -rf "$work"' EXIT
  write_box_tables
  start_box "$build/vantorel-boxsim" "$work/port" "$work/box.log" --positions "$work/box.pos" --remote "$work/box.rem"
  cp "$build/vantorel" "$work/vantorel"
  printf '[init]\nport=%s\n' "$work/port" >"$work/vantorel.ini"
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 "$work/vantorel" -style Fusion >"$work/program.out" 2>&1 &
  program=$!
  within 20 find_window '^Vantorel$' || fail "no main window: $(cat "$work/program.out")"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 1
  replies() { (($(grep -c '^reply: ' "$work/box.log") >= $1)); }
  xdotool key --window "$window" ctrl+i
  within 10 replies 1 || fail "the box did not answer HW Info: $(cat "$work/box.log")"
  sleep 1
  xdotool key --window "$window" ctrl+alt+c
  within 10 replies 2 || fail "the box did not answer the composed message: $(cat "$work/box.log")"
  sleep 1
  save "$window" main-window

  local main=$window dialog
  # Down opens "Reader" on "Open COM port"; then Close, Hardware, Remote Control, Positioner
  # (the separator skipped); Right opens the submenu, and Up wraps round to its last item,
  # "Setting".
  for dialog in "Positioner settings:4:positioner-dialog" "Remote control:3:remote-dialog"; do
    IFS=: read -r title downs name <<<"$dialog"
    xdotool windowfocus --sync "$main" key alt Right Down $(printf 'Down %.0s' $(seq "$downs")) Right Up Return
    within 15 find_window "^$title\$" || fail "no dialog $title"
    sleep 1.5
    # Back to the first edit: its caret then shows for half a second, when the picture is taken.
    xdotool key --window "$window" Tab shift+Tab
    sleep 0.2
    save "$window" "$name"
    xdotool windowfocus --sync "$window" key Escape
    within 10 bash -c '! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1' _ "^$title\$" || fail "$title did not close"
  done

  # The installer's dialogs from their shortcuts, typed into as a user would: Berlin to 19.2E
  # on a fixed date (the compass bearing and the empty field's today would change the picture
  # from day to day), with the sky under the figures; the transponder, then Tab past the LNB
  # list to the port.
  xdotool windowfocus --sync "$main" key ctrl+d
  within 15 find_window '^Point the Dish$' || fail "no dialog Point the Dish"
  sleep 1
  xdotool windowfocus --sync "$window" type '52.52N,13.40E'
  xdotool key --window "$window" Tab
  xdotool type --window "$window" '19.2E'
  xdotool key --window "$window" Tab
  xdotool type --window "$window" '2026-12-09'
  sleep 0.5
  save "$window" point-dish
  xdotool windowfocus --sync "$window" key Escape
  xdotool windowfocus --sync "$main" key ctrl+u
  within 15 find_window '^Switches and Single Cable$' || fail "no dialog Switches and Single Cable"
  sleep 1
  xdotool windowfocus --sync "$window" type '11362H'
  xdotool key --window "$window" Tab Tab 2
  sleep 0.5
  save "$window" switches-dialog
  xdotool windowfocus --sync "$window" key Escape
}

# Under Wine and Xvfb, in a prefix of its own, for the user alone: the licence, for whom, the
# folder, the port page listing the box's port by the name Device Manager gives it, and the
# finish page. "Find the box" is not pressed; as root the pages run with a /dev of their own
# (as the setup program's test does), so that the machine's serial ports are not listed.
windows_pictures() {
  local setup=$1 boxsim=$2
  work=$(mktemp -d)
  # The folder page shows the space left on drive C:, the prefix's file system: with mounts
  # of its own, one of a fixed size.
  [[ -n ${PICTURES_OWN_MOUNTS:-} ]] && mount -t tmpfs -o size=2g tmpfs "$work"
  export WINEPREFIX=$work/prefix WINEDEBUG=-all
  local wine_run=$PWD/cmake/run-under-wine.sh
  trap 'stop_boxes; "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null; umount "$work" 2>/dev/null; rm -rf "$work"' EXIT
  # A caret that blinks would show in one picture and not in the next.
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /d -1 /f >/dev/null
  start_box "$boxsim" "$work/port" "$work/box.log"
  register_port_in_wine COM3 "$(readlink -f "$work/port")" "USB Serial Port (COM3)"
  "$wine_run" "$setup" /CurrentUser >"$work/setup.out" 2>&1 &
  within 60 find_window '^Vantorel Setup' || fail "no setup window: $(cat "$work/setup.out")"
  local page
  for page in setup-licence setup-for-whom setup-folder; do
    sleep 2
    save "$window" "$page"
    xdotool windowfocus --sync "$window" key Return
  done
  # The port page comes once the files are in.
  local local_app_data settings
  local_app_data=$("$wine_run" winepath -u "$("$wine_run" cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')" | tr -d '\r')
  settings=$local_app_data/vantorel/vantorel.ini
  within 60 test -f "$local_app_data/Programs/Vantorel/Uninstall.exe" || fail "the setup program installed nothing"
  sleep 5
  # Its list dropped down, showing the box's port.
  xdotool windowfocus --sync "$window" key alt+Down
  sleep 1
  save "$window" setup-port
  xdotool key Escape
  for _ in $(seq 20); do
    xdotool windowfocus --sync "$window" key Down Return
    sleep 1
    [[ -f $settings ]] && break
  done
  [[ -f $settings ]] || fail "the port page wrote no settings"
  sleep 2
  save "$window" setup-finish
  xdotool windowfocus --sync "$window" key Return
}

case ${1:-} in
  --linux-stage) linux_pictures "$2"; exit ;;
  --windows-stage) windows_pictures "$2" "$3"; exit ;;
esac

parts=("$@")
[[ ${#parts[@]} -gt 0 ]] || parts=(linux windows)
scripts/install-deps.sh build test windows wine
mkdir -p "$pictures"
native=${VANTOREL_PICTURES_BUILD:-}
if [[ -z $native ]]; then
  native=$PWD/build
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j2 --target vantorel vantorel-boxsim
fi
for part in "${parts[@]}"; do
  case $part in
    linux)
      "${xvfb[@]}" bash "$self" --linux-stage "$native" ;;
    windows)
      windows_build=${VANTOREL_PICTURES_WINDOWS_BUILD:-}
      if [[ -z $windows_build ]]; then
        windows_build=$PWD/build-windows
        qt=$(scripts/build-qt-windows.sh)
        cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
              -DVANTOREL_QT_WINDOWS="$qt" -DVANTOREL_BOXSIM="$native/vantorel-boxsim"
        cmake --build build-windows -j2 --target windows_setup
      fi
      setup=$(ls "$windows_build"/vantorel-*-windows-x64-setup.exe)
      stage=("${xvfb[@]}" bash "$self" --windows-stage "$setup" "$native/vantorel-boxsim")
      if [[ $(id -u) == 0 ]]; then
        machine_dev=$(mktemp -d)
        PICTURES_OWN_MOUNTS=1 unshare --mount --propagation private bash -c \
          'source tests/support/shell-checks.sh; private_dev "$1"; shift; exec "$@"' private-dev "$machine_dev" "${stage[@]}"
        rmdir "$machine_dev" 2>/dev/null || true
      else
        "${stage[@]}"
      fi ;;
    *) echo "scripts/pictures.sh: no part '$part' (linux, windows)" >&2; exit 2 ;;
  esac
done
