#!/usr/bin/env bash
# Builds Vantorel with its tests and runs the whole suite headless: the serial link's tests and
# the command line's in a ThreadSanitizer build, every test of the normal build, every test again in an
# AddressSanitizer and UBSan build, each fuzz harness for a short while, and then the Windows
# leg: the whole program built with MinGW against a static Qt for Windows, its tests and its
# portable package run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TSAN=ON -DVANTOREL_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target tst_serialio tst_receiveloop tst_portlayer vantorel-boxsim vantorel-cli
ctest --test-dir build-tsan --output-on-failure -L "link|cli"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
# Several tests wait on real time-outs: run them side by side.
ctest --test-dir build --output-on-failure -j"$(( jobs * 2 ))"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_ASAN=ON -DVANTOREL_BENCH=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$(( jobs * 2 ))"

scripts/fuzz.sh 20

# Qt for Windows is built from Debian's source on a machine's first run (about 25 minutes on
# two cores) and taken from the cache outside the tree afterwards.
echo "Windows leg: the whole program built with MinGW in build-windows/, its tests and its package under Wine"
qt_windows=$(scripts/build-qt-windows.sh)
cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_BENCH=OFF \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVANTOREL_QT_WINDOWS="$qt_windows" \
      -DVANTOREL_BOXSIM="$PWD/build/vantorel-boxsim"
cmake --build build-windows -j"$jobs"
# Each box test has COM ports of its own in the Wine prefix: they run side by side too.
ctest --test-dir build-windows --output-on-failure -j"$(( jobs * 2 ))"
