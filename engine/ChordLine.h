#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chords/ChordName.h"
#include "engine/ChordRules.h"

/// How a guitarist reads one line of a chord sheet: as a line of chords (to
/// be moved) or as anything else (lyrics, a title, a heading, prose), which
/// is never touched.
///
/// A line is a chord line when its words are mostly chord names and the
/// marks that go with them on a sheet: bar lines (| || |: :|), beats (/ . -
/// %), repeats (x2, 2x, (x4)), N.C., *, fingerings (x02210, x-10-12-12-11-10,
/// (x 10 12 12 11 10)), and short directions in parentheses such as (riff).
/// A label that opens the line ("Intro:") counts for nothing. Any other word
/// counts against it: the line needs more chord names and fingerings than
/// such words, and at most two of them, or a third of its chords on a long
/// line, or one a fingering ("G  C  D  to coda" and "G (320003) or
/// (355433)" are chord lines, "A poor man's made of mud" and "Am I only
/// dreaming" are not).

/// A stretch of a line, in bytes from the line's start.
struct LineSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool operator==(const LineSpan& other) const { return offset == other.offset && length == other.length; }
};

/// What the reading of a line found.
struct ChordLineReading {
    bool isChordLine = false;
    /// The chord names, in line order; on a chord line the marks around
    /// them are cut off (|C, Bb|F, .D., (Am), [G] give C, Bb, F, D, Am, G).
    std::vector<LineSpan> chords;
    /// The bass notes of slash chords (the E of C/E and of C(/E)), each
    /// right after its chord: notes, not chords.
    std::vector<LineSpan> basses;
    /// The fingerings written on the line (x02210 in "Am (x02210)"),
    /// parentheses excluded, each right after the chord it belongs to.
    std::vector<LineSpan> fingerings;
};

/// The blanks (a tab counts as this many) that part two columns of a sheet
/// written in two columns; each column is read on its own.
inline constexpr std::size_t kChordColumnGap = 6;

/// Reads one line (no line end). isChordName says whether a word is a chord
/// name as the song's options read them. In an HTML song the caller blanks
/// the tags and entities first, byte for byte, so that offsets stay the
/// line's own.
ChordLineReading ReadChordLine(std::string_view line, const std::function<bool(std::string_view)>& isChordName);
/// The same into a reading whose room is kept from line to line.
void ReadChordLine(std::string_view line, const std::function<bool(std::string_view)>& isChordName,
                   ChordLineReading& reading);

/// Reads the chord written inside ChordPro brackets at at ("G", "G/B"):
/// calls onChord for the name and for its bass note, a note. False, and no
/// call, when the text is no chord as the rules read names (an annotation).
bool ReadBracketedChord(std::string_view inside, std::size_t at, const ChordRules& rules,
                        const std::function<void(std::size_t, const ChordMatch&)>& onChord);

/// Whether a word, without the marks around it, says how often to play
/// (x2, 2x) or that no chord is played (N.C., n/c): a mark, no chord.
bool IsRepeatOrNoChord(std::string_view word);

/// Whether a word written between parentheses, or alone, is a fingering:
/// six strings, each x or a fret number, written as six characters or
/// separated by "-" or blanks.
bool IsFingering(std::string_view text);

/// Whether a word counts as a chord name where lines are told: by the wider
/// grammar whatever the rules, its forms E#, B#, Fb, Cb and E7+ only when
/// every chord name moves (rules.allChords, rules.allForms).
bool IsLineChordName(std::string_view word, const ChordRules& rules);

/// Calls onChord(position, match) for every chord name of a song's text the
/// rules take when only chord lines count (rules.chordLines): the names on
/// its chord lines, their bass notes (match.bass) and the names written in
/// ChordPro brackets ([G]) on any other line, in text order. A name outside
/// the table counts with rules.allChords; lines are told by the wider
/// grammar either way. In an HTML song tags and entities read as blanks.
void ScanChordLines(std::string_view text, const ChordRules& rules,
                    const std::function<void(std::size_t, const ChordMatch&)>& onChord);

/// A fingering written as on a sheet (x02210, x-10-12-12-11-10, x 5 7 7 7 5)
/// moved by shift half-tones, -11..+11: every fretted string by as many
/// frets, the open strings fretted, in the sheet's own way of writing it
/// (six characters while every fret is below 10). A shape that would go
/// below the nut goes up twelve frets instead. Empty when written is no
/// fingering, the shape would leave the neck, or the open strings it frets
/// make it more than a hand holds where the written shape was not (Gsus4
/// 320013 up one: 431124 takes five fingers).
std::string MoveFingering(std::string_view written, int shift);
