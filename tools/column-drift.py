#!/usr/bin/env python3
"""How far transposed chords drift from their columns on real chord sheets.

Transposes every song of a folder by +1..+6 with quavern-cli (with
--keep-columns, and with --all-chords --chord-lines --keep-columns) and, when
node and bench/js/node_modules are there, with the peer transposer
(npm chord-transposer, as bench/js calls it). For the chords on chord lines
it counts the share that changed column, the share of those moves that the
one blank between two words forces (the word before, grown, reaches the old
column), and the share whose start now stands over another word of the
lyric line below than before.

    python3 tools/column-drift.py [--cli build/out/quavern-cli] [FOLDER]

FOLDER defaults to /work/shared/corpus; without it the script says so and
ends with status 0. Chord lines and chords are told the same way for every
transposer, by a pattern of the usual chord names, so the figures compare.
"""

import argparse
import base64
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHIFTS = range(1, 7)
CHORD = re.compile(
    r"^[A-G][#b]?(?:m|maj|min|dim|aug|sus|add|M|\+|°|ø)*[0-9]*"
    r"(?:(?:sus|add|maj|b|#|-|\+)?[0-9]+)*(?:\([^)]*\))?(?:/[A-Ga-g][#b]?)?$"
)
MARK = re.compile(r"^(?:[|:/.\-%*~>]+|[xX]\d{1,2}|\d{1,2}[xX]|\(x\d+\)|N\.?C\.?)$")
WRAP = "([{|:.*"
UNWRAP = ")]}|:.,;*"


def decode(data):
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("latin-1")


def visible(line, html):
    """The line as a reader sees it: tags dropped, an entity one character."""
    if not html:
        return line
    line = re.sub(r"<[^>]*>", "", line)
    return re.sub(r"&[A-Za-z0-9#]{1,9};", "&", line)


