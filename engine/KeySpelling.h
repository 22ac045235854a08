#pragma once

#include <string>

#include "engine/MusicalKey.h"

/// Which accidentals a key signature carries.
enum class SignatureSide { Natural, Sharps, Flats };

/// A note as it is written: a letter and its sharps (+) or flats (-).
struct SpelledNote {
    /// 'A' .. 'G'.
    char letter = 'C';
    /// -2 (double flat) .. +2 (double sharp).
    int alter = 0;

    /// "Bb", "F#", "Cb", "F##".
    std::string Name() const;
    /// The same pitch among the names the chord table knows (C, C#, Db, ...
    /// Bb, B): Cb becomes B, E# F, F## G; the other names stay.
    SpelledNote Simplified() const;

    bool operator==(const SpelledNote& other) const { return letter == other.letter && alter == other.alter; }
};

/// Spells the notes of a song as the scale degrees they are in its key, the
/// way a musician writes them: the key's own notes with the key's letters,
/// the flattened degrees (bII, bIII, bVI, bVII) with flats, the raised ones
/// (#IV, the leading note of a minor key, the raised third and sixth) with
/// sharps. So C major writes Eb, Ab and Bb but F#, and A minor writes G#.
class CKeySpelling final {
public:
    /// The side of the key's signature: G major and E minor Sharps, F major
    /// and D minor Flats, C and A minor Natural. The keys of six (F# or Gb
    /// major, D# or Eb minor) take preferred.
    static SignatureSide SideOf(MusicalKey key, SignatureSide preferred);
    /// The side a sheet's writer used, to spell the keys of six after a
    /// shift: that of the sheet's own key, or, for a sheet in C, A minor or
    /// a key of six, the side of most of its written names (written).
    static SignatureSide WritersSide(MusicalKey original, SignatureSide written);

    /// The tonic of the key: Db major but C# minor, Bb minor but G# minor;
    /// the keys of six as side says (Flats gives Gb and Ebm, else F# and D#m).
    static SpelledNote Tonic(MusicalKey key, SignatureSide side);
    /// The root pitch class 0..11 of a chord in the key. The root of a
    /// diminished chord on a flattened degree is the raised degree below,
    /// a leading note (G#dim, not Abdim, in C major).
    static SpelledNote Root(int pitch, MusicalKey key, SignatureSide side, bool diminished = false);
    /// The bass note of a slash chord whose root is rootPitch: a third,
    /// fifth or seventh of the chord is spelled from the chord's root, as
    /// the chord is built (E/G#, not E/Ab, in C major); any other bass note
    /// as the root of a chord.
    static SpelledNote Bass(int pitch, int rootPitch, MusicalKey key, SignatureSide side, bool diminished = false);
};
