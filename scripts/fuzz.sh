#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for the given seconds (default 60).
# Crashes are written to build-fuzz/crashes/; turn each into a test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCVARDEN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --parallel 2
rm -rf build-fuzz/crashes
mkdir -p build-fuzz/crashes
for target in catalogue normalize exchange; do
    work=build-fuzz/corpus/$target
    mkdir -p "$work"
    echo "== fuzz_$target for ${seconds}s"
    words=()
    [ -f tests/fuzz/$target.dict ] && words=(-dict=tests/fuzz/$target.dict)
    status=0
    build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 "${words[@]}" \
        -artifact_prefix=build-fuzz/crashes/$target- "$work" tests/fuzz/corpus/$target \
        >build-fuzz/$target.log 2>&1 || status=$?
    grep -E "^(Done|==[0-9]+==|SUMMARY|property|artifact_prefix)" build-fuzz/$target.log || true
    if [ "$status" -ne 0 ] || ! grep -q "^Done" build-fuzz/$target.log; then
        echo "fuzz_$target failed (status $status); see build-fuzz/$target.log"
        exit 1
    fi
done
