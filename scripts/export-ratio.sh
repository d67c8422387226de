#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The export against the copy floor (1,000 options x 30,000 lines), as
# interleaved pairs: each run measures the export, then the copy floor, and
# the ratio is taken per pair (the copy floor alone swings between runs).
# Each run then measures the safe copy floor too, the copy with the steps
# that keep a save safe, so that the export's own work shows apart.
# Prints each pair, then the median ratios with their minimum and maximum.
# Usage: scripts/export-ratio.sh [pairs, 10 by default]
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${1:-10}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for _ in $(seq "$pairs"); do
    build/bin/bench_core --benchmark_filter='^(exportConfig|exchangeCopyFloor|exchangeSafeCopyFloor)/options_1000_lines_30000$' \
        --benchmark_min_time=0.5 --benchmark_format=json 2>/dev/null >>"$out"
    echo >>"$out"
done
python3 - "$out" <<'PY'
import json, statistics, sys
text = open(sys.argv[1]).read()
decoder, at, ratios, safe = json.JSONDecoder(), 0, [], []
while True:
    while at < len(text) and text[at].isspace():
        at += 1
    if at >= len(text):
        break
    run, at = decoder.raw_decode(text, at)
    cpu = {b["name"].split("/")[0]: b["cpu_time"] for b in run["benchmarks"]}
    ratio = cpu["exportConfig"] / cpu["exchangeCopyFloor"]
    ratios.append(ratio)
    safe.append(cpu["exportConfig"] / cpu["exchangeSafeCopyFloor"])
    print(f"export {cpu['exportConfig']:.2f} ms, copy floor {cpu['exchangeCopyFloor']:.2f} ms (CPU): {ratio:.2f}x; "
          f"safe copy floor {cpu['exchangeSafeCopyFloor']:.2f} ms: {safe[-1]:.2f}x")
for name, values in (("copy floor", ratios), ("safe copy floor", safe)):
    print(f"{len(values)} pairs against the {name}: median {statistics.median(values):.2f}x, "
          f"min {min(values):.2f}x, max {max(values):.2f}x")
PY
