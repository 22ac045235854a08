#pragma once

#include <optional>
#include <string>

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
    /// As the key of the song moved by the shift is written. The key is
    /// guessed from the song's first chord: its root, minor when its suffix
    /// starts with "m" but not "maj". The major keys F Bb Eb Ab Db and the
    /// minor keys Dm Gm Cm Fm Bbm Ebm take flats, G D A E B F# and Em Bm F#m
    /// C#m G#m sharps, C and Am keep each name's own family.
    Key = 3,
};

/// The choices of how a song is read and written, the settings ALLCHORDS,
/// SPELLING and KEEPCOLUMNS. All off, a song is read and moved exactly as
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

    bool operator==(const SongOptions& other) const {
        return allChords == other.allChords && spelling == other.spelling && keepColumns == other.keepColumns &&
               chordLines == other.chordLines;
    }
    bool operator!=(const SongOptions& other) const { return !(*this == other); }
};

/// "as-written", "sharps", "flats" or "key".
const char* SpellingName(Spelling spelling);
/// The spelling of one of those words, or nothing.
std::optional<Spelling> SpellingOfName(const std::string& name);
/// The spelling of a stored SPELLING value 0..3; any other value is AsWritten.
Spelling SpellingOfValue(int value);
