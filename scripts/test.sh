#!/usr/bin/env bash
# Builds Vantorel with its tests and runs the whole suite headless: the serial link's tests in
# a ThreadSanitizer build, every test of the normal build, every test again in an
# AddressSanitizer and UBSan build, and each fuzz harness for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TSAN=ON -DVANTOREL_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target tst_serialio tst_receiveloop
ctest --test-dir build-tsan --output-on-failure -L link

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
# Several tests wait on real time-outs: run them side by side.
ctest --test-dir build --output-on-failure -j"$(( jobs * 2 ))"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_ASAN=ON -DVANTOREL_BENCH=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$(( jobs * 2 ))"

scripts/fuzz.sh 20
