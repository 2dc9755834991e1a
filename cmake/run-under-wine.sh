#!/bin/sh
# Runs a program of the MinGW build under Wine, in the prefix named by WINEPREFIX (made on
# first use). With VANTOREL_BOXSIM set, the simulated box serves the program as COM12, or as
# the COM port VANTOREL_TEST_COM names (its control channel on the next one).
#   run-under-wine.sh PROGRAM.exe [ARGUMENTS...]
set -eu
: "${WINEPREFIX:?run-under-wine.sh: set WINEPREFIX}"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's wine64 package keeps its programs off PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wine" ] || { echo "run-under-wine.sh: wine64 is not installed" >&2; exit 1; }

# One test makes the prefix; others that start meanwhile wait for it. Wine has no "Courier
# New", the window's font: its metric twin Liberation Mono stands in, so that the windows under
# Wine are laid out as on Windows.
mkdir -p "$(dirname "$WINEPREFIX")"
flock "$WINEPREFIX.lock" sh -c '
  [ -f "$WINEPREFIX/vantorel-prefix-ready" ] && exit 0
  "$1" wineboot -i >"$WINEPREFIX.log" 2>&1 &&
  "$1" reg add "HKCU\\Software\\Wine\\Fonts\\Replacements" /v "Courier New" /t REG_SZ \
       /d "Liberation Mono" /f >>"$WINEPREFIX.log" 2>&1 &&
  touch "$WINEPREFIX/vantorel-prefix-ready"' sh "$wine"

# A server started here keeps no test output open and lingers a little for the next test.
"$wineserver" -p10 </dev/null >/dev/null 2>&1 || true

if [ -n "${VANTOREL_BOXSIM:-}" ]; then
  boxsim=$VANTOREL_BOXSIM
  unset VANTOREL_BOXSIM
  exec "$(dirname "$0")/../tests/support/with-boxsim.sh" --com "${VANTOREL_TEST_COM:-12}" "$boxsim" "$0" "$@"
fi

# Wine's background programs inherit the output of the program they start with and keep it
# open for seconds after it ends, which ctest would wait for: each output goes through a file.
output=$(mktemp)
errors=$(mktemp)
set +e
"$wine" "$@" >"$output" 2>"$errors"
status=$?
set -e
cat "$output"
cat "$errors" >&2
rm -f "$output" "$errors"
exit "$status"
