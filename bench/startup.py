#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Times start-up to the first painted frame as whole processes: the window on
the real catalogue and on 10,000 entries, against a bare Qt window. Prints the
median wall time and the peak memory of each, over several runs."""
import os
import statistics
import sys
import tempfile
import time

bin_dir, catalogue, generated, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])


def run(argv):
    start = time.perf_counter()
    pid = os.spawnv(os.P_NOWAIT, argv[0], argv)
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{argv[0]} failed with status {status}")
    return elapsed, usage.ru_maxrss / 1024.0


cases = {
    "bare window": [os.path.join(bin_dir, "startup_bare")],
    "bare window with a label": [os.path.join(bin_dir, "startup_bare"), "--text"],
    "window, real catalogue": [os.path.join(bin_dir, "startup_window"), catalogue],
    "window, 10,000 entries": [os.path.join(bin_dir, "startup_window"), generated],
}
results = {}
for name, argv in cases.items():
    run(argv)  # warm the caches once
    samples = [run(argv) for _ in range(runs)]
    results[name] = (statistics.median(s[0] for s in samples) * 1000, max(s[1] for s in samples))

bare_time, bare_memory = results["bare window"]
label_time = results["bare window with a label"][0]
print(f"{'case':26} {'median ms':>10} {'ratio':>7} {'to label':>9} {'peak MiB':>9} {'over bare':>10}")
for name, (ms, mib) in results.items():
    print(f"{name:26} {ms:10.1f} {ms / bare_time:7.2f} {ms / label_time:9.2f} {mib:9.1f} {mib - bare_memory:10.1f}")
