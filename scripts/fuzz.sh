#!/usr/bin/env bash
# Builds the fuzz harnesses with clang and libFuzzer in build-fuzz/ and runs every harness for
# the given number of seconds (default 60), as many side by side as there are cores.
# An input that crashes, hangs or leaks is written into fuzz/corpus/<harness>/, where the
# ordinary test run replays it from then on: fix the fault and commit the input.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/install-deps.sh fuzz
. scripts/debian.sh
llvm=$(debian_llvm_version)
cores=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-$llvm

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="clang++-$llvm" \
  -DVANTOREL_FUZZ=ON -DBUILD_TESTING=OFF -DVANTOREL_BENCH=OFF
cmake --build build-fuzz -j"$cores" --target vantorel_fuzzers

logs=build-fuzz/logs
mkdir -p "$logs"

# New inputs that widen coverage stay in build-fuzz/corpus/ for the next local run; the
# seeds in fuzz/corpus/ are only read.
fuzz_one() {
  local name=$1
  mkdir -p "build-fuzz/corpus/$name"
  local rc=0
  "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="fuzz/corpus/$name/" \
    "build-fuzz/corpus/$name" "fuzz/corpus/$name" > "$logs/$name.log" 2>&1 || rc=$?
  echo "$rc" > "$logs/$name.rc"
}

harnesses=()
for folder in fuzz/corpus/*/; do
  harnesses+=("$(basename "$folder")")
done
for name in "${harnesses[@]}"; do
  while (( $(jobs -rp | wc -l) >= cores )); do wait -n || true; done
  echo "Fuzzing $name for ${seconds} s"
  fuzz_one "$name" &
done
wait

failed=0
for name in "${harnesses[@]}"; do
  if [[ $(cat "$logs/$name.rc") == 0 ]]; then
    echo "$name: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$logs/$name.log" | tail -n 1)"
  else
    failed=1
    echo "$name FAILED (input kept in fuzz/corpus/$name/); end of $logs/$name.log:"
    tail -n 60 "$logs/$name.log"
  fi
done
exit "$failed"
