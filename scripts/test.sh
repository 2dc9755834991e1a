#!/usr/bin/env bash
# Builds Vantorel with its tests and runs the whole suite headless: the serial link's tests in
# a ThreadSanitizer build, every test of the normal build, every test again in an
# AddressSanitizer and UBSan build, each fuzz harness for a short while, and then the Windows
# leg: the Qt-free targets built with MinGW and their tests run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TSAN=ON -DVANTOREL_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target tst_serialio tst_receiveloop tst_portlayer vantorel-boxsim
ctest --test-dir build-tsan --output-on-failure -L link

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
# Several tests wait on real time-outs: run them side by side.
ctest --test-dir build --output-on-failure -j"$(( jobs * 2 ))"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_ASAN=ON -DVANTOREL_BENCH=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$(( jobs * 2 ))"

scripts/fuzz.sh 20

if command -v x86_64-w64-mingw32-g++-posix >/dev/null \
   && { command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ]; }; then
  echo "Windows leg: MinGW build in build-mingw/, tests under Wine against the simulated box"
  cmake -S . -B build-mingw -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVANTOREL_BOXSIM="$PWD/build/vantorel-boxsim"
  cmake --build build-mingw -j"$jobs"
  ctest --test-dir build-mingw --output-on-failure
else
  echo "Windows leg skipped: MinGW-w64 (g++-mingw-w64-x86-64-posix) or wine64 is not installed"
fi
