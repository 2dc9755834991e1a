#!/usr/bin/env bash
# installed-program.sh BUILD_DIR
# Installs into a temporary DESTDIR and checks what was installed: the file list, the menu
# entry and the software-centre entry. Then runs the installed program on a private X
# display against two simulated boxes: with only ~/.config/vantorel/vantorel.ini it talks to
# the box named there; with a vantorel.ini beside the executable, to the box named there.
# The boxes log each request and reply; Ctrl+I ("HW Info") makes the program send one.
set -uo pipefail
build=$1
here=$(dirname "$(readlink -f "$0")")
source "$here/../support/shell-checks.sh"
work=$(mktemp -d)
xvfb=
cleanup() {
  stop_boxes
  [[ -n $xvfb ]] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
  rm -rf "$work"
}
trap cleanup EXIT

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" || fail "cmake --install failed"
(cd "$root/usr" && find . ! -type d | sed 's|^\./||' | sort) > "$work/files"
diff -u <(sort "$here/installed-files.txt") "$work/files" || fail "other files were installed"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop-file-validate"
# The project has no homepage of its own yet, and names none: Debian 13's validator warns of
# that (Debian 12's does not). Any other error or warning fails.
if ! appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$work/appstream.log" 2>&1; then
  findings=$(grep -E '^[EW]: ' "$work/appstream.log")
  [[ -n $findings ]] && ! grep -qv ' url-homepage-missing' <<<"$findings" \
    || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
fi

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
within 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME/vantorel"

for box in configured beside; do
  start_box "$root/usr/bin/vantorel-boxsim" "$work/$box-port" "$work/$box.log"
done

# Starts the installed program, activates its window (which opens the port) and asks for
# the box's hardware info until box $1 has answered; then ends the program.
ask_box() {
  local box=$1
  "$root/usr/bin/vantorel" 2>>"$work/vantorel.log" &
  local program=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vantorel$' | head -n 1)
  [[ -n $window ]] || { kill "$program"; fail "no Vantorel window appeared"; }
  xdotool windowfocus --sync "$window"
  # A key pressed before the window had focus would be lost: ask again after a while.
  local result=1
  for _ in 1 2 3 4 5; do
    xdotool key ctrl+i
    within 4 grep -Eq '^reply:( [0-9A-F]{2})+$' "$work/$box.log" && { result=0; break; }
  done
  kill "$program"; wait "$program" 2>/dev/null
  [[ $result -eq 0 ]] || { cat "$work/vantorel.log" "$work/"*.log >&2; fail "the $box box got no request to answer"; }
}

printf '[init]\nport=%s\n' "$work/configured-port" > "$XDG_CONFIG_HOME/vantorel/vantorel.ini"
ask_box configured
grep -q '^request:' "$work/beside.log" && fail "the other box was asked too"
# The command line reads the window's settings.
requests_before=$(grep -c '^request:' "$work/configured.log")
"$root/usr/bin/vantorel-cli" --quiet info >"$work/cli.out" 2>&1 || fail "vantorel-cli info: $(cat "$work/cli.out")"
[[ $(grep -c '^request:' "$work/configured.log") -gt $requests_before ]] || fail "vantorel-cli did not ask the configured box"

printf '[init]\nport=%s\n' "$work/beside-port" > "$root/usr/bin/vantorel.ini"
requests_before=$(grep -c '^request:' "$work/configured.log")
ask_box beside
[[ $(grep -c '^request:' "$work/configured.log") -eq $requests_before ]] \
  || fail "the settings beside the program did not win"
"$root/usr/bin/vantorel-cli" --quiet info >"$work/cli.out" 2>&1 || fail "vantorel-cli info: $(cat "$work/cli.out")"
[[ $(grep -c '^request:' "$work/configured.log") -eq $requests_before ]] \
  || fail "vantorel-cli did not read the settings beside the program"
echo "PASS"
