#!/bin/sh
# Runs a test against the simulated box: starts vantorel-boxsim (its replies to opcode 7E
# padded to 10,000 bytes) with its port and its control channel behind links, names them in
# VANTOREL_TEST_PORT and VANTOREL_TEST_CONTROL for the test, and stops the box afterwards.
# The links keep their names while the box changes the terminals behind them (a reset, a
# cable pulled and plugged in again).
#   with-boxsim.sh [--com N] BOXSIM COMMAND...
#   --com N  the port is Wine's COMn and the control channel COMn+1: the links are
#            $WINEPREFIX/dosdevices/comN and comN+1
set -eu

com=
if [ "$1" = --com ]; then
  com=$2
  shift 2
fi
boxsim=$1
shift

work=$(mktemp -d)
if [ -n "$com" ]; then
  control_com=$((com + 1))
  mkdir -p "$WINEPREFIX/dosdevices"
  port_link=$WINEPREFIX/dosdevices/com$com
  control_link=$WINEPREFIX/dosdevices/com$control_com
  port=COM$com
  control=COM$control_com
else
  port_link=$work/port
  control_link=$work/control
  port=$port_link
  control=$control_link
fi

"$boxsim" --reply-length 7E:10000 --link "$port_link" --control-link "$control_link" \
  >"$work/terminals" 2>"$work/box.log" &
box=$!
cleanup() {
  kill "$box" 2>/dev/null || true
  wait "$box" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The box prints the paths of its two terminals once it serves them.
tries=0
until [ "$(wc -l <"$work/terminals")" -ge 2 ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 200 ] || ! kill -0 "$box" 2>/dev/null; then
    echo "with-boxsim.sh: the simulated box did not start" >&2
    cat "$work/box.log" >&2
    exit 1
  fi
  sleep 0.05
done

set +e
VANTOREL_TEST_PORT=$port VANTOREL_TEST_CONTROL=$control "$@"
status=$?
set -e
exit "$status"
