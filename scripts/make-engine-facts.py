#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes data/engines.dat, the engine facts beside the catalogue, from the
shared facts files (../shared/facts) and the project's reviewed tables.

    scripts/make-engine-facts.py [FACTS_DIR] [OUTPUT]

The format is described in data/README.md. Run it again whenever the facts
change; tests/tst_enginefacts.cpp fails while the two disagree.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FACTS = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "..", "shared", "facts")
OUT = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "data", "engines.dat")
REVIEWED = os.path.join(ROOT, "tests", "data", "unsaved-registrations.tsv")
CORRECTIONS = os.path.join(ROOT, "data", "engines-reviewed.tsv")

SYSTEMS = ("linux", "windows", "mac")
GAME_DIRS = ("code/cgame/", "code/game/", "code/q3_ui/")
FACTS_ENGINE = {"ioq3": "ioquake3", "q3-132": "1.32", "quake3e": "quake3e"}


def table(path):
    with open(path, encoding="utf-8") as f:
        lines = [l.rstrip("\r\n") for l in f if l.strip() and not l.startswith("#")]
    return [l.split("\t") for l in lines[1:]]


def holds(condition, system):
    """Whether a preprocessor condition of the facts' notes holds for a desktop
    client of the base game on `system`."""
    truth = {
        "_WIN32": system == "windows", "_WIN64": system == "windows", "WIN32": system == "windows",
        "MACOS_X": system == "mac", "__APPLE__": system == "mac", "__MACOS__": False,
        "__linux__": system == "linux", "DEDICATED": False, "MISSIONPACK": False,
        "__EMSCRIPTEN__": False, "Q3_VM": False, "arm32": False, "arm64": False, "BSPC": False,
        "USE_SDL": True,
    }
    text = re.sub(r"defined\s*\(?\s*(\w+)\s*\)?", r"\1", condition)
    text = text.replace("&&", " and ").replace("||", " or ").replace("!", " not ")

    def word(match):
        name = match.group(0)
        if name in ("and", "or", "not"):
            return name
        return str(truth.get(name, name.startswith("USE_")))

    text = re.sub(r"[A-Za-z_]\w*", word, text)
    while text.count(")") > text.count("("):
        text = text[:text.rindex(")")] + text[text.rindex(")") + 1:]
    return bool(eval(text))


def row_condition(notes):
    m = re.search(r"#if (?!branches)([^;]*)", notes)
    return m.group(1) if m else None


def default_on(default, notes, system):
    m = re.search(r"build-dependent \(#if branches\): (.*)", notes)
    if not m:
        return default
    for value, condition in re.findall(r"'([^']*)' if ([^;]*?)(?:;|$)", m.group(1)):
        if holds(condition, system):
            return value
    return default


def source_rank(program, source):
    """Registrations that run first come first: the first default stays."""
    if source.startswith(GAME_DIRS):
        return 3
    if "/renderer" not in source:
        return 0
    first = {"ioquake3": "renderergl2", "1.32": "renderer/", "quake3e": "renderer/"}[program]
    return 1 if first in source else 2


facts = {}  # (program, name lower) -> dict


def entry(program, name):
    key = (program, name.lower())
    if key not in facts:
        facts[key] = {"name": name, "rows": [], "saved": "no", "type": "", "min": "", "max": "",
                      "values": "", "enforced": "", "restart": "", "note": "", "meanings": [], "systems": set()}
    return facts[key]


def add_registrations(path, engine):
    for cells in table(path):
        name, default, flags, _, _, source, notes = (cells + [""] * 7)[:7]
        if source.startswith("code/ui/"):
            continue  # the Team Arena menus are not the base game's
        program = engine + "-game" if source.startswith(GAME_DIRS) else engine
        e = entry(program, name)
        e["rows"].append((source_rank(engine, source), default, notes))
        condition = row_condition(notes)
        for system in SYSTEMS:
            folder = {"windows": "code/win32/", "linux": "code/unix/", "mac": "code/macosx/"}
            elsewhere = any(source.startswith(f) for other, f in folder.items() if other != system)
            if not elsewhere and (condition is None or holds(condition, system)):
                e["systems"].add(system)
        flag_set = flags.split("|")
        if "CVAR_ARCHIVE" in flag_set:
            e["saved"] = "yes"
        elif "CVAR_ARCHIVE_ND" in flag_set and e["saved"] != "yes":
            e["saved"] = "nd"


add_registrations(os.path.join(FACTS, "q3-archived-cvars.tsv"), "ioquake3")
add_registrations(os.path.join(FACTS, "q3-132-archived-cvars.tsv"), "1.32")
add_registrations(os.path.join(FACTS, "quake3e-archived-cvars.tsv"), "quake3e")
add_registrations(os.path.join(FACTS, "quake3e-other-cvars.tsv"), "quake3e")
for cells in table(REVIEWED):
    engine = {"ioquake3": "ioquake3", "1.32": "1.32", "Quake3e": "quake3e"}[cells[0]]
    program = engine + "-game" if cells[4].startswith(GAME_DIRS) else engine
    entry(program, cells[1])["rows"].append((0, cells[2], ""))
    entry(program, cells[1])["systems"].update(SYSTEMS)

