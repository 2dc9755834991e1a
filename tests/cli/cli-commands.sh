#!/bin/bash
# vantorel-cli against the simulated box: a command of each kind, the tables to and from
# files, pipes and standard I/O, each exit status, a port already held, a normal user's port,
# a late reply, a busy bus, Ctrl+C, SIGTERM and SIGHUP in a wait, the dish's move waited for
# and halted by Ctrl+C.
#   cli-commands.sh [--wine] CLI BOXSIM [WINDOW]
# --wine: CLI is vantorel-cli.exe, run under Wine in $WINEPREFIX; each box is a COM port of
# its own from $VANTOREL_TEST_COM on. WINDOW: the window program, holding
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

source "$here/../support/shell-checks.sh"

work=$(mktemp -d)
# What the command line remembers (the dish's last angle) goes beside the test's settings, not
# into the user's own folder.
export XDG_CONFIG_HOME=$work/config
cleanup() {
  [[ -n $wine ]] && { "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null; }
  stop_boxes
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

run_program() {
  if [[ -n $wine ]]; then
    "$here/../../cmake/run-under-wine.sh" "$@"
  else
    "$@"
  fi
}
cli() { run_program "$cli_program" "$@"; }
# signal_running SIGNAL PATTERN PID: once a command line matching PATTERN runs, SIGNAL to it;
# the exit status of PID (the background run) lands in $status.
signal_running() {
  within 5 pgrep -f "^[^ ]*vantorel-cli $2" >/dev/null || fail "no vantorel-cli $2 started"
  sleep 0.3
  pkill "-$1" -f "^[^ ]*vantorel-cli $2"
  wait "$3"
  status=$?
}

# expect STATUS ARGUMENTS...: runs the command line; its output lands in out and err.
expect() {
  local want=$1
  shift
  cli "$@" >out 2>err
  local got=$?
  [[ -n $wine ]] && sed -i 's/\r$//' out err # a Windows console program's lines end in CR LF
  [[ $got == "$want" ]] || fail "vantorel-cli $*: exit status $got, not $want: $(cat err)"
}

# box NAME BOX-OPTIONS...: a box keeping its tables in NAME.pos and NAME.rem, logging to
# NAME.log; its port's name in $port (under Wine the next of the COM ports the test was given).
com=${VANTOREL_TEST_COM:-}
box() {
  local name=$1
  shift
  start_box "$boxsim" "$work/$name" "$name.log" --positions "$name.pos" --remote "$name.rem" "$@"
  port=$work/$name
  if [[ -n $wine ]]; then
    ln -sfn "$work/$name" "$WINEPREFIX/dosdevices/com$com"
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
expect 2 --settings "$work/no-such.ini" step-up
grep -q "no settings file '.*no-such.ini'" err || fail "a settings file that is not there: $(cat err)"

head -c 33 /dev/urandom >box.pos
box box --analyse-stream --control-link "$work/box-control"
box=$port

# The ports list: natively each is a device that exists; under Wine the ports registered in
# Wine's own list, where the box's port is registered, each with Device Manager's name for it.
if [[ -n $wine ]]; then
  register_port_in_wine "$box" "$work/box"
  expect 0 ports
  grep -qx "$box  Port série USB ($box)" out || fail "ports under Wine: $(cat out)"
  expect 0 --port "$box" step-up
else
  expect 0 ports
  while read -r name _; do [[ -e $name ]] || fail "ports listed $name"; done <out
fi

# A text reply in the ASCII form, whatever the display; a request's line before its reply's.
expect 0 --port "$box" --display binary info
[[ $(sed -n '1s/^\(S\): .*/\1/p;2s/^\(R\): .*interface box.*/\1/p' out | tr -d '\n') == SR ]] ||
  fail "info printed: $(cat out)"
# --quiet: each reply alone on one line, in the form asked for (hex by default).
expect 0 --port "$box" --quiet ir-get
grep -qx '[0-9A-F]\{2\} [0-9A-F]\{2\}' out || fail "--quiet ir-get printed: $(cat out)"
expect 0 --port "$box" --quiet --display ascii info
[[ $(wc -l <out) == 1 ]] && grep -q 'interface box.*keys$' out || fail "--quiet info printed: $(cat out)"
# In hex and binary the reply's CR and LF show as their digits.
expect 0 --port "$box" --quiet info
grep -q ' 0D 0A$' out || fail "--quiet info in hex printed: $(cat out)"
expect 0 --port "$box" --quiet --display binary info
grep -q ' 00001101 00001010$' out || fail "--quiet info in binary printed: $(cat out)"
expect 0 --port "$box" diseqc 0xE0 '$31' 107 1
grep -q '^request: 03 04 E0 31 6B 01 ' box.log || fail "the box got no such DiSEqC message: $(cat box.log)"

# A dish pointed from the site in the settings: aim sends nothing and names the message goto
# sends; a satellite below the site's horizon sends nothing.
printf '[site]\nlatitude=52.52N\nlongitude=13.40E\n' >site.ini
# Under --quiet the message alone, in the form diseqc takes (Berlin to 19.2E, 102 sixteenths
# east: E0 66).
expect 0 --settings site.ini --quiet aim 19.2E
message=$(cat out)
[[ $message == '0xE0 0x31 0x6E 0xE0 0x66' ]] || fail "--quiet aim printed: $message"
expect 0 --port "$box" diseqc $message
expect 0 --settings site.ini --port "$box" goto 19.2E
[[ $(grep '^request: 03 05 E0 31 6E E0 66 ' box.log | wc -l) == 2 ]] ||
  fail "diseqc \$(aim --quiet) and goto sent: $(tail -n 2 box.log)"
requests=$(grep -c '^request:' box.log)
expect 2 --site 33.87S,151.21E --port "$box" goto 19.2E
grep -q '19.2E is below the horizon at 33.87S,151.21E' err || fail "goto below the horizon: $(cat err)"
[[ $(grep -c '^request:' box.log) == "$requests" ]] || fail "goto below the horizon sent a request"

# The site last typed in the window serves when neither --site nor [site] gives one.
mkdir remembered
printf '[init]\n' >remembered/vantorel.ini
printf '[site]\nlatitude=52.52N\nlongitude=13.4E\n' >remembered/last-site.ini
expect 0 --settings remembered/vantorel.ini --quiet aim 19.2E
[[ $(cat out) == "$message" ]] || fail "aim from the site last typed: $(cat out) $(cat err)"

# The installer's messages: each command once to the box, as the box logs it; a dry run prints
# the same requests and sends nothing. A satellite comes by name from the user's own list
# beside the settings too; aim's motor line is the count in sixteenths (102 for Berlin to 19.2E).
printf '[satellites]\n19.2E = Home Bird\n' >satellites.ini
expect 0 --settings site.ini aim home bird
grep -qx 'satellite: 19.2E (Home Bird)' out && grep -qx 'motor:     6.38 degrees east' out &&
  grep -qx 'diseqc:    E0 31 6E E0 66' out || fail "aim by name: $(cat out)"
expect 0 --settings site.ini aim hot bird
grep -qx 'satellite: 13E (Hot Bird 13E, Hot Bird 13F, Hot Bird 13G)' out || fail "aim hot bird: $(cat out)"
# The compass on a date: NOAA's model puts Berlin's declination at 5.2 degrees east late in
# 2026, so 172.7 is 167.5 on a compass; outside the model's years there is no figure. Under the
# motor's angle, its mounting for 52.52N (tests/protocol/tst_dishpointing.cpp works it out).
expect 0 --settings site.ini aim 19.2E --date 2026-12-09
grep -qx 'compass:   167.5 degrees (declination 5.2 degrees east, 2026-12-09)' out \
  && grep -q '^scale:     52.5 degrees' out && grep -q '^centre:    29.9 degrees' out || fail "aim on a date: $(cat out)"
expect 0 --settings site.ini aim 19.2E --date 2031-01-01
grep -qx 'compass:   none for 2031-01-01: the magnetic model covers 2025 to 2029' out || fail "aim in 2031: $(cat out)"
# With a site, each position's azimuth and elevation; --visible keeps Berlin's sky. Without
# one, the names alone.
expect 0 --settings site.ini satellites
grep -qx '19.2E   azimuth 172.7, elevation  29.7   Home Bird' out && [[ $(wc -l <out) -ge 60 ]] \
  || fail "satellites from a site: $(head out)"
cp out satellites.out
all=$(wc -l <out)
expect 0 --settings site.ini satellites --visible
(($(wc -l <out) < all)) && ! grep -q 'elevation *-' out || fail "satellites --visible: $(cat out)"
printf '[init]\n' >no-site.ini
expect 0 --settings no-site.ini satellites
grep -qx '19.2E   Home Bird' out || fail "satellites without a site: $(head out)"
# A dry run of a command that only prints prints the same and ends with 0.
expect 0 --settings site.ini --dry-run satellites
cmp -s out satellites.out || fail "--dry-run satellites: $(head -n 3 out)"
expect 0 --settings site.ini --dry-run aim 19.2E
grep -qx 'diseqc:    E0 31 6E E0 66' out || fail "--dry-run aim: $(cat out)"
expect 0 --dry-run ports
expect 2 --dry-run monitor
grep -q 'not with monitor, which only listens$' err || fail "--dry-run monitor: $(cat err)"
expect 2 --dry-run ports --probe
grep -q 'not with ports --probe, which asks every port$' err || fail "--dry-run ports --probe: $(cat err)"
# sends ARGUMENTS... -- PACKET...: the box's last requests start with the packets, in turn.
sends() {
  local arguments=()
  while [[ $1 != -- ]]; do arguments+=("$1"); shift; done
  shift
  expect 0 --port "$box" "${arguments[@]}"
  local logged packet i=1
  logged=$(grep '^request:' box.log | tail -n $# | cut -d' ' -f2-)
  for packet in "$@"; do
    [[ $(sed -n "${i}p" <<<"$logged") == "$packet "* ]] || fail "vantorel-cli ${arguments[*]}: the box got $logged"
    i=$((i + 1))
  done
}
sends switch 2 11362H --uncommitted 5 -- "03 04 E0 10 39 F4" "03 04 E0 10 38 F6"
sends scr 1 1210 11362H -- "03 05 E0 10 5A 09 64"
grep -qx 'tune to:   1212 MHz' out || fail "scr printed: $(cat out)"
sends scr 1 1210 11362H --jess -- "03 04 70 05 E8 02"
sends halt -- "03 03 E0 31 60"
sends limit east -- "03 03 E0 31 66"
sends drive east 5 -- "03 04 E0 31 68 FB"
sends drive west 10s -- "03 04 E0 31 69 0A"
sends store 3 -- "03 04 E0 31 6A 03"
sends goto slot 3 -- "03 04 E0 31 6B 03"
sends --settings site.ini goto hot bird -- "03 05 E0 31 6E D0 07"
# The committed message first, each followed by its repeat, and a pause of 300 ms at least
# between a message's arrival and the next one's (a reply and the pause lie between them).
box_control box-control clear-requests
sends switch 2 11362H --uncommitted 5 --committed-first --repeat 1 --gap 300 -- \
  "03 04 E0 10 38 F6" "03 04 E1 10 38 F6" "03 04 E0 10 39 F4" "03 04 E1 10 39 F4"
gaps=$(box_ask box-control arrival-gaps)
[[ $(wc -w <<<"$gaps") == 3 ]] || fail "the box timed the arrivals of 4 requests as: $gaps"
for gap in $gaps; do
  ((gap >= 300)) || fail "--gap 300 left only $gap ms between two messages ($gaps)"
done

# The move's time: the angle sent last (the reference, 0) to Berlin's 19.2E, 102 sixteenths,
# 6.375 degrees east: 6.375 / 8 + 1 = 1.797 s at 8 degrees/s. The wait lasts at least that.
expect 0 --settings site.ini --port "$box" drive-to-zero
expect 0 --settings site.ini --port "$box" --dry-run --speed 8 goto 19.2E --wait
grep -qx 'turning 6.4 degrees east: 1.8 s at 8.0 degrees/s' out || fail "a dry run's estimate: $(cat out)"
started=$(date +%s%N)
expect 0 --settings site.ini --port "$box" --speed 8 goto 19.2E --wait
waited=$((($(date +%s%N) - started) / 1000000))
((waited >= 1797)) || fail "goto --wait at 8 degrees/s ended after $waited ms"
grep -qx 'the dish should now be in place' out || fail "goto --wait printed: $(cat out)"
# A stored position's angle is known too; aim says the move from where the dish was sent.
expect 0 --settings site.ini --port "$box" store 1
expect 0 --settings site.ini --port "$box" goto slot 0
expect 0 --settings site.ini --speed 2 --dry-run goto slot 1 --wait
grep -qx 'turning 6.4 degrees east: 4.2 s at 2.0 degrees/s' out || fail "goto slot's estimate: $(cat out)"
expect 0 --settings site.ini --speed 2 aim 19.2E
grep -qx 'move:      turning 6.4 degrees east: 4.2 s at 2.0 degrees/s' out || fail "aim's move: $(cat out)"
# Refused before anything is sent.
requests=$(grep -c '^request:' box.log)
expect 2 --settings site.ini --port "$box" --speed 0 goto 19.2E --wait
grep -q "at most 10, not '0'" err || fail "--speed 0: $(cat err)"
expect 2 --port "$box" switch 2 11362H --wait
grep -q '^vantorel-cli: --wait does not go with switch: ' err || fail "--wait with switch: $(cat err)"
[[ $(grep -c '^request:' box.log) == "$requests" ]] || fail "a refused --speed or --wait sent a request"
# Ctrl+C in the wait halts the dish (E0 31 60) before the program ends with 130.
cli --settings site.ini --port "$box" goto 30W --wait >wait.out 2>wait.err &
waiting=$!
goto_sent() { [[ $(grep -c '^request: 03 05 E0 31 6E' box.log) -gt $1 ]]; }
within 10 goto_sent "$(grep -c '^request: 03 05 E0 31 6E' box.log)" || fail "goto --wait sent nothing"
sleep 0.5
pkill -INT -f '^[^ ]*vantorel-cli(\.exe)? .*goto 30W --wait'
wait "$waiting"
status=$?
[[ $status == 130 ]] || fail "Ctrl+C in goto --wait: exit status $status: $(cat wait.err)"
halt_logged() { tail -n 4 box.log | grep -q '^request: 03 03 E0 31 60 '; }
within 5 halt_logged || fail "Ctrl+C in a wait put no halt on the bus: $(tail -n 3 box.log)"

requests=$(grep -c '^request:' box.log)
expect 0 --port "$box" --dry-run switch 2 11362H --repeat 1
[[ $(cat out) == "S: 0x03 0x04 0xE0 0x10 0x38 0xF6 0x00 0x00 0x00 0x00 0x00"$'\n'"S: 0x03 0x04 0xE1 0x10 0x38 0xF6 0x00 0x00 0x00 0x00 0x00" ]] ||
  fail "a dry run printed: $(cat out)"
expect 2 --port "$box" switch 5 11362H
grep -q 'switch port 5 is outside 1-4' err || fail "port 5: $(cat err)"
[[ $(grep -c '^request:' box.log) == "$requests" ]] || fail "a dry run or a refused switch sent a request"

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

# Names in any script: Greek, Cyrillic, Polish and one letter outside the Basic Multilingual
# Plane (on Windows outside every ANSI code page), for the program's folder, its settings file
# beside it, a table file and a file named in an error.
unicode='Prüfung Ωmega таблица Łódź 𝄞'
mkdir "$unicode"
cp "$cli_program" "$unicode/"
printf '[init]\nport=%s\n' "$box" >"$unicode/vantorel.ini"
run_program "$unicode/$(basename "$cli_program")" positions get "$unicode.pos" >out 2>err ||
  fail "the settings beside a program in '$unicode': $(cat err)"
[[ $(stat -c %s "$unicode.pos") == 33 ]] || fail "no table saved as '$unicode.pos': $(ls)"
expect 0 --port "$box" positions put "$unicode.pos"
cp new.rem "$unicode.rem"
expect 4 --port "$box" positions put "$unicode.rem"
grep -q "^$unicode.rem holds 97 bytes" err || fail "an error naming '$unicode.rem': $(cat err)"
if [[ -n $wine ]]; then
  # In a console too the letters show as written; Wine's console writes the one beyond the
  # Basic Multilingual Plane as two replacement characters, so the check stops before it.
  LANG=C.UTF-8 script -qc "$(printf '%q ' "$(command -v wine64 || echo /usr/lib/wine/wine64)" \
    "$cli_program" --port "$box" positions put "$unicode.rem")" /dev/null </dev/null >console.out 2>&1
  grep -q "${unicode% *}" console.out || fail "a console showed: $(cat console.out)"
fi

# A put takes only a file of the table's size, and sends nothing otherwise. A file that fails
# is named.
expect 4 --port "$box" positions put missing.pos
grep -q '^missing.pos: File not found' err || fail "a missing file to put: $(cat err)"
expect 4 --port "$box" positions put new.rem
grep -q '^new.rem holds 97 bytes, not the 33 of a positioner table' err || fail "a remote file put as positions: $(cat err)"
cli --port "$box" positions put - <new.rem >out 2>err
[[ $? == 4 ]] && cmp -s -n 32 new.pos box.pos || fail "97 bytes on standard input were put as positions"
if [[ -z $wine ]]; then
  # Pipes and devices are files too; a link keeps pointing to the file a get replaces.
  head -c 33 /dev/urandom >piped.pos
  expect 0 --port "$box" positions put <(cat piped.pos)
  within 5 cmp -s -n 32 piped.pos box.pos || fail "a put from a pipe: $(cat err)"
  cli --port "$box" positions get /dev/stdout 2>/dev/null | cmp -s -n 32 - piped.pos || fail "get /dev/stdout"
  cp new.pos linked.pos && ln -s linked.pos link.pos
  expect 0 --port "$box" positions get link.pos
  [[ -L link.pos ]] && cmp -s -n 32 linked.pos piped.pos || fail "a get into a link: $(ls -l)"
  cli --port "$box" remote get - >/dev/full 2>err
  status=$?
  [[ $status == 4 ]] && grep -q '^standard output: Disk full' err || fail "a table on a full standard output: $status $(cat err)"
  # The command is carried out whatever happens to its output, and the user is told.
  cli --port "$box" step-up >/dev/full 2>err
  status=$?
  [[ $status == 5 ]] && grep -qx 'vantorel-cli: cannot write to standard output: No space left on device' err ||
    fail "a full standard output: $status $(cat err)"
  # A dry run's lines are its whole result: the same rule.
  cli --dry-run scr 1 1210 11362H >/dev/full 2>err
  status=$?
  [[ $status == 5 ]] && grep -qx 'vantorel-cli: cannot write to standard output: No space left on device' err ||
    fail "a dry run on a full standard output: $status $(cat err)"
  # A reader that closed its pipe (| head -1) wanted no more: the command ends quietly, as
  # ls does, after it was carried out.
  exec {closed}> >(:)
  wait $!
  requests=$(grep -c '^request: 05' box.log)
  cli --port "$box" step-up >&"$closed" 2>err
  status=$?
  [[ $status == 0 && ! -s err ]] || fail "a closed output pipe: exit status $status: $(cat err)"
  within 5 test "$(grep -c '^request: 05' box.log)" -gt "$requests" || fail "a closed output pipe kept the request from the box"
  for arguments in satellites "--dry-run satellites"; do
    cli --settings site.ini $arguments >&"$closed" 2>err
    status=$?
    [[ $status == 0 && ! -s err ]] || fail "$arguments into a closed pipe: exit status $status: $(cat err)"
  done
  exec {closed}>&-
fi

# Bus traffic that follows analyse's reply at once, and faster than a read's quiet gap, holds
# no reply back, and a monitor streams it; a reply amid the traffic, which stops after it, is
# no reply too long.
box_control box-control analyse-interval 40
expect 0 --port "$box" analyse on
expect 0 --port "$box" monitor --seconds 1
grep -q '^R: ' out || fail "monitor printed nothing on a busy bus"
expect 0 --port "$box" analyse off
box_control box-control analyse-interval 500

# Each line reaches a file while monitor runs (under Wine, only once the run has ended: the
# output goes through a file there), and Ctrl+C ends monitor at once, with 0.
expect 0 --port "$box" analyse on
cli --port "$box" monitor >monitor.out 2>&1 &
monitor=$!
if [[ -z $wine ]]; then
  within 5 grep -q '^R: ' monitor.out || fail "monitor wrote nothing while the box analysed the bus"
else
  sleep 2
fi
kill -0 "$monitor" || fail "monitor ended by itself"
pkill -INT -f '^[^ ]*vantorel-cli(\.exe)? .*monitor'
wait "$monitor"
status=$?
[[ $status == 0 ]] && grep -q '^R: ' monitor.out || fail "Ctrl+C in monitor: exit status $status: $(cat monitor.out)"
if [[ -z $wine ]]; then
  # A request to terminate is no normal end: 143, as the guide says.
  cli --port "$box" monitor --seconds 60 >/dev/null 2>&1 &
  signal_running TERM '.*monitor --seconds 60' $!
  [[ $status == 143 ]] || fail "SIGTERM in monitor: exit status $status"
fi
expect 0 --port "$box" --quiet --display ascii monitor --seconds 1
grep -q '^BUS ' out && ! grep -q '^R: ' out || fail "--quiet monitor printed: $(cat out)"
expect 0 --port "$box" analyse off

missing_port=$work/none
[[ -n $wine ]] && missing_port=COM99
expect 3 --port "$missing_port" info
grep -q '^cannot open .*\(COM99\|none\): ' err || fail "a missing port: $(cat err)"
if [[ -z $wine ]]; then
  expect 3 --port /dev/null info
  grep -q 'cannot open /dev/null: not a serial port' err || fail "/dev/null as the port: $(cat err)"
fi

# A port the window holds is refused, and stays with the window.
if [[ -n $window_program ]]; then
  mkdir -p config/vantorel
  printf '[init]\nport=%s\n' "$box" >config/vantorel/vantorel.ini
  XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen "$window_program" >window.out 2>&1 &
  window=$!
  holds_port() { find "/proc/$window/fd" -lname "$(readlink -f "$box")" 2>/dev/null | grep -q .; }
  within 20 holds_port || fail "the window did not open the port: $(cat window.out)"
  expect 3 --port "$box" info
  grep -qx "$box is in use by another program" err || fail "a port held: $(cat err)"
  kill "$window"
  wait "$window"
  expect 0 --port "$box" info
elif [[ -z $wine ]]; then
  skip "a port the window holds: no window program given (the ThreadSanitizer build has none)"
fi

# A normal user opens the port again after each run closed it, and is told which group a port
# it may not open belongs to.
if [[ -z $wine && $(id -u) == 0 ]]; then
  as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  mkdir user
  cp "$cli_program" "$boxsim" user/
  chown -R nobody user
  chmod 755 "$work"
  nobodys_box() { exec "${as_nobody[@]}" user/vantorel-boxsim "$@"; }
  start_box nobodys_box "$work/user/port" user.log --control-link "$work/user/control"
  for run in 1 2 3 4 5; do
    "${as_nobody[@]}" user/vantorel-cli --port "$work/user/port" step-up >/dev/null 2>err ||
      fail "run $run as nobody: $(cat err)"
  done
  # A hang-up in a put is told as SIGTERM is, and the port is given back for the next run.
  box_control user/control fault silent
  "${as_nobody[@]}" user/vantorel-cli --port "$work/user/port" positions put new.pos >/dev/null 2>hup.err &
  hung_up=$!
  within 10 grep -q '^request: 0A' user.log || fail "the upload as nobody did not start"
  kill -HUP "$hung_up"
  wait "$hung_up"
  status=$?
  [[ $status == 129 ]] && grep -q 'answered 0 of the 4 writes' hup.err || fail "SIGHUP in a put: $status $(cat hup.err)"
  box_control user/control fault none
  "${as_nobody[@]}" user/vantorel-cli --port "$work/user/port" step-up >/dev/null 2>err ||
    fail "the run after a hang-up as nobody: $(cat err)"
  # Another group than dialout, so that the group named is the device's own.
  chgrp users "$(readlink -f "$box")" && chmod 660 "$(readlink -f "$box")"
  "${as_nobody[@]}" user/vantorel-cli --port "$box" info >/dev/null 2>err
  status=$?
  [[ $status == 3 ]] && grep -qxF "cannot open $box: Permission denied: the port belongs to the group users; join it (sudo adduser \$USER users) and log in again" err ||
    fail "a port of the group users, as nobody: $status $(cat err)"
elif [[ -z $wine ]]; then
  skip "a normal user's runs and a port of another group: not root, so no other user to run as"
fi

# The box numbers no request: a reply that comes late is not taken for the next one's.
box later-box --late 1000
later=$port
expect 1 --port "$port" --timeout 500 info
expect 1 --port "$port" step-up
grep -q '^reply too long: 90 bytes, 2 expected' err || fail "a late reply taken for the next: $(cat err)"

# Replies missing, short and late: three boxes side by side, each waited for 3 seconds.
box silent-box --silent
silent=$port
box short-box --short
short=$port
box late-box --late 3500
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
expect 1 --port "$short" --timeout 200 positions put new.pos
# ports --probe: two boxes, a silent one and a device that is no serial port behind
# /dev/serial/by-id links, and a box as the system's console, in a /dev of the test's own (a
# private mount namespace, so only these ports are listed; a normal user's in a user namespace).
own_namespace=(unshare --mount --propagation private)
[[ $(id -u) == 0 ]] || own_namespace=(unshare --user --map-root-user --mount --propagation private)
if [[ -z $wine ]] && ! "${own_namespace[@]}" true 2>/dev/null; then
  skip "ports --probe: no mount namespace of the test's own (not root, and no user namespace)"
elif [[ -z $wine ]]; then
  box other-box
  other=$port
  box console-box
  printf 'tty0 ttyUSB7\n' >console.active
  "${own_namespace[@]}" bash -c '
    set -e
    source "$6"
    private_dev machine-dev
    mkdir -p /dev/serial/by-id
    ln -s "$(readlink -f "$2")" /dev/serial/by-id/usb-box-one
    ln -s "$(readlink -f "$3")" /dev/serial/by-id/usb-box-two
    ln -s "$(readlink -f "$4")" /dev/serial/by-id/usb-silent
    ln -s /dev/null /dev/serial/by-id/usb-null
    ln -s "$(readlink -f "$5")" /dev/ttyUSB7
    mount --bind console.active /sys/class/tty/console/active
    exec "$1" --timeout 500 ports --probe' probe "$cli_program" "$box" "$other" "$silent" "$port" \
      "$here/../support/shell-checks.sh" >out 2>err ||
    fail "ports --probe: $(cat err)"
  [[ $(grep -c '^/dev/serial/by-id/usb-box-\(one\|two\)  the box answers: .*interface box' out) == 2 &&
     $(grep -c '^/dev/serial/by-id/usb-silent  no answer' out) == 1 &&
     $(grep -c '^/dev/serial/by-id/usb-null  cannot open /dev/serial/by-id/usb-null: not a serial port' out) == 1 &&
     $(grep -cx "/dev/ttyUSB7  not probed: the system's console" out) == 1 && $(wc -l <out) == 5 ]] ||
    fail "ports --probe printed: $(cat out)"
  ! grep -q '^request:' console-box.log || fail "ports --probe wrote to the console: $(cat console-box.log)"
  # Nor does any other command open the console (COM1, /dev/ttyS0, here) unless --port names
  # it: the default port and the settings' are refused, with how to set the port.
  printf 'tty0 ttyS0\n' >console.active
  printf '[init]\n' >no-port.ini
  "${own_namespace[@]}" bash -c '
    set -e
    source "$4"
    private_dev machine-dev
    ln -s "$(readlink -f "$3")" /dev/ttyS0
    mount --bind console.active /sys/class/tty/console/active
    "$1" --settings "$2" step-up >refused.out 2>refused.err || echo $? >refused.status
    exec "$1" --settings "$2" --port COM1 step-up' console "$cli_program" no-port.ini "$port" \
      "$here/../support/shell-checks.sh" >out 2>err ||
    fail "--port COM1 on the console: $(cat err)"
  [[ $(cat refused.status) == 3 && ! -s refused.out ]] &&
    grep -q "^vantorel-cli: not opening COM1 (/dev/ttyS0): it is the system's console. Name the box's port as port= in the \[init\] section of no-port.ini, or with --port" refused.err ||
    fail "the console as the default port: $(cat refused.status) $(cat refused.err)"
  [[ $(grep -c '^request:' console-box.log) == 1 ]] || fail "the console got: $(cat console-box.log)"
fi

expect 1 --port "$silent" --quiet --timeout 200 step-up
[[ ! -s out ]] || fail "--quiet printed for a box that did not answer: $(cat out)"
# An error line never comes before the request's line it follows.
cli --port "$silent" --timeout 200 step-up >both.out 2>&1
[[ $(cut -c1-2 both.out | tr -d '\n') == "S:Re" ]] || fail "the lines of a missing reply: $(cat both.out)"

# Ctrl+C in a wait: the port is released and no table file is left behind.
cli --port "$silent" positions get interrupted.pos >/dev/null 2>&1 &
interrupted=$!
within 10 grep -q "^request: 06" silent-box.log || fail "the download did not start"
pkill -INT -f '^[^ ]*vantorel-cli(\.exe)? .*interrupted\.pos'
wait "$interrupted"
status=$?
[[ $status == 130 ]] || fail "Ctrl+C: exit status $status"
[[ -z $(ls -A | grep interrupted) ]] || fail "Ctrl+C left a file: $(ls -A)"
expect 1 --port "$silent" --timeout 200 step-up

# Ctrl+C in a put, with the first of its writes answered (each a second late), says so.
cli --port "$later" positions put new.pos >/dev/null 2>int.err &
putting=$!
second_write_sent() { [[ $(grep -c '^request: 0A' later-box.log) -ge 2 ]]; }
within 10 second_write_sent || fail "the put's second write was not sent"
pkill -INT -f '^[^ ]*vantorel-cli(\.exe)? .*put new\.pos'
wait "$putting"
status=$?
[[ $status == 130 ]] && grep -q 'answered 1 of the 4 writes' int.err || fail "Ctrl+C in a put: $status $(cat int.err)"

if [[ -z $wine ]]; then
  # A missing reply outweighs output that could not be written.
  cli --port "$silent" --timeout 200 step-up >/dev/full 2>/dev/null
  status=$?
  [[ $status == 1 ]] || fail "a missing reply and a full standard output: exit status $status"
  # SIGTERM in a put: 143, and how far the table got: the writes that timed out were not
  # answered.
  writes=$(grep -c '^request: 0A' silent-box.log)
  cli --port "$silent" --timeout 300 positions put new.pos >/dev/null 2>term.err &
  terminated=$!
  third_write_sent() { [[ $(grep -c '^request: 0A' silent-box.log) -ge $((writes + 3)) ]]; }
  within 10 third_write_sent || fail "the upload's third write was not sent"
  pkill -TERM -f '^[^ ]*vantorel-cli .*put new\.pos'
  wait "$terminated"
  status=$?
  [[ $status == 143 ]] && grep -q 'answered 0 of the 4 writes of its positioner table' term.err ||
    fail "SIGTERM in a put: $status $(cat term.err)"
  # Ctrl+C ends a table read from a pipe that stays open.
  mkfifo open.fifo
  exec 7<>open.fifo
  cli --port "$silent" positions put open.fifo >/dev/null 2>&1 &
  signal_running INT '.*put open\.fifo' $!
  exec 7>&-
  [[ $status == 130 ]] || fail "Ctrl+C in a read from a pipe: exit status $status"
fi
echo "vantorel-cli: all checks passed"
