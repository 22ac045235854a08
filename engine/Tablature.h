#pragma once

#include <array>
#include <string>

#include "chords/Chord.h"

/// One song: its text and the chords found in it.
///
/// Detection reads the text once. When the song holds more than
/// kMaxOccurrences chords, the kept ones are chosen by chord-table order
/// (then by position within a name), the text is reported as too long once
/// for each name that did not fit, and such a name stays out of the distinct
/// list.
///
/// A chord is any exact name of the chord table that stands between a left
/// and a right delimiter (the start and the end of the text count as both).
/// The rule is lexical and the same for plain text and HTML.
class CTablature {
public:
    static constexpr int kMaxOccurrences = 1024;
    static constexpr int kMaxDistinct = 85;

    CTablature() = default;
    /// Copies the text, the score and the used occurrence and distinct slots.
    CTablature(const CTablature& other);
    CTablature& operator=(const CTablature& other);
    virtual ~CTablature() = default;

    /// Replaces the whole content by the chords detected in the text.
    void Detect(std::string newText);
    /// Moves every detected chord by the shift in half-tones, then detects again.
    void Transpose(int shift);
    /// Moves the song to the shift, among 0, -1, +1, ... -6, +6, with the
    /// lowest score (the first tried wins ties) and returns that shift.
    int FindEasiest();

    int GetScore() const { return score; }
    int GetDistinctCount() const { return distinctCount; }

    static bool IsLeftDelimiter(char c);
    static bool IsRightDelimiter(char c);
    /// Whether the len bytes at pos stand between delimiters.
    static bool IsChordWord(const std::string& text, std::size_t pos, std::size_t len);
    /// Replaces every delimited occurrence of name by replacement, in place.
    static void ReplaceChordWord(std::string& text, const std::string& name, const std::string& replacement);

    /// The song text; positions are byte offsets into it.
    std::string text;
    /// Sum of the current levels of the distinct chords.
    int score = 0;
    /// The detected occurrences, in ascending position; the first count are used.
    std::array<CChord, kMaxOccurrences> occurrences;
    std::array<int, kMaxOccurrences> positions{};
    int count = 0;
    /// One entry per chord of the song, enharmonic spellings merged (the first spelling found stays).
    std::array<CChord, kMaxDistinct> distinctChords;
    int distinctCount = 0;

private:
    /// How often each chord-table name occurs delimited in the text, also
    /// beyond the occurrences kept.
    std::array<int, 85> m_counts{};
};

/// The chord moved by shift half-tones, spelled in its own family, as a copy
/// of the matching entry of the chord table.
CChord TransposeChord(const CChord& chord, int shift);

/// The message shown when a song holds more chords than a tablature keeps.
inline constexpr const char* kTooManyChordsMessage =
    "Sorry your file contains more than 1024 chords. Please contact the author to increase the number of handled "
    "chords.";
