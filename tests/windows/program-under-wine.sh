# Sourced by the tests that drive vantorel.exe under Wine and Xvfb against the native simulated
# box. Needs WINEPREFIX and VANTOREL_TEST_COM; gives a scratch folder $work, removed on exit
# together with the box, its COM link and the Wine server.
: "${WINEPREFIX:?set WINEPREFIX}"
# The box's COM port: the test's own, numbered with every other test's.
com=COM${VANTOREL_TEST_COM:?set VANTOREL_TEST_COM}
com_link=$WINEPREFIX/dosdevices/com$VANTOREL_TEST_COM
export WINEPREFIX WINEDEBUG=-all
windows_tests=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$windows_tests/../support/shell-checks.sh"

# Ends every Windows program of the prefix.
stop_wine() { "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null; }

work=$(mktemp -d)
cleanup() {
  stop_wine
  stop_boxes
  rm -f "$com_link"
  rm -rf "$work"
}
trap cleanup EXIT

# Runs a Windows program, making the prefix on first use.
run() { "$windows_tests/../../cmake/run-under-wine.sh" "$@"; }

# start_box_as_com BOXSIM: the box as $com, logging what it receives and sends in
# $work/box.log. Only once the prefix exists: a dosdevices folder made before it keeps Wine
# from making it.
start_box_as_com() {
  [[ -d $WINEPREFIX/dosdevices ]] || fail "$com is linked before the Wine prefix exists"
  start_box "$1" "$work/port" "$work/box.log"
  ln -sfn "$(readlink -f "$work/port")" "$com_link"
}

# open_window PROGRAM: starts it and activates its window, $window; its output goes to
# $work/program.out.
open_window() {
  run "$1" >"$work/program.out" 2>&1 &
  window=
  find_window() { window=$(xdotool search --onlyvisible --name '^Vantorel$' 2>/dev/null | head -n1); [[ -n $window ]]; }
  within 60 find_window || fail "no window titled Vantorel: $(cat "$work/program.out")"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
}

# Ctrl+I: the HW Info request (opcode 01) reaches the box, and the box answers it.
request_hw_info() {
  xdotool key --window "$window" ctrl+i
  within 15 grep -q '^request: 01 00' "$work/box.log" || fail "the box got no HW Info request: $(cat "$work/box.log")"
  within 15 grep -q '^reply: ..' "$work/box.log" || fail "the box sent no reply: $(cat "$work/box.log")"
}
