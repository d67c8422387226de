#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for the given seconds (default 60).
# Crashes are written to build-fuzz/crashes/; turn each into a test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCVARDEN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --parallel 2
mkdir -p build-fuzz/crashes
for target in catalogue normalize exchange; do
    work=build-fuzz/corpus/$target
    mkdir -p "$work"
    echo "== fuzz_$target for ${seconds}s"
    build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
        -artifact_prefix=build-fuzz/crashes/$target- "$work" tests/fuzz/corpus/$target 2>&1 |
        grep -E "^(#[0-9]+ +DONE|Done|==[0-9]+==|SUMMARY|artifact_prefix|.*Test unit written)" || true
    test -z "$(ls build-fuzz/crashes/$target-* 2>/dev/null)" || { echo "fuzz_$target found a crash"; exit 1; }
done
