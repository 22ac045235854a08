#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chords/ChordName.h"
#include "engine/ChordRules.h"

/// ChordPro songs: directives in braces ({title: Amazing Grace}, {soc}),
/// chords in brackets inside the lyrics ([G]Amazing [G7]grace), comment
/// lines starting with "#". A song read by this rule has chords only in its
/// brackets and in its {key:} value: a word "A" of the lyrics or a title
/// "A Night" is never a chord.

/// What one line of a ChordPro song is.
enum class ChordProLineKind {
    Lyrics,    ///< Lyrics with chords in brackets, or a blank line.
    Directive, ///< {name: value} or {name}.
    Comment,   ///< A line starting with "#": a note in the file, never shown.
};

/// A chord written in brackets in a lyric line.
struct ChordProChord {
    /// Where the chord stands in the lyrics (the line without its brackets),
    /// in bytes: the chord is sung on the syllable that starts there.
    std::size_t at = 0;
    /// Where the text inside the brackets starts in the line as written.
    std::size_t source = 0;
    /// The text inside the brackets, as written.
    std::string text;
    /// An annotation ([*riff]) rather than a chord: text is without the "*".
    bool annotation = false;
};

/// One line of a ChordPro song, read.
struct ChordProLine {
    ChordProLineKind kind = ChordProLineKind::Lyrics;
    /// Directive: its long name in lower case ("t" reads as "title", "soc"
    /// as "start_of_chorus").
    std::string directive;
    /// Directive: its value, blanks around it cut off; where it starts in the line.
    std::string value;
    std::size_t valueAt = 0;
    /// Lyrics: the line without its chords.
    std::string lyrics;
    std::vector<ChordProChord> chords;
};

/// Reads one line (without its line end).
ChordProLine ReadChordProLine(std::string_view line);
/// The long name of a directive name as written, in lower case.
std::string ChordProDirectiveName(std::string_view written);

/// Whether a file type (the upper-cased extension) is a ChordPro song:
/// CHO, CHOPRO, CHORDPRO, CRD or PRO.
bool IsChordProType(std::string_view type);

/// Calls onChord(position, match) for every chord of a ChordPro song the
/// rules take (allChords says which names are chords), in text order: the
/// names in the brackets of lyric lines (of [G/B] the G, then the B as a
/// bass note) and the value of {key:}. Nothing else of the song is read.
void ScanChordPro(std::string_view text, const ChordRules& rules,
                  const std::function<void(std::size_t, const ChordMatch&)>& onChord);

/// A sheet of chords over lyrics as a ChordPro song: each chord line's
/// chords put into the lyric line below it at their columns (past its end
/// appended, blanks kept up to their column), a chord line without lyrics
/// under it kept as a line of bracketed chords, its other words as
/// annotations ([*x2]); a first line without chords as {title:}; a line
/// that ChordPro would misread ("[Chorus]", "# 1") as a comment directive.
/// Line ends stay those of the sheet.
std::string TextToChordPro(std::string_view text);

/// A ChordPro song as a sheet of chords over lyrics: each chord on the line
/// above its lyrics, at the column of its syllable (a chord that would
/// touch or overlap the one before moves right, leaving one blank); the
/// title, subtitle and comments as lines of their own, {key:} and {capo:}
/// as "Key: G", "Capo: 2", a chorus as a "Chorus:" label; "#" lines and
/// layout directives left out. Line ends stay those of the song.
std::string ChordProToText(std::string_view text);
