#!/usr/bin/env bash
# Builds Vantorel and starts it against the simulated interface box.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target vantorel vantorel-boxsim

ini=build/vantorel.ini
marker="; written by scripts/run.sh for the simulated box"
port_link="$PWD/build/boxsim-port"

build/vantorel-boxsim --link "$port_link" \
  --positions build/boxsim-positions.pos --remote build/boxsim-remote.rem > build/boxsim.out 2> build/boxsim.log &
box=$!
trap 'kill "$box" 2>/dev/null; wait "$box" 2>/dev/null' EXIT
for _ in $(seq 50); do [[ -e $port_link ]] && break; sleep 0.1; done

if [[ ! -e $ini ]] || head -n 1 "$ini" | grep -qF "$marker"; then
  printf '%s\n[init]\nport=%s\nbaud=19200\n' "$marker" "$port_link" > "$ini"
  echo "Vantorel talks to the simulated box at $port_link (settings written to $ini)."
else
  echo "Keeping $ini as you wrote it; the simulated box listens at $port_link."
fi

build/vantorel
