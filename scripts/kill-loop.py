#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Kills cvarden-cli at random moments of its work and counts what it leaves.

Runs export into a large game file, import from it and reset, each many
times, and kills each run at a random moment between its start and a little
after the time a whole run takes. After every kill it looks at what the
player has: the game file (the old content, the new, or neither: corrupt),
the backup copy beside it (the previous one, the new one, or lost), the
versions kept to go back to, the settings store (as before, as after, or
damaged), and any file left behind.

    scripts/kill-loop.py [--build build] [--exports 500] [--imports 300]
                         [--resets 300] [--megabytes 10] [--seed N]

Exits with 1 when anything was corrupt, lost, damaged, or still left behind
after one more whole run (Qt's own lock files beside the store aside, which
are counted apart). Not part of the test command: it takes several minutes.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

VERSION_NAME = re.compile(rb"^(\d+)-(\d+)\.cfg$")
KEPT = 20


def read(path):
    try:
        with open(path, "rb") as file:
            return file.read()
    except FileNotFoundError:
        return None


def write(path, data):
    with open(path, "wb") as file:
        file.write(data)


def normalized(data):
    """The backup copy the program writes of LF-ended game text."""
    return data.replace(b"\n", b"\n\r\n")


def large_game_file(megabytes):
    lines, size, i = [], 0, 0
    while size < megabytes * 1_000_000:
        line = b'seta cg_fov "100"\n' if i % 40 == 0 else b'bind k%d "say a line of a large game file"\n' % i
        lines.append(line)
        size += len(line)
        i += 1
    return b"".join(lines)


