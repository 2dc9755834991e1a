#!/bin/bash
# vantorel-cli against the simulated box: a command of each kind, the tables to and from
# files and standard I/O, each exit status, a port already held, Ctrl+C in a wait.
#   cli-commands.sh [--wine] CLI BOXSIM [WINDOW]
# --wine: CLI is vantorel-cli.exe, run under Wine in $WINEPREFIX; each box is a COM port of
# its own from $VANTOREL_TEST_COM on (60 without it). WINDOW: the window program, holding
# the port the command line then finds taken (not under Wine, which lets a second program
# open a COM port another holds).
set -u
wine=
if [[ $1 == --wine ]]; then
  wine=1
  shift
  export WINEDEBUG=-all
  unset VANTOREL_BOXSIM # this script starts its own boxes
fi
cli_program=$1
boxsim=$2
window_program=${3:-}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
boxes=()
links=()
cleanup() {
  [[ -n $wine ]] && { "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null; }
  for box in "${boxes[@]}"; do kill "$box" 2>/dev/null; done
  for link in "${links[@]}"; do rm -f "$link"; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

source "$here/../support/shell-checks.sh"

cli() {
  if [[ -n $wine ]]; then
    "$here/../../cmake/run-under-wine.sh" "$cli_program" "$@"
  else
    "$cli_program" "$@"
  fi
}

# expect STATUS ARGUMENTS...: runs the command line; its output lands in out and err.
expect() {
  local want=$1
  shift
  cli "$@" >out 2>err
  local got=$?
  [[ $got == "$want" ]] || fail "vantorel-cli $*: exit status $got, not $want: $(cat err)"
}

# start_box NAME BOX-OPTIONS...: a box keeping its tables in NAME.pos and NAME.rem, logging
# to NAME.log; its port's name in $port.
com=${VANTOREL_TEST_COM:-60}
start_box() {
  local name=$1
  shift
  "$boxsim" --link "$work/$name" --positions "$name.pos" --remote "$name.rem" "$@" >/dev/null 2>"$name.log" &
  boxes+=($!)
  within 5 test -e "$work/$name" || fail "the simulated box did not start: $(cat "$name.log")"
  port=$work/$name
  if [[ -n $wine ]]; then
    ln -sfn "$work/$name" "$WINEPREFIX/dosdevices/com$com"
    links+=("$WINEPREFIX/dosdevices/com$com")
    port=COM$com
    com=$((com + 1))
  fi
}

# The Wine prefix is made before the first COM link goes into it.
expect 0 --version
grep -q '^vantorel-cli [0-9]' out || fail "--version printed: $(cat out)"
expect 2 bogus
grep -q "unknown command 'bogus'" err || fail "an unknown command: $(cat err)"
expect 2 --port COM1 set-position 300

head -c 33 /dev/urandom >box.pos
start_box box --analyse-stream
box=$port

# A text reply in the ASCII form, whatever the display; a request's line before its reply's.
expect 0 --port "$box" --display binary info
[[ $(sed -n '1s/^\(S\): .*/\1/p;2s/^\(R\): .*interface box.*/\1/p' out | tr -d '\n') == SR ]] ||
  fail "info printed: $(cat out)"
expect 0 --port "$box" --quiet 22khz on
grep -q 'S: ' out && fail "--quiet printed the request: $(cat out)"
[[ -s out ]] || fail "--quiet printed no reply"
expect 0 --port "$box" diseqc 0xE0 '$31' 107 1
grep -q '^request: 03 04 E0 31 6B 01 ' box.log || fail "the box got no such DiSEqC message: $(cat box.log)"

# The tables: into files and back, and through standard input and output.
expect 0 --port "$box" positions get got.pos
[[ $(stat -c %s got.pos) == 33 ]] && cmp -s -n 32 got.pos box.pos || fail "positions get wrote another table"
head -c 33 /dev/urandom >new.pos
expect 0 --port "$box" positions put new.pos
within 5 cmp -s -n 32 new.pos box.pos || fail "positions put: the box holds another table"
head -c 97 /dev/urandom >new.rem
cli --port "$box" remote put - <new.rem >out 2>err || fail "remote put -: $(cat err)"
cli --port "$box" remote get - >back.rem 2>err || fail "remote get -: $(cat err)"
cmp -s back.rem new.rem || fail "the remote table did not come back as it was put"
grep -q '^R: ' err || fail "with the table on standard output the lines go to standard error"

expect 0 --port "$box" analyse on
expect 0 --port "$box" monitor --seconds 2
grep -q '^R: ' out || fail "monitor printed nothing while the box analysed the bus"
expect 0 --port "$box" analyse off

head -c 20 new.pos >twenty.pos
expect 4 --port "$box" positions put twenty.pos
grep -q '^Read beyond end of file' err || fail "a 20-byte positioner file: $(cat err)"
expect 3 --port "${wine:+COM99}${wine:-$work/none}" info
grep -q '^CreateFile INVALID_HANDLE_VALUE' err || fail "a missing port: $(cat err)"

# A port the window holds is refused, and stays with the window.
if [[ -n $window_program ]]; then
  mkdir -p config/vantorel
  printf '[init]\nport=%s\n' "$box" >config/vantorel/vantorel.ini
  XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$window_program" >window.out 2>&1 &
  window=$!
  holds_port() { find "/proc/$window/fd" -lname "$(readlink -f "$box")" 2>/dev/null | grep -q .; }
  within 20 holds_port || fail "the window did not open the port: $(cat window.out)"
  expect 3 --port "$box" info
  grep -q '^CreateFile INVALID_HANDLE_VALUE' err || fail "a port held: $(cat err)"
  kill "$window"
  wait "$window"
  expect 0 --port "$box" info
fi

# Replies missing, short and late: three boxes side by side, each waited for 3 seconds.
start_box silent-box --silent
silent=$port
start_box short-box --short
short=$port
start_box late-box --late 3500
late=$port
waits=()
for kind in silent short late; do
  (cli --port "${!kind}" step-up >"$kind.out" 2>"$kind.err"; echo $? >"$kind.status") &
  waits+=($!)
done
wait "${waits[@]}"
for kind in silent short late; do
  [[ $(cat "$kind.status") == 1 ]] || fail "a $kind box: exit status $(cat "$kind.status")"
  grep -q '^Receive error!' "$kind.err" || fail "a $kind box: $(cat "$kind.err")"
done

# Ctrl+C in a wait: the port is released and no table file is left behind.
cli --port "$silent" positions get interrupted.pos >/dev/null 2>&1 &
interrupted=$!
within 10 grep -q "^request: 06" silent-box.log || fail "the download did not start"
pkill -INT -f '^[^ ]*vantorel-cli(\.exe)? .*interrupted\.pos'
wait "$interrupted"
status=$?
[[ $status == 130 ]] || fail "Ctrl+C: exit status $status"
[[ -z $(ls -A | grep interrupted) ]] || fail "Ctrl+C left a file: $(ls -A)"
expect 1 --port "$silent" step-up
echo "vantorel-cli: all checks passed"
