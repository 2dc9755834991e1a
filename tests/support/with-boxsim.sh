#!/bin/sh
# Runs a test against the simulated box: starts vantorel-boxsim on a pseudo-terminal (its
# replies to opcode 7E padded to 10,000 bytes), names the port in VANTOREL_TEST_PORT for the
# test, and stops the box afterwards.
#   with-boxsim.sh [--com N] BOXSIM COMMAND...
#   --com N  the port is Wine's COMn: $WINEPREFIX/dosdevices/comN links to the pseudo-terminal
set -eu

com=
if [ "$1" = --com ]; then
  com=$2
  shift 2
fi
boxsim=$1
shift

work=$(mktemp -d)
"$boxsim" --reply-length 7E:10000 >"$work/port" 2>"$work/box.log" &
box=$!
cleanup() {
  kill "$box" 2>/dev/null || true
  wait "$box" 2>/dev/null || true
  [ -z "$com" ] || rm -f "$WINEPREFIX/dosdevices/com$com"
  rm -rf "$work"
}
trap cleanup EXIT

# The box prints the terminal's path once it serves it.
tries=0
until [ -s "$work/port" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 200 ] || ! kill -0 "$box" 2>/dev/null; then
    echo "with-boxsim.sh: the simulated box did not start" >&2
    cat "$work/box.log" >&2
    exit 1
  fi
  sleep 0.05
done
port=$(head -n 1 "$work/port")

if [ -n "$com" ]; then
  mkdir -p "$WINEPREFIX/dosdevices"
  ln -sfn "$port" "$WINEPREFIX/dosdevices/com$com"
  port=COM$com
fi

set +e
VANTOREL_TEST_PORT=$port "$@"
status=$?
set -e
exit "$status"
