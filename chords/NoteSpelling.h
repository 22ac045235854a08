#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "chords/Pitch.h"

/// The sign written after a note's letter.
enum class Accidental : signed char { Flat = -1, Natural = 0, Sharp = 1 };

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
    constexpr char Letter() const { return kNames[m_index][0]; }
    constexpr Accidental GetAccidental() const;
    constexpr bool IsFlat() const { return GetAccidental() == Accidental::Flat; }
    constexpr Pitch GetPitch() const;
    /// The letter and its sign: "C", "C#", "Db".
    constexpr std::string_view Name() const { return {kNames[m_index], Length()}; }
    /// The bytes of Name(): 1 or 2.
    constexpr std::size_t Length() const { return kNames[m_index][1] == '\0' ? 1 : 2; }

    constexpr bool operator==(NoteSpelling other) const { return m_index == other.m_index; }
    constexpr bool operator!=(NoteSpelling other) const { return m_index != other.m_index; }

private:
    constexpr explicit NoteSpelling(int index) : m_index(static_cast<std::uint8_t>(index)) {}

    // The one table of the spellings; every other view of them is derived from it.
    static constexpr char kNames[kCount][3] = {"C",  "C#", "Db", "D",  "D#", "Eb", "E",  "F", "F#",
                                               "Gb", "G",  "G#", "Ab", "A",  "A#", "Bb", "B"};
    // The pitch of each letter A..G written alone.
    static constexpr int kLetterPitch[7] = {9, 11, 0, 2, 4, 5, 7};

    std::uint8_t m_index = 0;
};

constexpr Accidental NoteSpelling::GetAccidental() const {
    const char sign = kNames[m_index][1];
    return sign == '#' ? Accidental::Sharp : sign == 'b' ? Accidental::Flat : Accidental::Natural;
}

constexpr Pitch NoteSpelling::GetPitch() const {
    return Pitch(kLetterPitch[Letter() - 'A'] + static_cast<int>(GetAccidental()));
}

constexpr std::optional<NoteSpelling> NoteSpelling::Of(char letter, Accidental accidental) {
    for (int i = 0; i < kCount; ++i) {
        const NoteSpelling spelling(i);
        if (spelling.Letter() == letter && spelling.GetAccidental() == accidental)
            return spelling;
    }
    return std::nullopt;
}

constexpr NoteSpelling NoteSpelling::InFamily(Pitch pitch, bool flat) {
    // A black key has its sharp spelling first and its flat one right after.
    int found = -1;
    for (int i = 0; i < kCount; ++i) {
        if (NoteSpelling(i).GetPitch() == pitch) {
            found = i;
            if (!flat)
                break;
        }
    }
    return NoteSpelling(found);
}
