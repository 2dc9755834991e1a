#!/usr/bin/env bash
# packaged-program.sh ZIP BOXSIM
# The Windows package as a user gets it. Its command line answers on the streams it is given. unpacked from its zip, with a settings file beside
# vantorel.exe naming COM12, which Wine links to the simulated box. Under Wine and Xvfb the
# program starts, opens the port when its window is first activated, and "HW Info" (Ctrl+I)
# reaches the box, which answers; the log saved through the Log menu then holds the request
# the program sent and the reply it received. Each link of that chain has its own check.
set -uo pipefail
zip=$1 boxsim=$2
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEPREFIX WINEDEBUG=-all

work=$(mktemp -d)
cleanup() {
  "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null
  [[ -n ${box:-} ]] && kill "$box" 2>/dev/null
  rm -f "$WINEPREFIX/dosdevices/com12"
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$work" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
program=$(ls "$work"/vantorel-*/vantorel.exe) || fail "no vantorel.exe in $zip"
printf '[init]\r\nport=COM12\r\n' >"$(dirname "$program")/vantorel.ini"

# A window program has no console: given streams (as here), it answers on them; started from
# the desktop it would show a message box instead.
run() { "$here/../../cmake/run-under-wine.sh" "$program" "$@"; }
out=$(run --version) || fail "--version exited $?: $out"
[[ $out == "vantorel "* ]] || fail "--version printed '$out'"
out=$(run COM3)
code=$?
[[ $code -eq 2 && $out == *"unexpected argument 'COM3'"* ]] || fail "a stray argument exited $code: $out"

# COM12 is linked once the first run above has made the Wine prefix.
"$boxsim" --link "$work/port" >/dev/null 2>"$work/box.log" &
box=$!
for _ in $(seq 100); do [[ -e $work/port ]] && break; sleep 0.05; done
[[ -e $work/port ]] || fail "the simulated box did not start: $(cat "$work/box.log")"
ln -sfn "$(readlink -f "$work/port")" "$WINEPREFIX/dosdevices/com12"

# Waits up to $1 seconds for the command after it to succeed.
within() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

run >"$work/program.out" 2>&1 &
window=
find_window() { window=$(xdotool search --onlyvisible --name '^Vantorel$' 2>/dev/null | head -n1); [[ -n $window ]]; }
within 60 find_window || fail "no window titled Vantorel: $(cat "$work/program.out")"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

# Ctrl+I: the HW Info request (opcode 01) reaches the box, and the box answers it.
xdotool key --window "$window" ctrl+i
within 15 grep -q '^request: 01 00' "$work/box.log" || fail "the box got no HW Info request: $(cat "$work/box.log")"
within 15 grep -q '^reply: ..' "$work/box.log" || fail "the box sent no reply: $(cat "$work/box.log")"
# The reply is shown as ASCII: its longest printable run must reach the log.
reply_text=$(for byte in $(sed -n 's/^reply: //p' "$work/box.log" | head -n1); do printf "\\x$byte"; done \
             | tr -c '[:print:]' '\n' | awk 'length > length(best) { best = $0 } END { print best }')

# Log > Save log, through the keyboard: Alt opens the menu bar, "Log" is its third menu,
# "Save log" the third item; the file dialog takes the name.
saved=$work/saved.log
sleep 1
xdotool windowfocus --sync "$window"
xdotool key --delay 150 alt Right Right Down Down Down Return
sleep 2
xdotool type --delay 20 "Z:${saved//\//\\}"
xdotool key Return
within 15 test -s "$saved" || fail "the log was not saved to $saved"

grep -q '^S: 0x01 0x00' "$saved" || fail "the saved log holds no HW Info request: $(cat "$saved")"
[[ -n $reply_text ]] || fail "the box's reply holds no text: $(cat "$work/box.log")"
grep '^R: ' "$saved" | grep -qF "$reply_text" || fail "the saved log does not hold the box's reply '$reply_text': $(cat "$saved")"
grep -q 'COM port opened' "$saved" || fail "the saved log does not say the port opened: $(cat "$saved")"
echo PASS
