#pragma once

#include <vector>

/// The arithmetic of the "Enter Chords Manually" dialog, on the entries of
/// its lists as the user picks them:
/// - a song entry is 0 for the blank entry, else 1 + the chord table index
///   (1..85, quality x 17 + spelling);
/// - a transposed entry is 0 for the blank entry, else 1 + the spelling index
///   (1..17: C, C#, Db, D, ..., Bb, B) within the song chord's quality.
/// Only the scores read the program's chord table, at its levels of the
/// moment; the dialog shows the results and keeps no arithmetic of its own.
namespace manualchords {

/// The accidental of a transposed entry 1..17: -1 flat, 0 natural, +1 sharp.
int AccidentalOf(int transposedEntry);

/// The difference of pitch class from one entry to another, -11..+11: each
/// may be a song or a transposed entry, at least 1. Not wrapped: WrapShift
/// names the same transposition in -6..+6.
int ShiftBetween(int from, int to);

/// The transposed entry that the song entry becomes when moved by shift
/// (-11..+11), or 0 for the blank song entry. A black key is spelled as the
/// song chord is: a flat chord stays flat, a sharp one stays sharp, and a
/// natural one turns flat only when refAccidental is -1 (the user chose a
/// flat reference chord), sharp otherwise.
int TransposedEntry(int songEntry, int shift, int refAccidental);

/// The sum of the difficulty levels of the transposed chords, each in the
/// quality of its song chord; columns where either entry is blank count 0.
int Score(const std::vector<int>& songEntries, const std::vector<int>& transposedEntries);

/// The shift (-6..+6) that gives the song chords the lowest score, the
/// chords moved with a natural reference. The first song chord is the
/// reference: its seventeen spellings are tried in list order (C, C#, Db,
/// D, ...) and of equal scores the first tried wins, so a tie goes to the
/// transposition that puts the reference chord lowest from C, whatever the
/// size of the shift. 0 when every entry is blank.
int EasiestShift(const std::vector<int>& songEntries);

} // namespace manualchords
