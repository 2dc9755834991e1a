#!/usr/bin/env bash
# command-line.sh VANTOREL BOXSIM VERSION
# --help and --version answer and exit 0 with no display at all; an unknown option exits 2
# with a message; the toolkit's own options are still accepted.
set -uo pipefail
vantorel=$1 boxsim=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

out=$("$vantorel" --version) || fail "--version exited $?"
[[ $out == "vantorel $version" ]] || fail "--version printed '$out'"

out=$("$vantorel" --help) || fail "--help exited $?"
grep -q '^Usage: vantorel \[options\]' <<<"$out" || fail "--help printed no usage line: $out"
grep -q -- '--version' <<<"$out" || fail "--help does not name --version"

"$vantorel" --no-such-option >/dev/null 2>"${TMPDIR:-/tmp}/vantorel-cli.$$"
code=$? err=$(cat "${TMPDIR:-/tmp}/vantorel-cli.$$"); rm -f "${TMPDIR:-/tmp}/vantorel-cli.$$"
[[ $code -eq 2 ]] || fail "an unknown option exited $code"
grep -q "Unknown option 'no-such-option'" <<<"$err" || fail "an unknown option printed '$err'"

out=$("$vantorel" -reverse -style Fusion --version) || fail "the toolkit's options were refused"

out=$("$boxsim" --version) || fail "vantorel-boxsim --version exited $?"
[[ $out == "vantorel-boxsim $version" ]] || fail "vantorel-boxsim --version printed '$out'"
echo "PASS"
