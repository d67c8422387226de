#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the whole test suite with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer in build-sanitized/, and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-sanitized -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCVARDEN_SANITIZE=ON >/dev/null
cmake --build build-sanitized --parallel 2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside the system's font and display libraries are theirs, not ours.
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
cd build-sanitized
ctest --output-on-failure --parallel 2 --timeout 900
