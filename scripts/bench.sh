#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what is missing, builds, and runs the benchmarks: every command
# beside its baselines, then start-up to the first painted frame.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
bin=build/bin
echo "== Commands against their baselines"
"$bin/bench_core" --benchmark_min_time=0.5 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
echo "== Start-up to the first painted frame (offscreen, 21 runs each, median)"
generated=$(mktemp --suffix=.dat)
trap 'rm -f "$generated"' EXIT
"$bin/make_catalogue" 10000 "$generated"
QT_QPA_PLATFORM=offscreen python3 bench/startup.py "$bin" "$bin/options.dat" "$generated" 21
