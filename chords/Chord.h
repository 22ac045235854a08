#pragma once

#include <array>
#include <string>

/// The five chord qualities, numbered as in the chord table and the settings.
enum ChordQuality { Major = 0, Minor = 1, Seventh = 2, MinorSeventh = 3, MajorSeventh = 4 };

inline constexpr int kQualityCount = 5;

/// The suffix of each quality, as the table writes it.
inline constexpr const char* kQualitySuffixes[kQualityCount] = {"", "m", "7", "m7", "maj7"};

/// One chord as a plain value: root, spelling family, quality, the user's
/// difficulty level and one fingering for a six-string guitar.
class CChord {
public:
    /// Pitch class of the root, 0 (C) .. 11 (B).
    int root = 0;
    /// '#' spells the root with sharp names, 'b' with flat names. Natural roots carry '#'.
    char accidental = '#';
    /// "", "m", "7", "m7" or "maj7".
    std::string suffix;
    /// 1 (very easy) .. 5 (very hard).
    int difficulty = 1;
    /// String 1 (high E) to string 6 (low E): -1 not played, 0 open, k the k-th fret row of the diagram.
    std::array<int, 6> frets{-1, -1, -1, -1, -1, -1};
    /// The fret at which the diagram begins, in decimal; "1" is the nut.
    std::string position = "1";

    /// Validates all four values and assigns them; an invalid value is fatal.
    void Set(int root, char accidental, const std::string& suffix, int difficulty);
    /// Validates and assigns the level; a level outside 1..5 is fatal.
    void SetDifficulty(int level);
    /// Stores the fingering unchanged, without checks.
    void SetFingering(const std::string& position, int string1, int string2, int string3, int string4, int string5,
                      int string6);

    /// The root's note name in the chord's own family followed by the suffix.
    std::string GetName() const;
    int GetDifficulty() const { return difficulty; }
    std::string GetSuffix() const { return suffix; }
};

/// The quality index of a suffix, or -1 when it is none of the five.
int QualityOfSuffix(const std::string& suffix);
/// The suffix of a quality index 0..4.
const char* SuffixOfQuality(int quality);
