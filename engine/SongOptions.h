#pragma once

#include <optional>
#include <string>

#include "chords/ChordNotation.h"

/// How the names a shift moves are spelled. At shift 0 a song always stays
/// as written.
enum class Spelling {
    /// Each name in the family of its own root: a flat root gives flat
    /// names, a sharp or natural one sharp names.
    AsWritten = 0,
    /// C C# D D# E F F# G G# A A# B.
    Sharps = 1,
    /// C Db D Eb E F Gb G Ab A Bb B.
    Flats = 2,
    /// Each root as the scale degree it is in the key of the song moved by
    /// the shift (CKeySpelling): the key's letters for its own notes, flats
    /// for the flattened degrees, sharps for the raised ones; a bass note
    /// spelled from its chord. The key is the key finder's (CKeyFinder).
    Key = 3,
};

/// The choices of how a song is read and written, the settings ALLCHORDS,
/// SPELLING, KEEPCOLUMNS, CHORDLINES and NOTATION. All off, a song is read and moved exactly as
/// the chord table alone says.
struct SongOptions {
    /// Every chord name: a root followed by a suffix the table lacks, such
    /// as Asus4, Bm7b5 or Em(add9), is a chord as well. It moves by its root
    /// and keeps its suffix; it scores as its base chord, the root alone or
    /// with "m" for a suffix that starts with "m" but not "maj".
    bool allChords = false;
    Spelling spelling = Spelling::AsWritten;
    /// Keep chord columns (engine/KeepColumns.h): on a line that holds
    /// chords every word starts at its old column where the line has room,
    /// a word that a longer name would touch moves right by the least that
    /// keeps one blank, and goes back to its column as soon as room allows.
    bool keepColumns = false;
    /// Read as a guitarist reads a sheet (the setting CHORDLINES): chord
    /// names count only on chord lines and in ChordPro brackets, where bar
    /// lines and beats part them as blanks do; lyrics, titles and prose are
    /// never touched; the bass note of a slash chord moves with it but is a
    /// note, not a chord, and scores nothing.
    bool chordLines = false;
    /// How the song writes its roots (the setting NOTATION): in German H is
    /// B and B is B flat, and "mi" or "moll" says minor; moved names are
    /// written back the same way and score as the table's matching chords.
    Notation notation = Notation::AsWritten;

    bool operator==(const SongOptions& other) const {
        return allChords == other.allChords && spelling == other.spelling && keepColumns == other.keepColumns &&
               chordLines == other.chordLines && notation == other.notation;
    }
    bool operator!=(const SongOptions& other) const { return !(*this == other); }
};

/// "as-written", "sharps", "flats" or "key".
const char* SpellingName(Spelling spelling);
/// The spelling of one of those words, or nothing.
std::optional<Spelling> SpellingOfName(const std::string& name);
/// The spelling of a stored SPELLING value 0..3; any other value is AsWritten.
Spelling SpellingOfValue(int value);
