#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "chords/Pitch.h"

/// The sign written after a note's letter.
enum class Accidental : signed char { Flat = -1, Natural = 0, Sharp = 1 };

namespace notespelling {

// The one table of the spellings; every other view of them is derived from it.
inline constexpr char kNames[17][3] = {"C",  "C#", "Db", "D",  "D#", "Eb", "E",  "F", "F#",
                                       "Gb", "G",  "G#", "Ab", "A",  "A#", "Bb", "B"};

constexpr Accidental AccidentalOf(int index) {
    const char sign = kNames[index][1];
    return sign == '#' ? Accidental::Sharp : sign == 'b' ? Accidental::Flat : Accidental::Natural;
}

// The pitch class of each spelling, and the spelling of each pitch class
// with sharps [0] and with flats [1], for the inner loops of moving a song.
inline constexpr std::array<std::uint8_t, 17> kPitches = [] {
    constexpr int kLetterPitch[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    std::array<std::uint8_t, 17> pitches{};
    for (int i = 0; i < 17; ++i)
        pitches[i] = static_cast<std::uint8_t>(
            Pitch(kLetterPitch[kNames[i][0] - 'A'] + static_cast<int>(AccidentalOf(i))).Value());
    return pitches;
}();
inline constexpr std::array<std::array<std::uint8_t, 12>, 2> kInFamily = [] {
    std::array<std::array<std::uint8_t, 12>, 2> spellings{};
    // A black key is spelled sharp first in the table, then flat.
    for (int i = 16; i >= 0; --i)
        spellings[0][kPitches[i]] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 17; ++i)
        spellings[1][kPitches[i]] = static_cast<std::uint8_t>(i);
    return spellings;
}();

} // namespace notespelling

/// One of the 17 ways the program writes a note: a letter A..G alone or
/// followed by one "#" or "b", the black keys both ways and B#, Cb, E#, Fb
/// not at all. Its index 0..16 follows the order C, C#, Db, D, D#, Eb, E, F,
/// F#, Gb, G, G#, Ab, A, A#, Bb, B, which is also the order of each quality's
/// names in the chord table and of the stored levels.
class NoteSpelling final {
public:
    static constexpr int kCount = 17;

    /// C.
    constexpr NoteSpelling() = default;
    /// The spelling at index 0..16.
    static constexpr NoteSpelling AtIndex(int index) { return NoteSpelling(index); }
    /// The spelling of an upper-case letter A..G and an accidental, or
    /// nothing for a letter outside A..G or a note the 17 do not write.
    static constexpr std::optional<NoteSpelling> Of(char letter, Accidental accidental);
    /// The spelling of pitch with sharps (C C# D D# E F F# G G# A A# B) or
    /// flats (C Db D Eb E F Gb G Ab A Bb B).
    static constexpr NoteSpelling InFamily(Pitch pitch, bool flat);

    constexpr int Index() const { return m_index; }
    constexpr char Letter() const { return notespelling::kNames[m_index][0]; }
    constexpr Accidental GetAccidental() const { return notespelling::AccidentalOf(m_index); }
    constexpr bool IsFlat() const { return GetAccidental() == Accidental::Flat; }
    constexpr Pitch GetPitch() const { return Pitch(notespelling::kPitches[m_index]); }
    /// The letter and its sign: "C", "C#", "Db".
    constexpr std::string_view Name() const { return {notespelling::kNames[m_index], Length()}; }
    /// The bytes of Name(): 1 or 2.
    constexpr std::size_t Length() const { return notespelling::kNames[m_index][1] == '\0' ? 1 : 2; }

    constexpr bool operator==(NoteSpelling other) const { return m_index == other.m_index; }
    constexpr bool operator!=(NoteSpelling other) const { return m_index != other.m_index; }

private:
    constexpr explicit NoteSpelling(int index) : m_index(static_cast<std::uint8_t>(index)) {}

    std::uint8_t m_index = 0;
};

constexpr std::optional<NoteSpelling> NoteSpelling::Of(char letter, Accidental accidental) {
    for (int i = 0; i < kCount; ++i) {
        const NoteSpelling spelling(i);
        if (spelling.Letter() == letter && spelling.GetAccidental() == accidental)
            return spelling;
    }
    return std::nullopt;
}

constexpr NoteSpelling NoteSpelling::InFamily(Pitch pitch, bool flat) {
    return NoteSpelling(notespelling::kInFamily[flat ? 1 : 0][static_cast<std::size_t>(pitch.Value())]);
}