class Place:
    """A game folder, a settings store and a data folder of their own."""

    def __init__(self, root, cli):
        self.root, self.cli_path = root, cli
        self.game_folder = os.path.join(root, "game")
        self.game = os.path.join(self.game_folder, "q3config.cfg")
        self.backup = self.game + "_"
        self.store_folder = os.path.join(root, "config", "Cvarden")
        self.store = os.path.join(self.store_folder, "Cvarden.conf")
        self.versions_root = os.path.join(root, "data", "Cvarden", "versions")
        os.makedirs(self.game_folder)
        self.env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(root, "config"),
                        XDG_DATA_HOME=os.path.join(root, "data"), LC_ALL="C")

    def run(self, *arguments):
        done = subprocess.run([self.cli_path, *arguments], env=self.env, capture_output=True)
        if done.returncode != 0:
            sys.exit("cvarden-cli %s failed: %s" % (" ".join(arguments), done.stderr.decode(errors="replace")))

    def start(self, *arguments):
        return subprocess.Popen([self.cli_path, *arguments], env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def store_accepted(self):
        done = subprocess.run([self.cli_path, "get", "Field of view"], env=self.env, capture_output=True)
        return done.returncode == 0

    def versions_folder(self):
        if not os.path.isdir(self.versions_root):
            return None
        folders = os.listdir(self.versions_root)
        return os.path.join(self.versions_root, folders[0]) if folders else None


class Counts:
    def __init__(self):
        self.values = {}

    def add(self, name, amount=1):
        self.values[name] = self.values.get(name, 0) + amount

    def __getitem__(self, name):
        return self.values.get(name, 0)


def is_lock_file(entry):
    """QSettings' lock beside the store, and the locks with which Qt removes
    a stale one (".lock.rmlock"): Qt's own, counted apart."""
    return entry.startswith("Cvarden.conf.lock")


def lock_files(place):
    return {entry for entry in os.listdir(place.store_folder) if is_lock_file(entry)}


def leftovers(place):
    """What does not belong beside the game file, the store or the versions."""
    belongs = [
        (place.game_folder, lambda entry: entry in ("q3config.cfg", "q3config.cfg_")),
        (place.store_folder, lambda entry: entry == "Cvarden.conf" or is_lock_file(entry)),
        (place.versions_folder(), lambda entry: VERSION_NAME.match(entry.encode())),
    ]
    found = set()
    for folder, fits in belongs:
        if folder and os.path.isdir(folder):
            found.update(os.path.join(folder, entry) for entry in os.listdir(folder) if not fits(entry))
    return found


def version_listing(place):
    folder = place.versions_folder()
    listing = {}
    if folder:
        for entry in os.listdir(folder):
            match = VERSION_NAME.match(entry.encode())
            if match:
                info = os.stat(os.path.join(folder, entry))
                listing[int(match.group(1))] = (entry, info.st_size, info.st_mtime_ns)
    return listing


def check_versions(place, before, old, counts):
    """Every version kept before is still there, whole, unless it is one of
    the oldest that only the last 20 leave out; a new one holds `old`."""
    after = version_listing(place)
    for number, (entry, size, mtime) in after.items():
        if number not in before:
            if read(os.path.join(place.versions_folder(), entry)) != old:
                counts.add("versions corrupt")
        elif before[number] != (entry, size, mtime):
            counts.add("versions changed")
    newer = sorted(after, reverse=True)
    for number in before:
        if number not in after and len([n for n in newer if n > number]) < KEPT:
            counts.add("versions lost")
    return after


def kill_at_random(place, arguments, span, generator):
    process = place.start(*arguments)
    time.sleep(generator.uniform(0, span))
    process.send_signal(signal.SIGKILL)
    process.wait()


def stale_lock(place, generator):
    """The lock file a run killed while saving leaves beside the store. The
    next save first finds it stale and removes it, which takes a while: the
    runs timed to spread the kills meet one too, as most runs of the loop do."""
    for _ in range(1000):
        kill_at_random(place, ["reset"], 0.05, generator)
        lock = read(place.store + ".lock")
        if lock:
            os.remove(place.store + ".lock")
            return lock
    sys.exit("no kill left a lock file beside the store")


def timed(place, prepare, *arguments):
    """How long a whole run takes: the slowest of five, each prepared as a
    run of the loop is."""
    spans = []
    for run in range(5):
        prepare(run)
        began = time.monotonic()
        place.run(*arguments)
        spans.append(time.monotonic() - began)
    return max(spans)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--exports", type=int, default=500)
    parser.add_argument("--imports", type=int, default=300)
    parser.add_argument("--resets", type=int, default=300)
    parser.add_argument("--megabytes", type=int, default=10)
    parser.add_argument("--seed", type=int, default=random.SystemRandom().randrange(1 << 31))
    options = parser.parse_args()
    cli = os.path.abspath(os.path.join(options.build, "bin", "cvarden-cli"))
    if not os.access(cli, os.X_OK):
        sys.exit("no cvarden-cli in %s: build first" % os.path.dirname(cli))
    generator = random.Random(options.seed)
    work = tempfile.mkdtemp(prefix="cvarden-kill-loop-")
    try:
        report = run_all(options, cli, work, generator)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\n".join(report.lines))
    sys.exit(1 if report.failed else 0)


class Report:
    def __init__(self):
        self.lines, self.failed = [], False

    def add(self, command, kills, counts, span):
        bad = ["game corrupt", "backup lost", "versions corrupt", "versions changed", "versions lost",
               "store other", "store damaged", "leftovers remaining"]
        self.failed = self.failed or any(counts[name] for name in bad)
        self.lines.append(
            "%-6s %4d kills within %4.0f ms: game file old %d, new %d, corrupt %d; backup copy previous %d, new %d, "
            "lost %d; versions corrupt %d, changed %d, lost %d; store as before %d, as after %d, other %d, "
            "damaged %d; leftover files %d, of which still there after one more whole run %d; kills after which "
            "QSettings' lock files stood beside the store %d, still there after one more whole run %d"
            % (command, kills, span * 1000, counts["game old"], counts["game new"], counts["game corrupt"],
               counts["backup previous"], counts["backup new"], counts["backup lost"], counts["versions corrupt"],
               counts["versions changed"], counts["versions lost"], counts["store old"], counts["store new"],
               counts["store other"], counts["store damaged"], counts["leftovers"], counts["leftovers remaining"],
               counts["stale locks"], counts["locks remaining"]))


def run_all(options, cli, work, generator):
    base = large_game_file(options.megabytes)
    place = Place(os.path.join(work, "player"), cli)
    reference = Place(os.path.join(work, "reference"), cli)
    for each in (place, reference):
        each.run("set", "Field of view", "105")
        each.run("set", "Mouse sensitivity", "2.25")
    store_before = read(place.store)

    # What whole runs make: each export's file is `base` after a comment line
    # of its own, so that every export keeps a version of its own.
    def header(run):
        return b"// the reference, run %d\n" % run

    lock = stale_lock(reference, generator)

    def fresh(run):
        # A file of its own each time, so that each export keeps a version,
        # as in the loop.
        write(reference.game, header(run) + base)
        write(reference.backup, b"a previous backup\n")
        write(reference.store, store_before)
        write(reference.store + ".lock", lock)

    export_span = timed(reference, fresh, "export", reference.game)
    exported_base = read(reference.game)[len(normalized(header(4))):]
    import_span = timed(reference, fresh, "import", reference.game)
    store_imported = read(reference.store)
    reset_span = timed(reference, fresh, "reset")
    store_reset = read(reference.store)

    report = Report()
    report.lines.append("Kill loop (seed %d) on a game file of %.1f MB, with cvarden-cli from %s"
                        % (options.seed, len(base) / 1e6, cli))
    command_runs = [
        ("export", options.exports, export_span, store_before),
        ("import", options.imports, import_span, store_imported),
        ("reset", options.resets, reset_span, store_reset),
    ]
    versions = {}
    for command, kills, span, store_after in command_runs:
        counts = Counts()
        left = set()
        # Twice the slowest whole run: the runs of the loop meet a machine
        # still busy with the last one's writes.
        span *= 2
        for run in range(kills):
            header = b"// kill loop, %s %d\n" % (command.encode(), run)
            old = header + base
            new = normalized(header) + exported_base if command == "export" else old
            write(place.game, old)
            previous_backup = b"the previous backup, %s %d\n" % (command.encode(), run)
            write(place.backup, previous_backup)
            write(place.store, store_before)
            arguments = [command] + ([] if command == "reset" else [place.game])
            kill_at_random(place, arguments, span, generator)

            game = read(place.game)
            counts.add("game old" if game == old else "game new" if game == new else "game corrupt")
            backup = read(place.backup)
            counts.add("backup previous" if backup == previous_backup
                       else "backup new" if backup == normalized(old) else "backup lost")
            versions = check_versions(place, versions, old, counts)
            store = read(place.store)
            counts.add("store old" if store == store_before else "store new" if store == store_after
                       else "store other")
            # Left where the next run finds them: it is to remove them.
            left.update(leftovers(place))
            if lock_files(place):
                counts.add("stale locks")
            if not place.store_accepted():
                counts.add("store damaged")
        counts.add("leftovers", len(left))
        place.run(*arguments)
        remaining = leftovers(place)
        counts.add("leftovers remaining", len(remaining))
        counts.add("locks remaining", len(lock_files(place)))
        for path in left:
            print("left by a kill%s: %s" % (" and still there" if path in remaining else "", path), file=sys.stderr)
        for entry in lock_files(place):
            print("QSettings' lock file still there: %s" % entry, file=sys.stderr)
        versions = version_listing(place)
        report.add(command, kills, counts, span)
    return report


if __name__ == "__main__":
    main()
