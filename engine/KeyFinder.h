#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MusicalKey.h"

/// What a chord says about the key, whatever else its suffix adds.
enum class ChordKind {
    /// A major triad, with or without added sixth, ninth or major seventh.
    Major,
    /// A minor triad, with or without seventh, sixth or ninth.
    Minor,
    /// A major triad with a minor seventh (7, 9, 13, 7sus4...): it points
    /// at the chord a fifth below.
    Dominant7,
    /// Diminished or half-diminished: a leading note in disguise.
    Diminished,
    /// No third to tell major from minor (sus, power chord) or augmented.
    Other,
};

/// The kind of the chord a suffix names: "" and "maj7" Major, "m" and "mi"
/// Minor, "7" and "9" Dominant7, "dim" and "m7b5" Diminished, "sus4" and
/// "+" Other, "-" and "-7" Minor. Reads the suffix as the sheet writes it,
/// parentheses included ("C(maj7)").
ChordKind ChordKindOfSuffix(std::string_view suffix);

/// One chord of a song as the key finder reads it, in song order.
struct KeyChord {
    /// Pitch class of the root, 0 (C) .. 11 (B).
    int root = 0;
    ChordKind kind = ChordKind::Major;
    /// The bass note written after a slash (the G of C/G): a single note,
    /// not a chord of its own, so it weighs nothing in the harmony.
    bool bassOnly = false;
    /// Whether the chord stands on a chord line. A chord-like word in a
    /// title ("Song (in C)"), in the lyrics ("A blessed Angel came") or in
    /// a fingering legend ("Abdim (xx0101)") still hints at the song's
    /// chords, but it neither starts nor ends the song.
    bool onChordLine = true;
};

/// The key the finder settled on, with how sure it is.
struct KeyGuess {
    MusicalKey key;
    /// How well the key explains the chords; comparable between keys of
    /// the same song only.
    double score = 0;
    /// The score minus that of the runner-up: near 0 the song could be in
    /// either (a song of C, F and G alone is C major, but only just).
    double margin = 0;
};

/// Guesses the key of a song from its chords, as a musician would: the
/// chord the song keeps coming back to, starts and ends on, and against
/// which the other chords make sense (the dominant seventh resolving onto
/// it, the borrowed bVII and iv of a major key, the major V of a minor
/// one). The last chord weighs more than the first, which a sheet often
/// plays as a pick-up or an intro, unless they are two different triads
/// and no dominant leads to the last: a progression written out once stops
/// where its turn ends.
class CKeyFinder final {
public:
    /// The best of the 24 keys, or nothing for a song without chords
    /// (bass notes alone make no harmony).
    static std::optional<KeyGuess> Find(const std::vector<KeyChord>& chords);
    /// The score of one key for the chords; Find keeps the highest.
    static double Score(const std::vector<KeyChord>& chords, MusicalKey key);
};