# Unsaved registrations the facts files leave out, read in the sources.
CORRECTION_ROWS = table(CORRECTIONS) if os.path.exists(CORRECTIONS) else []
for cells in CORRECTION_ROWS:
    program, variable, field, value = cells[:4]
    if field == "registers":
        e = entry(program, variable)
        e["rows"].append((0, value, ""))
        e["systems"].update(SYSTEMS)

# How an engine holds a value, strongest first.
ENFORCED = [("engine range check", "set"), ("corrected by code", "later"),
            ("clamped or interpreted", "used"), ("menu only", "menu")]


def strength(how):
    for i, (text, _) in enumerate(ENFORCED):
        if how.startswith(text):
            return i
    return len(ENFORCED)


def program_of(engine, variable, source):
    engine = FACTS_ENGINE[engine]
    if source.startswith(GAME_DIRS):
        # Quake3e runs the 1.32 game code, and its rows cite it.
        return ("1.32" if engine == "quake3e" else engine) + "-game"
    return engine


ranges = {}
for cells in table(os.path.join(FACTS, "ranges.tsv")):
    engine, variable, kind, low, high, values, how, source = (cells + [""] * 9)[:8]
    program = program_of(engine, variable, source)
    key = (program, variable.lower())
    if key not in facts:
        continue
    best = ranges.get(key)
    rank = (strength(how), 0 if values else 1)
    if best is None or rank < best[0]:
        ranges[key] = (rank, kind, low, high, values, ENFORCED[rank[0]][1] if rank[0] < len(ENFORCED) else "")
for key, (_, kind, low, high, values, enforced) in ranges.items():
    number = re.compile(r"^-?\d+(\.\d+)?$")
    e = facts[key]
    e.update(type=kind, min=low if number.match(low) else "", max=high if number.match(high) else "",
             values=values, enforced=enforced)

for cells in table(os.path.join(FACTS, "meanings.tsv")):
    engine, variable, value, meaning, source = (cells + [""] * 5)[:5]
    key = (program_of(engine, variable, source), variable.lower())
    if key in facts and (value, meaning) not in facts[key]["meanings"]:
        facts[key]["meanings"].append((value, meaning))


def restart_of(name, source):
    n = name.lower()
    if n.startswith(("r_", "vid_")) or n == "cl_renderer" or "glimp" in source or "/renderer" in source:
        return "vid_restart"
    if n.startswith(("s_", "snd")) or n == "com_soundmegs":
        return "snd_restart"
    if n.startswith("net_"):
        return "net_restart"
    if n.startswith("in_"):
        return "in_restart"
    if source.startswith(("code/game/", "code/server/", "code/q3_ui/")):
        return "map"
    return "game"


for cells in table(os.path.join(FACTS, "latched.tsv")):
    engine, variable, _, source = cells[:4]
    key = (program_of(engine, variable, source), variable.lower())
    if key in facts and not facts[key]["restart"]:
        facts[key]["restart"] = restart_of(variable, source)

# Reviewed corrections: facts read in the engines' sources that the shared
# tables leave out or state for another renderer.
for cells in CORRECTION_ROWS:
    program, variable, field, value = cells[:4]
    if field == "registers":
        continue
    e = facts[(program, variable.lower())]
    if field == "meaning":
        v, m = value.split("=", 1)
        e["meanings"] = [x for x in e["meanings"] if x[0] != v] + [(v, m)]
    else:
        e[field] = value


def pick_default(e, system):
    usable = [r for r in e["rows"] if row_condition(r[2]) is None or holds(row_condition(r[2]), system)]
    usable.sort(key=lambda r: r[0])
    rank, default, notes = usable[0] if usable else sorted(e["rows"])[0]
    return default_on(default, notes, system)


ORDER = ["ioquake3", "1.32", "quake3e", "ioquake3-game", "1.32-game"]
out = ["# Engine facts for the catalogue beside this file; see README.md. Made by",
       "# scripts/make-engine-facts.py from the shared facts files: edit those, not this.",
       "# V program variable default saved type min max values enforced restart note systems",
       "# D program variable system default",
       "# M program variable value meaning"]
for key in sorted(facts, key=lambda k: (ORDER.index(k[0]), k[1])):
    e = facts[key]
    program = key[0]
    default = pick_default(e, "linux")
    out.append("\t".join(["V", program, e["name"], default, e["saved"], e["type"], e["min"], e["max"],
                          e["values"], e["enforced"], e["restart"], e["note"],
                          "" if e["systems"] >= set(SYSTEMS) else ",".join(x for x in SYSTEMS if x in e["systems"])]))
    for system in SYSTEMS[1:]:
        other = pick_default(e, system)
        if other != default:
            out.append("\t".join(["D", program, e["name"], system, other]))
    for value, meaning in e["meanings"]:
        out.append("\t".join(["M", program, e["name"], value, meaning]))

with open(OUT, "w", encoding="ascii", errors="replace", newline="") as f:
    f.write("".join(line + "\r\n" for line in out))
print(f"{OUT}: {sum(1 for l in out if l.startswith('V'))} variables")
