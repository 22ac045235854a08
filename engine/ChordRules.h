#pragma once

#include <cstddef>

#include "chords/ChordNotation.h"

/// What counts as a chord in a song's text, beyond the delimiter rule.
struct ChordRules {
    /// The text is an HTML song: a name inside a tag (after a "<" with no
    /// ">" since, a comment or a declaration as much as an element) is
    /// markup and no chord. Otherwise the rule is purely lexical, tags or
    /// not.
    bool html = false;
    /// Every chord name: besides the 85 names of the table, a root followed
    /// by a suffix of the wider grammar (SongOptions::allChords).
    bool allChords = false;
    /// Chord names count only on chord lines, read as a guitarist reads a
    /// sheet (engine/ChordLine.h), and in ChordPro brackets anywhere; bass
    /// notes of slash chords are notes (SongOptions::chordLines).
    bool chordLines = false;
    /// How roots are written (SongOptions::notation).
    Notation notation = Notation::AsWritten;
    /// The bytes at the start and at the end of the text that are no part
    /// of the song's own lines: what opening put around a text song (its
    /// title line and page header, its footer), which shares a line with
    /// the song's first and last ones. Chord lines are read without them.
    std::size_t addedBefore = 0;
    std::size_t addedAfter = 0;
    /// With allChords, the forms only every chord name reads: roots E#, B#,
    /// Fb and Cb, and a plus after a number (E7+). Off to list the names
    /// outside the table as lines are told when only the table's move.
    bool allForms = true;
    /// The text is a ChordPro song: its chords are the names in the
    /// brackets of its lyric lines and the value of its {key:} directive,
    /// and nothing else (engine/ChordPro.h), whatever chordLines says.
    bool chordPro = false;
};
