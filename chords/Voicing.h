#pragma once

#include <array>
#include <string>
#include <vector>

#include "chords/Chord.h"
#include "chords/ChordTones.h"

/// One fingering of a chord on a six-string guitar in standard tuning.
struct Voicing {
    /// String 6 (low E) to string 1 (high E): -1 not played, 0 open, else the fret.
    std::array<int, 6> frets{-1, -1, -1, -1, -1, -1};
};

/// Every playable fingering that sounds the chord, best first.
///
/// Playable: at most four fingers (a barre over the lowest fretted fret
/// counts as one), the fretted notes within four frets, at least three
/// strings sounding and at most one silent string between them, touched by
/// the finger of a neighbouring string. The chord's bass sounds lowest and
/// every essential note sounds; no other note does. Ranked by the lowest
/// position (all fingers within the first four frets count as one
/// position), then the most open strings, the fewest fingers, the most
/// strings, the fewest notes left out and the fewest silent strings inside.
std::vector<Voicing> FindVoicings(const ChordTones& chord);

/// The pitch classes the fingering sounds, one bit each as in ChordTones.
unsigned SoundingTones(const Voicing& voicing);

/// The pitch class of the lowest sounding string, or -1 when none sounds.
int LowestTone(const Voicing& voicing);

/// The fingers the fretted notes need, a barre over the lowest fretted fret
/// counting as one when it helps; 0 for open and silent strings only.
int FingersNeeded(const Voicing& voicing);

/// From the low string up, "x" for a silent string: "x02210". When a fret
/// above 9 is played the strings are separated by "-": "x-10-12-12-12-10".
std::string FingeringText(const Voicing& voicing);

/// The fingering of a chord of the table, moved from the diagram's rows to frets.
Voicing VoicingOfChord(const CChord& chord);
