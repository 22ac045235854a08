#!/usr/bin/env python3
"""Writes the benchmark songs: a typical 5 KB chords-over-lyrics song, a
100 KB songbook and a 1 MB songbook. The output depends only on the seed, so
every run measures the same bytes."""

import random
import sys
from pathlib import Path

ROOTS = ["C", "C#", "Db", "D", "D#", "Eb", "E", "F", "F#", "Gb", "G", "G#", "Ab", "A", "A#", "Bb", "B"]
SUFFIXES = ["", "m", "7", "m7", "maj7"]
WORDS = ("the river runs a long way down to A town where Am I was born and I "
         "walked along the shore with my old guitar singing all night long "
         "under stars so bright we danced until the morning came").split()
# Things a chord sheet holds that look nearly like chords.
NEAR_MISSES = ["Am,", "(Em)", "[G]", "{D}", "C/G", "Em7/B", "Cmaj7", "CMaj7", "H7", "Fb", "E#", "Cadd9", "Dsus4",
               "Bb", "F#m7", "G/B", "A-", "|C", "x2", "&nbsp;Am", "<b>Am</b>", "N.C."]


def chord(rng):
    return rng.choice(ROOTS) + rng.choice(SUFFIXES)


def chord_line(rng):
    parts = []
    width = 0
    while width < rng.randint(20, 60):
        token = chord(rng) if rng.random() < 0.85 else rng.choice(NEAR_MISSES)
        if rng.random() < 0.1:
            token = chord(rng) + "/" + rng.choice(ROOTS)
        pad = " " * rng.randint(1, 8)
        parts.append(token + pad)
        width += len(token) + len(pad)
    return "".join(parts).rstrip()


def lyric_line(rng):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(5, 12)))


def song(rng, number, html):
    lines = []
    title = f"Song {number}: The {rng.choice(WORDS).title()} {rng.choice(WORDS).title()}"
    lines.append(f"<h2>{title}</h2>" if html else title)
    lines.append("")
    for verse in range(rng.randint(3, 5)):
        lines.append(f"[Verse {verse + 1}]")
        for _ in range(4):
            lines.append(chord_line(rng))
            lines.append(lyric_line(rng))
        lines.append("")
    if html:
        lines.append("<table><tr><td>" + chord(rng) + "</td><td>" + chord(rng) + "</td></tr></table>")
    return lines


def book(seed, size, html_every):
    rng = random.Random(seed)
    out = []
    total = 0
    number = 1
    while total < size:
        html = html_every and number % html_every == 0
        for line in song(rng, number, html):
            out.append(line)
            total += len(line) + 1
        number += 1
    text = "\n".join(out) + "\n"
    return text[:size]


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    folder.mkdir(parents=True, exist_ok=True)
    for name, size, html_every in (("5KB", 5 * 1024, 0), ("100KB", 100 * 1024, 3), ("1MB", 1024 * 1024, 3)):
        (folder / f"song-{name}.txt").write_bytes(book(42, size, html_every).encode("ascii"))


if __name__ == "__main__":
    main()
