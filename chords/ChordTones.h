#pragma once

#include <optional>
#include <string>

/// The pitch classes of one chord name, as sets of twelve bits: bit k is the
/// pitch class k (0 C .. 11 B).
struct ChordTones {
    /// Pitch class of the root.
    int root = 0;
    /// Pitch class that sounds lowest: the root, or the note after a slash.
    int bass = 0;
    /// Every note the chord may sound.
    unsigned tones = 0;
    /// The notes a fingering must sound; the others (a perfect fifth, the
    /// ninth under an eleventh or thirteenth) may be left out.
    unsigned essential = 0;
};

/// The bit of pitch class pc in a ChordTones set.
constexpr unsigned PitchBit(int pc) {
    return 1u << (((pc % 12) + 12) % 12);
}

/// The notes of root + suffix, the suffix as written after the root ("",
/// "m7b5", "7sus4", "(add9)", "maj7#11", "69", "5"...), with the bass note
/// of a slash chord when given. Nothing when the suffix is not a chord this
/// understands (or the root or bass lies outside 0..11).
std::optional<ChordTones> ChordTonesOf(int root, const std::string& suffix, std::optional<int> bass = std::nullopt);
