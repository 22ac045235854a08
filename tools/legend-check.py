#!/usr/bin/env python3
"""Whether fingering legends still agree with their names after a move.

Transposes every song of a folder by -6..+6 with quavern-cli --all-chords
--chord-lines and finds each legend, a chord name with a fingering after it
("Am (x02210)", "Bm  x-2-4-4-3-2"). A legend agrees when its name's root and
the notes its fingering sounds (standard tuning) moved by the same shift, or
when both were left as written.

    python3 tools/legend-check.py [--cli build/out/quavern-cli] [FOLDER]

FOLDER defaults to /work/shared/corpus; without it the script says so and
ends with status 0. Ends with status 1 when a legend disagrees.
"""

import argparse
import collections
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NOTES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11, "H": 11}
OPEN_STRINGS = [4, 9, 2, 7, 11, 4]
LEGEND = re.compile(
    r"(?<![\w#])([A-H][#b]?)([^\s()]*)\s*\(?\s*((?:[x0-9]{6})|(?:[x0-9]{1,2}(?:[- ][x0-9]{1,2}){5}))\s*\)?"
)


def sounding(fingering):
    """The pitch classes a fingering sounds, None when it is none."""
    frets = re.split(r"[- ]", fingering) if re.search(r"[- ]", fingering) else list(fingering)
    if len(frets) != 6:
        return None
    return frozenset((OPEN_STRINGS[i] + int(f)) % 12 for i, f in enumerate(frets) if f != "x")


def root(name):
    sign = name[1:]
    return (NOTES[name[0]] + (1 if sign == "#" else -1 if sign == "b" else 0)) % 12


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder", nargs="?", default="/work/shared/corpus")
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "out", "quavern-cli"))
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        print(f"no corpus at {args.folder}: nothing checked")
        return 0
    env = dict(os.environ, XDG_CONFIG_HOME=tempfile.mkdtemp())
    tally = collections.Counter()
    wrong = []
    for name in sorted(os.listdir(args.folder)):
        if not name.lower().endswith((".txt", ".htm", ".html")):
            continue
        path = os.path.join(args.folder, name)
        with open(path, "rb") as f:
            old_lines = f.read().decode("latin-1").splitlines()
        for shift in [s for s in range(-6, 7) if s != 0]:
            result = subprocess.run(
                [args.cli, "transpose", "--by", str(shift), "--all-chords", "--chord-lines", path],
                capture_output=True, env=env,
            )
            new_lines = result.stdout.decode("latin-1").splitlines()
            if len(new_lines) != len(old_lines):
                tally["runs that changed the line count"] += 1
                continue
            for old, new in zip(old_lines, new_lines):
                before = list(LEGEND.finditer(old))
                after = list(LEGEND.finditer(new))
                if not before:
                    continue
                if len(before) != len(after):
                    tally["disagree"] += 1
                    wrong.append((name, shift, old, new))
                    continue
                for a, b in zip(before, after):
                    tally["legends"] += 1
                    if a.group(0) == b.group(0):
                        tally["left whole"] += 1
                        continue
                    a_notes, b_notes = sounding(a.group(3)), sounding(b.group(3))
                    moved = (root(b.group(1)) - root(a.group(1))) % 12 == shift % 12
                    if a_notes is not None and moved and b_notes == frozenset((n + shift) % 12 for n in a_notes):
                        tally["agree"] += 1
                    else:
                        tally["disagree"] += 1
                        wrong.append((name, shift, a.group(0), b.group(0)))
    print(", ".join(f"{key}: {value}" for key, value in sorted(tally.items())))
    for name, shift, old, new in wrong[:20]:
        print(f"{name} {shift:+d}: {old!r} -> {new!r}")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
