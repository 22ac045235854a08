#!/usr/bin/env python3
"""Checks quavern-cli's key and its spelling by key on a folder of chord sheets.

    python3 tools/key-corpus-check.py CLI FOLDER

1. The key: a sheet's key is plain when its chord lines start and end on the
   same major or minor triad, one of the three it uses most (the chords read
   with --chord-lines --all-chords, legend entries, a chord with its
   fingering after it, left out). For those sheets it counts how often
   `info`'s "key" is that triad, read with --chord-lines --all-chords and
   with no option.
2. The spelling: every sheet moved by -6..+6 with --chord-lines --all-chords
   --spelling key; every name of the moved sheet must be spelled as the
   scale degree it is in the moved key, worked out here from the scale on
   its own, and the moved sheet's "key" must be the sheet's key moved.
   Each exception is listed.

Skips (exit 0) when the folder is absent. Uses only the CLI's output.
"""

import json
import os
import re
import subprocess
import sys
import tempfile

LETTERS = "CDEFGAB"
NATURAL = [0, 2, 4, 5, 7, 9, 11]
MAJOR = [0, 2, 4, 5, 7, 9, 11]
MINOR = [0, 2, 3, 5, 7, 8, 10]
TABLE = {"C", "C#", "Db", "D", "D#", "Eb", "E", "F", "F#", "Gb", "G", "G#", "Ab", "A", "A#", "Bb", "B"}
ROOT = re.compile(r"^([A-Ga-g])([#b]?)(.*)$")


def pitch_of(letter, alter):
    return (NATURAL[LETTERS.index(letter.upper())] + alter) % 12


def parse(name):
    m = ROOT.match(name)
    alter = {"#": 1, "b": -1, "": 0}[m.group(2)]
    return m.group(1).upper(), alter, m.group(3)


def kind(suffix):
    s = suffix.replace("(", "").replace(")", "")
    if re.match(r"(m7b5|m7-5|dim|o|\u00b0)", s):
        return "dim"
    if re.match(r"(maj|M)", s):
        return "major"
    if s.startswith("m"):
        return "minor"
    if re.match(r"(7|9|11|13)", s):
        return "dom"
    if re.match(r"(sus|5|\+|aug)", s):
        return "other"
    return "major"


def plain(pitch, flat):
    if pitch in NATURAL:
        return LETTERS[NATURAL.index(pitch)]
    return LETTERS[NATURAL.index((pitch + 1) % 12)] + "b" if flat else LETTERS[NATURAL.index(pitch - 1)] + "#"


def tonic_name(tonic, minor, side):
    fifths = ((tonic + (3 if minor else 0)) * 7) % 12
    return plain(tonic, fifths > 6 or (fifths == 6 and side == "flats"))


def step_of(degree, minor):
    """The letter step above the tonic a degree is written on, from the scale."""
    scale = MINOR if minor else MAJOR
    if degree in scale:
        return scale.index(degree)
    if minor:
        # bII flattened; the raised third, #IV, raised sixth and seventh.
        return 1 if degree == 1 else scale.index(degree - 1)
    # #IV raised; bII, bIII, bVI, bVII flattened.
    return 3 if degree == 6 else scale.index(degree + 1)


def on_letter(letter, steps, pitch):
    index = (LETTERS.index(letter) + steps) % 7
    alter = (pitch - NATURAL[index]) % 12
    return LETTERS[index], alter - 12 if alter > 6 else alter


def spelled(pitch, key, diminished=False):
    tonic, minor, side = key
    degree = (pitch - tonic) % 12
    flattened = degree == 1 if minor else degree in (1, 3, 8, 10)
    # A diminished chord on a flattened degree is the raised one below it.
    step = step_of(degree - 1 if diminished and flattened else degree, minor)
    return on_letter(tonic_name(tonic, minor, side)[0], step, pitch)


def bass_spelled(pitch, root_pitch, key, diminished):
    letter, _ = spelled(root_pitch, key, diminished)
    interval = (pitch - root_pitch) % 12
    step = {3: 2, 4: 2, 6: 4, 7: 4, 8: 4, 10: 6, 11: 6}.get(interval, 0)
    if diminished and interval == 9:
        step = 6
    return on_letter(letter, step, pitch) if step else spelled(pitch, key)


def simplified(letter, alter):
    name = letter + {-1: "b", 0: "", 1: "#"}.get(alter, "?")
    return name if name in TABLE else plain(pitch_of(letter, alter), alter < 0)


def run(cli, *args):
    out = subprocess.run([cli, *args], capture_output=True, check=True, env=ENV).stdout
    return out


def info(cli, path, *options):
    return json.loads(run(cli, "info", *options, path))


def key_of(name):
    letter, alter, rest = parse(name)
    return pitch_of(letter, alter), rest == "m"


def legend_offsets(cli, path):
    """The chords with a fingering after them, by offset in the saved song."""
    text = run(cli, "transpose", "--by", "0", path).decode("latin-1")
    found = set()
    for m in re.finditer(r"(?<![^\s(|\[])([A-G][#b]?[^\s()]*)(?:/[A-G][#b]?)?\s*\(\s*[x0-9]", text):
        found.add(m.start(1))
    return found


