#pragma once

#include <optional>
#include <string>

#include "chords/Chord.h"
#include "chords/ChordNotation.h"
#include "chords/ChordTones.h"
#include "chords/Voicing.h"

/// The notes of a chord name as a song writes it: a root as songs spell
/// roots, a suffix, and an optional bass after a slash ("Bm7b5", "D/F#").
/// Nothing when the name is none this understands.
std::optional<ChordTones> ChordTonesOfName(const std::string& name);

/// The name as the chord table's letters write it, read in a notation: in
/// German Hmi is Bm, H7 is B7, B is Bb, Cmoll is Cm and C/H is C/B.
/// Nothing when the notation reads no chord name in it.
std::optional<std::string> NameInTableLetters(const std::string& name, Notation notation);

/// The fingering shown for a chord name: a name of the table keeps the
/// fingering of its picture, any other gets the first of its playable
/// fingerings. Nothing when the name cannot be read or has no playable
/// fingering.
std::optional<Voicing> VoicingOfName(const std::string& name);

/// The fingering as the chord diagram draws it: the rows counted from the
/// lowest fretted fret when a fret above the fourth is played, from the nut
/// otherwise. Only frets and position are set.
CChord DiagramChordOf(const Voicing& voicing);
