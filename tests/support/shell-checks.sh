# Sourced by every shell test: how a check fails or is skipped, how a test waits for
# something to happen, how it starts the simulated box, how a COM port is registered in Wine,
# and a /dev without the machine's serial ports.

fail() { echo "FAIL: $*" >&2; exit 1; }
# A check that cannot run here says so, and why.
skip() { echo "SKIP: $*"; }

# Waits up to $1 seconds for the command after it to succeed.
within() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
  return 1
}

# start_box BOXSIM LINK LOG [BOX-OPTIONS...]: the simulated box serving behind LINK (a path,
# or a Wine prefix's dosdevices/comN), writing what it receives and sends to LOG. The test's
# exit trap calls stop_boxes.
started_boxes=()
start_box() {
  local boxsim=$1 link=$2 log=$3
  shift 3
  "$boxsim" --link "$link" "$@" >/dev/null 2>"$log" &
  started_boxes+=($!)
  within 5 test -e "$link" || fail "the simulated box did not start: $(cat "$log")"
}
# box_ask LINK WORDS...: one request on the control channel a box serves behind LINK (its
# --control-link), printing the values of the answer; anything but "ok" fails the test.
box_ask() {
  local link=$1 channel reply
  shift
  within 5 test -e "$link" || fail "no control channel at $link"
  exec {channel}<>"$link"
  echo "$*" >&"$channel"
  read -r -t 5 reply <&"$channel"
  exec {channel}>&-
  [[ $reply == ok* ]] || fail "the box's control channel answered '$*' with: $reply"
  echo "${reply#ok}"
}
# box_control LINK WORDS...: the same, for a request that asks for nothing back.
box_control() { box_ask "$@" >/dev/null; }
stop_boxes() {
  local box
  for box in "${started_boxes[@]}"; do kill "$box" 2>/dev/null; wait "$box" 2>/dev/null; done
  started_boxes=()
}

# register_port_in_wine NAME DEVICE [SHOWN]: the COM port NAME, on DEVICE (a path on this
# machine), in Wine's list of serial ports, and as the Ports-class device Device Manager would
# show, named SHOWN, or "Port série USB (NAME)" (a letter outside ASCII: the name goes through
# the wide calls). Wine reads its list as it starts: the Wine server is stopped.
register_port_in_wine() {
  local wine_run device_key
  wine_run=$(dirname "${BASH_SOURCE[0]}")/../../cmake/run-under-wine.sh
  device_key="HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\PORTS\\$1"
  "$wine_run" reg add 'HKLM\Software\Wine\Ports' /v "$1" /d "$2" /f >/dev/null
  "$wine_run" reg add "$device_key" /v ClassGUID /d '{4d36e978-e325-11ce-bfc1-08002be10318}' /f >/dev/null
  "$wine_run" reg add "$device_key" /v FriendlyName /d "${3:-Port série USB ($1)}" /f >/dev/null
  "$wine_run" reg add "$device_key\\Device Parameters" /v PortName /d "$1" /f >/dev/null
  "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null
}

# private_dev FOLDER: run in a mount namespace of the test's own (unshare --mount as root, with
# --user --map-root-user as a normal user), a /dev holding what programs need and none of the
# machine's serial ports, so that a command that sends to every port it finds (ports --probe,
# Wine's COM ports of /dev/ttyS*) reaches only the test's boxes. The machine's /dev stays
# reachable under FOLDER, and its pseudo-terminals (the simulated boxes') through /dev/pts.
private_dev() {
  local machine=$1 node
  mkdir -p "$machine"
  mount --rbind /dev "$machine"
  mount -t tmpfs tmpfs /dev
  for node in null zero full random urandom tty; do
    touch "/dev/$node"
    mount --bind "$machine/$node" "/dev/$node"
  done
  mkdir /dev/pts /dev/shm
  mount --bind "$machine/pts" /dev/pts
  mount -t tmpfs tmpfs /dev/shm
  ln -s pts/ptmx /dev/ptmx
  ln -s /proc/self/fd /dev/fd
  ln -s /proc/self/fd/0 /dev/stdin
  ln -s /proc/self/fd/1 /dev/stdout
  ln -s /proc/self/fd/2 /dev/stderr
}
