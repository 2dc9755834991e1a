#!/usr/bin/env bash
# command-line.sh VANTOREL BOXSIM VERSION
# --help and --version answer and exit 0 with no display at all; an unknown option or a stray
# argument exits 2 with a message and opens no window (there is no display to open one on);
# the toolkit's own options are still accepted.
set -uo pipefail
vantorel=$1 boxsim=$2 version=$3
source "$(dirname "$0")/../support/shell-checks.sh"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

out=$("$vantorel" --version) || fail "--version exited $?"
[[ $out == "vantorel $version" ]] || fail "--version printed '$out'"

out=$("$vantorel" --help) || fail "--help exited $?"
grep -q '^Usage: vantorel \[options\]' <<<"$out" || fail "--help printed no usage line: $out"
grep -q -- '--version' <<<"$out" || fail "--help does not name --version"

refused() { # refused ARGUMENT MESSAGE
  local err code
  err=$("$vantorel" "$1" 2>&1 >/dev/null)
  code=$?
  [[ $code -eq 2 ]] || fail "'$1' exited $code: $err"
  grep -qF "$2" <<<"$err" || fail "'$1' printed '$err'"
}
refused --no-such-option "Unknown option 'no-such-option'"
refused COM3 "unexpected argument 'COM3'"

out=$("$vantorel" -reverse -style Fusion --version) || fail "the toolkit's options were refused"

out=$("$boxsim" --version) || fail "vantorel-boxsim --version exited $?"
[[ $out == "vantorel-boxsim $version" ]] || fail "vantorel-boxsim --version printed '$out'"
echo "PASS"
