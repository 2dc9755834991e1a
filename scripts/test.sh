#!/usr/bin/env bash
# Builds Vantorel with its tests and runs the whole suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
# The serial tests wait on real time-outs: run them side by side.
ctest --test-dir build --output-on-failure -j"$(( $(nproc) * 2 ))"