def plain_key(cli, path):
    data = info(cli, path, "--chord-lines", "--all-chords")
    legends = legend_offsets(cli, path)
    chords = [o["name"] for o in data["occurrences"] if o["offset"] not in legends]
    triads = []
    for name in chords:
        letter, alter, suffix = parse(name)
        k = kind(suffix)
        if k in ("major", "minor", "dom"):
            triads.append(((pitch_of(letter, alter), k == "minor"), k != "dom"))
    if not triads or not triads[0][1] or not triads[-1][1] or triads[0][0] != triads[-1][0]:
        return None
    counts = {}
    for t, _ in triads:
        counts[t] = counts.get(t, 0) + 1
    if sum(1 for c in counts.values() if c > counts[triads[0][0]]) >= 3:
        return None
    return triads[0][0]


def written_side(data):
    names = [o["name"] for o in data["occurrences"] + data.get("bass", [])]
    sharps = sum(1 for n in names if len(n) > 1 and n[1] == "#")
    flats = sum(1 for n in names if len(n) > 1 and n[1] == "b")
    return "sharps" if sharps > flats else "flats" if flats > sharps else "natural"


def writers_side(tonic, minor, written):
    fifths = ((tonic + (3 if minor else 0)) * 7) % 12
    if fifths in (0, 6):
        return written
    return "sharps" if fifths < 6 else "flats"


def check_spelling(cli, path, exceptions):
    options = ["--chord-lines", "--all-chords"]
    original = info(cli, path, *options)
    if original["key"] is None:
        return 0
    tonic, minor = key_of(original["key"])
    side = writers_side(tonic, minor, written_side(original))
    checked = 0
    for shift in range(-6, 7):
        if shift == 0:
            continue
        moved_text = run(cli, "transpose", "--by", str(shift), "--spelling", "key", *options, path)
        suffix = os.path.splitext(path)[1]
        with tempfile.NamedTemporaryFile(suffix=suffix) as moved_file:
            moved_file.write(moved_text)
            moved_file.flush()
            moved = info(cli, moved_file.name, *options)
        key = ((tonic + shift) % 12, minor, side)
        key_name = tonic_name(*key) + ("m" if minor else "")
        checked += 1
        if moved["key"] != key_name:
            exceptions.append(f"{os.path.basename(path)} by {shift:+d}: key {moved['key']} should be {key_name}")
        items = sorted([(o["offset"], o["name"], False) for o in moved["occurrences"]] +
                       [(o["offset"], o["name"], True) for o in moved.get("bass", [])])
        chord = None
        for offset, name, is_bass in items:
            letter, alter, suffix_text = parse(name)
            pitch = pitch_of(letter, alter)
            if is_bass and chord:
                want = bass_spelled(pitch, chord[0], key, chord[1])
            else:
                want = spelled(pitch, key, kind(suffix_text) == "dim")
            if not is_bass:
                chord = (pitch, kind(suffix_text) == "dim")
            expected = simplified(*want)
            got = letter + {-1: "b", 0: "", 1: "#"}[alter]
            checked += 1
            if got != expected:
                exceptions.append(f"{os.path.basename(path)} by {shift:+d}: {name} at {offset} should be "
                                  f"{expected} (key {key_name})")
    return checked


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    cli, folder = sys.argv[1], sys.argv[2]
    if not os.path.isdir(folder):
        print(f"skipped: no folder {folder}")
        return 0
    paths = sorted(os.path.join(folder, f) for f in os.listdir(folder)
                   if f != "README.md" and os.path.isfile(os.path.join(folder, f)))
    plain = told = blind = 0
    for path in paths:
        expected = plain_key(cli, path)
        if expected is None:
            continue
        plain += 1
        name = tonic_name(expected[0], expected[1], "sharps") + ("m" if expected[1] else "")
        with_lines = info(cli, path, "--chord-lines", "--all-chords")["key"]
        without = info(cli, path)["key"]
        told += with_lines is not None and key_of(with_lines) == expected
        blind += without is not None and key_of(without) == expected
        if with_lines is None or key_of(with_lines) != expected or without is None or key_of(without) != expected:
            print(f"miss: {os.path.basename(path)}: plain key {name}, --chord-lines --all-chords {with_lines}, "
                  f"no option {without}")
    print(f"key: {plain} plain sheets; right on {told} with --chord-lines --all-chords, {blind} with no option")
    exceptions = []
    checked = sum(check_spelling(cli, path, exceptions) for path in paths)
    for line in exceptions:
        print("spelling:", line)
    print(f"spelling: {checked} names and keys checked at shifts -6..+6, {len(exceptions)} exceptions")
    return 0


ENV = dict(os.environ, XDG_CONFIG_HOME=tempfile.mkdtemp())

if __name__ == "__main__":
    sys.exit(main())