def words(line):
    """(start column, end column, word) of each word, tabs stopping every 8."""
    found = []
    column = 0
    start = None
    for c in line + " ":
        if c in " \t":
            if start is not None:
                found.append((start, column, line_word))
                start = None
            column = (column // 8 + 1) * 8 if c == "\t" else column + 1
        else:
            if start is None:
                start, line_word = column, ""
            line_word += c
            column += 1
    return found


def is_chord(word):
    core = word.lstrip(WRAP).rstrip(UNWRAP)
    return bool(core) and all(CHORD.match(part) for part in core.split("|") if part)


def chord_line(line_words):
    chords = sum(1 for _, _, w in line_words if is_chord(w))
    others = sum(1 for _, _, w in line_words if not is_chord(w) and not MARK.match(w))
    return chords > 0 and chords >= others


def word_under(lyric_words, column):
    """The lyric word a column stands over: the one it falls in, else the next."""
    for index, (_, end, _) in enumerate(lyric_words):
        if column < end:
            return index
    return len(lyric_words)


def measure(old_text, new_text, html, tally):
    old_lines = old_text.splitlines()
    new_lines = new_text.splitlines()
    if len(old_lines) != len(new_lines):
        tally["songs with lost lines"] += 1
        return
    for n, line in enumerate(old_lines):
        before = words(visible(line, html))
        if not chord_line(before):
            continue
        after = words(visible(new_lines[n], html))
        lyric = words(visible(old_lines[n + 1], html)) if n + 1 < len(old_lines) else []
        lyric = [] if not lyric or chord_line(lyric) else lyric
        for index, (start, _, word) in enumerate(before):
            if not is_chord(word):
                continue
            tally["chords"] += 1
            new_start = after[index][0] if len(after) == len(before) else None
            if new_start != start:
                tally["moved"] += 1
                # Forced: the word before it, grown, ends where it stood,
                # and one blank must part them.
                if new_start is not None and index > 0 and after[index - 1][1] + 1 > start:
                    tally["forced"] += 1
            if lyric:
                tally["over lyrics"] += 1
                if new_start is None or word_under(lyric, new_start) != word_under(lyric, start):
                    tally["over another word"] += 1


def report(name, tally):
    chords = tally["chords"] or 1
    lyric = tally["over lyrics"] or 1
    print(
        f"{name:<44} {tally['chords']:>7} {100 * tally['moved'] / chords:>8.2f} % "
        f"{100 * tally['forced'] / chords:>8.2f} % "
        f"{tally['over lyrics']:>8} {100 * tally['over another word'] / lyric:>8.2f} %"
        + (f"  ({tally['songs with lost lines']} runs changed the line count)" if tally["songs with lost lines"] else "")
    )


def new_tally():
    return {"chords": 0, "moved": 0, "forced": 0, "over lyrics": 0, "over another word": 0, "songs with lost lines": 0}


PEER = r"""
const { transpose } = require('chord-transposer');
const jobs = JSON.parse(require('fs').readFileSync(0, 'latin1'));
const out = {};
for (const [path, shift] of jobs) {
  const text = require('fs').readFileSync(path, 'latin1');
  let moved;
  try { moved = transpose(text).up(shift).toString(); } catch (e) { moved = null; }
  out[path + '\t' + shift] = moved === null ? null : Buffer.from(moved, 'latin1').toString('base64');
}
process.stdout.write(JSON.stringify(out));
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder", nargs="?", default="/work/shared/corpus")
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "out", "quavern-cli"))
    parser.add_argument("--no-peer", action="store_true", help="leave out the peer transposer")
    args = parser.parse_args()
    if not os.path.isdir(args.folder):
        print(f"no corpus at {args.folder}: nothing measured")
        return 0
    songs = sorted(
        os.path.join(args.folder, name)
        for name in os.listdir(args.folder)
        if name.lower().endswith((".txt", ".htm", ".html")) and name != "README.md"
    )
    print(f"{len(songs)} songs, shifts +1..+6")
    print(f"{'transposer':<44} {'chords':>7} {'moved':>10} {'forced':>10} {'over lyr.':>8} {'other word':>10}")
    env = dict(os.environ, XDG_CONFIG_HOME=tempfile.mkdtemp())
    runs = [
        ("quavern-cli", []),
        ("quavern-cli --keep-columns", ["--keep-columns"]),
        ("quavern-cli --all-chords --chord-lines", ["--all-chords", "--chord-lines"]),
        ("quavern-cli --all-chords --chord-lines --keep-columns", ["--all-chords", "--chord-lines", "--keep-columns"]),
    ]
    originals = {}
    for song in songs:
        with open(song, "rb") as f:
            originals[song] = decode(f.read())
    for name, flags in runs:
        tally = new_tally()
        for song in songs:
            for shift in SHIFTS:
                result = subprocess.run(
                    [args.cli, "transpose", "--by", str(shift), *flags, song], capture_output=True, env=env
                )
                if result.returncode != 0:
                    print(f"{song}: {name} failed: {decode(result.stderr)}", file=sys.stderr)
                    continue
                measure(originals[song], decode(result.stdout), song.lower().endswith((".htm", ".html")), tally)
        report(name, tally)

    modules = os.path.join(ROOT, "bench", "js", "node_modules", "chord-transposer")
    if args.no_peer:
        return 0
    if not shutil.which("node") or not os.path.isdir(modules):
        print("the peer transposer is not installed (run bash bench/run.sh once): left out")
        return 0
    jobs = [[song, shift] for song in songs for shift in SHIFTS]
    result = subprocess.run(
        ["node", "-e", PEER], input=json.dumps(jobs).encode("latin-1"), capture_output=True,
        cwd=os.path.join(ROOT, "bench", "js"), check=True,
    )
    moved = json.loads(result.stdout)
    tally = new_tally()
    failed = 0
    for song, shift in jobs:
        text = moved[song + "\t" + str(shift)]
        if text is None:
            failed += 1
            continue
        measure(originals[song], decode(base64.b64decode(text)), song.lower().endswith((".htm", ".html")), tally)
    report("chord-transposer (npm)" + (f", {failed} runs failed" if failed else ""), tally)
    return 0


if __name__ == "__main__":
    sys.exit(main())
