#!/usr/bin/env bash
# Builds Vantorel with its tests and runs the whole suite headless, leg by leg:
#   tsan     the serial link's tests and the command line's in a ThreadSanitizer build
#   native   every test of the normal build
#   asan     every test again in an AddressSanitizer and UBSan build
#   fuzz     each fuzz harness for a short while
#   windows  the whole program built with MinGW against a static Qt for Windows, its tests
#            and its packages run under Wine
#   debian13 the native leg again in a Debian 13 system (scripts/in-debian.sh), in build-debian13/
# With no leg named, all of them in that order (as .ci/run does); a developer names one or
# more: scripts/test.sh native asan.
# VANTOREL_BUILD names the native leg's build folder (build/ without it); the tsan and asan
# legs add -tsan and -asan to it.
set -euo pipefail
cd "$(dirname "$0")/.."

legs=(tsan native asan fuzz windows debian13)
[[ $# -gt 0 ]] && legs=("$@")
sets=()
for leg in "${legs[@]}"; do
  case $leg in
    tsan|native|asan) sets+=(test) ;;
    fuzz) sets+=(fuzz) ;;
    windows) sets+=(windows wine) ;;
    debian13) sets+=(debian13) ;;
    *) echo "scripts/test.sh: no leg '$leg' (tsan, native, asan, fuzz, windows, debian13)" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh "${sets[@]}"
jobs=$(nproc)
build=${VANTOREL_BUILD:-build}
export QT_QPA_PLATFORM=offscreen

# When other legs come first, the Debian 13 system is made and given its packages meanwhile:
# that is mostly waiting for the archive. The leg waits for it (scripts/in-debian.sh lets one
# run at a time use the system) and shows any failure when it installs the packages again.
# Only as root: in the background, sudo could not ask for a password. It runs as a process
# group of its own, which is ended when an earlier leg fails (or Ctrl+C stops this run); the
# next run finishes what it left half-made.
if [[ " ${legs[*]} " == *" debian13 "* && ${legs[0]} != debian13 && $(id -u) -eq 0 ]]; then
  setsid scripts/in-debian.sh trixie scripts/install-deps.sh test >/dev/null 2>&1 &
  preparation=$!
  end_preparation() {
    if kill -0 "$preparation" 2>/dev/null; then
      echo "scripts/test.sh: ending the Debian 13 system's preparation" >&2
      kill -TERM -- -"$preparation" 2>/dev/null
    fi
    wait "$preparation" 2>/dev/null || true
  }
  trap end_preparation EXIT
fi

tsan() {
  cmake -S . -B "$build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TSAN=ON -DVANTOREL_BENCH=OFF
  cmake --build "$build-tsan" -j"$jobs" --target tst_serialio tst_receiveloop tst_portlayer vantorel-boxsim vantorel-cli \
                                                 tst_cliparsing tst_portlist
  ctest --test-dir "$build-tsan" --output-on-failure -L "link|cli"
}

# The windows leg takes the native box from here too.
native() {
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$jobs"
  # Several tests wait on real time-outs: run them side by side.
  ctest --test-dir "$build" --output-on-failure -j"$(( jobs * 2 ))"
}

asan() {
  cmake -S . -B "$build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_ASAN=ON -DVANTOREL_BENCH=OFF
  cmake --build "$build-asan" -j"$jobs"
  ctest --test-dir "$build-asan" --output-on-failure -j"$(( jobs * 2 ))"
}

fuzz() {
  scripts/fuzz.sh 20
}

# Qt for Windows is built from Debian's source on a machine's first run (about 25 minutes on
# two cores) and taken from the cache outside the tree afterwards.
windows() {
  echo "Windows leg: the whole program built with MinGW in build-windows/, its tests and its package under Wine"
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j"$jobs" --target vantorel-boxsim
  local qt_windows
  qt_windows=$(scripts/build-qt-windows.sh)
  cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVANTOREL_QT_WINDOWS="$qt_windows" \
        -DVANTOREL_BOXSIM="$PWD/$build/vantorel-boxsim"
  cmake --build build-windows -j"$jobs"
  # Each box test has COM ports of its own in the Wine prefix: they run side by side too.
  ctest --test-dir build-windows --output-on-failure -j"$(( jobs * 2 ))"
}

# The current Debian release, with Qt 6.8 and its own compilers.
debian13() {
  echo "Debian 13 leg: the native leg in a Debian 13 system, in build-debian13/"
  scripts/in-debian.sh trixie env VANTOREL_BUILD=build-debian13 scripts/test.sh native
}

for leg in "${legs[@]}"; do
  "$leg"
done
