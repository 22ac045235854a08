#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chords/Chord.h"
#include "engine/ChordRules.h"

/// One song: its text and the chords found in it.
///
/// Detection reads the text once and keeps every chord it finds, whatever
/// their number: a songbook is transposed, scored and saved whole. Each
/// occurrence takes eight bytes (its position and its chord-table index).
///
/// A chord is any exact name of the chord table that stands between a left
/// and a right delimiter (the start and the end of the text count as both).
/// The rule is lexical, except that in an HTML song a name inside a tag is
/// markup: SetHtml says which the text is.
class CTablature {
public:
    static constexpr int kMaxDistinct = 85;

    CTablature() = default;
    /// Copies the text, whether it is HTML, the chords and the score.
    CTablature(const CTablature& other) = default;
    CTablature& operator=(const CTablature& other) = default;
    virtual ~CTablature() = default;

    /// Replaces the whole content by the chords detected in the text.
    void Detect(std::string newText);
    /// Moves every detected chord by the shift in half-tones. Afterwards the
    /// tablature holds what detecting the new text gives.
    void Transpose(int shift);
    /// Moves the song to the shift, among 0, -1, +1, ... -6, +6, with the
    /// lowest score (the first tried wins ties) and returns that shift.
    int FindEasiest();

    /// Whether the text is an HTML song (an .htm or .html file, or the
    /// start page): chord names inside its tags are then left alone. Off in
    /// a new tablature. Detection reads it: set it before Detect.
    void SetHtml(bool html) { m_rules.html = html; }
    bool IsHtml() const { return m_rules.html; }
    /// What counts as a chord in this text, for the display page.
    const ChordRules& Rules() const { return m_rules; }

    int GetScore() const { return score; }
    int GetDistinctCount() const { return distinctCount; }

    /// The number of chords detected in the text.
    int OccurrenceCount() const { return static_cast<int>(m_occurrences.size()); }
    /// The byte offset in text of occurrence i (0 <= i < OccurrenceCount()),
    /// ascending with i.
    std::size_t PositionAt(int i) const { return m_occurrences[static_cast<std::size_t>(i)].position; }
    /// The chord-table entry of occurrence i, with the table's current level.
    const CChord& ChordAt(int i) const;

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
    /// One entry per chord of the song, enharmonic spellings merged (the first spelling found stays).
    std::array<CChord, kMaxDistinct> distinctChords;
    int distinctCount = 0;

private:
    struct Occurrence {
        std::uint32_t position;
        std::uint8_t index; ///< in the chord table
    };

    /// The distinct list and the score, from m_counts.
    void ListDistinctChords();

    ChordRules m_rules;
    /// In ascending position.
    std::vector<Occurrence> m_occurrences;
    /// How often each chord-table name occurs delimited in the text.
    std::array<int, 85> m_counts{};
};

/// The chord moved by shift half-tones, spelled in its own family, as a copy
/// of the matching entry of the chord table.
CChord TransposeChord(const CChord& chord, int shift);

/// What earlier versions showed when a song held more than 1024 chords,
/// before transposing only part of it. Detection has no such limit now and
/// never shows it.
inline constexpr const char* kTooManyChordsMessage =
    "Sorry your file contains more than 1024 chords. Please contact the author to increase the number of handled "
    "chords.";
