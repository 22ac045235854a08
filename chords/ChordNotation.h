#pragma once

#include <cstddef>
#include <string_view>

#include "chords/NoteSpelling.h"

/// How a sheet writes the roots of its chord names.
enum class Notation : unsigned char {
    /// The letters A..G with "#" or "b" after one; B is B natural.
    AsWritten = 0,
    /// The German and Czech way: H is B natural and B is B flat ("Hb" and
    /// "Bb" are B flat too), and "mi" or "moll" after a root says minor.
    German = 1,
};

/// "as-written" or "german".
const char* NotationName(Notation notation);
/// The notation of one of those words; false for any other word.
bool NotationOfName(std::string_view name, Notation& notation);
/// The notation of a stored value 0..1; any other value is AsWritten.
Notation NotationOfValue(int value);

namespace chordnotation {

inline constexpr int kNotationCount = 2;
/// The letters a root may start with: A..H.
inline constexpr int kLetterCount = 8;

/// The spelling index of letter + sign as a notation reads it, or -1:
/// [notation][letter A..H][0 natural, 1 '#', 2 'b']. The one place where
/// letters become spellings; RootName is its way back.
struct LetterSpellings {
    signed char of[kNotationCount][kLetterCount][3];
};
inline constexpr LetterSpellings kLetterSpellings = [] {
    LetterSpellings table{};
    constexpr Accidental kSigns[3] = {Accidental::Natural, Accidental::Sharp, Accidental::Flat};
    for (int notation = 0; notation < kNotationCount; ++notation) {
        for (int letter = 0; letter < kLetterCount; ++letter) {
            for (int sign = 0; sign < 3; ++sign) {
                const auto spelling = NoteSpelling::Of(static_cast<char>('A' + letter), kSigns[sign]);
                table.of[notation][letter][sign] = static_cast<signed char>(spelling ? spelling->Index() : -1);
            }
        }
    }
    constexpr int kBFlat = 15;
    constexpr int kBNatural = 16;
    auto& german = table.of[static_cast<int>(Notation::German)];
    german['B' - 'A'][0] = kBFlat;
    german['B' - 'A'][1] = -1;
    german['B' - 'A'][2] = kBFlat;
    german['H' - 'A'][0] = kBNatural;
    german['H' - 'A'][2] = kBFlat;
    return table;
}();

/// The spelling of the white key a root written E#, B#, Fb or Cb sounds
/// (F, C, E, B), by letter A..H and sign ('#' or 'b'), or -1. German
/// sheets write these Eis, His, Fes and Ces, which are not read.
struct SignedWhiteKeys {
    signed char of[kLetterCount][2];
};
inline constexpr SignedWhiteKeys kSignedWhiteKeys = [] {
    SignedWhiteKeys table{};
    constexpr int kLetterPitch[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    for (int letter = 0; letter < kLetterCount; ++letter) {
        for (int sign = 0; sign < 2; ++sign) {
            const Accidental accidental = sign == 0 ? Accidental::Sharp : Accidental::Flat;
            const bool lacking = letter < 7 && !NoteSpelling::Of(static_cast<char>('A' + letter), accidental);
            const Pitch pitch(lacking ? kLetterPitch[letter] + static_cast<int>(accidental) : 0);
            table.of[letter][sign] =
                static_cast<signed char>(lacking ? NoteSpelling::InFamily(pitch, false).Index() : -1);
        }
    }
    return table;
}();

inline int SignedWhiteKey(Notation notation, unsigned letter, char sign) {
    if (letter >= static_cast<unsigned>(kLetterCount) || (sign != '#' && sign != 'b'))
        return -1;
    // German writes B natural H, so H# is C; its B is B flat, which no sign
    // makes a white key.
    if (notation == Notation::German && letter == 'H' - 'A')
        return sign == '#' ? kSignedWhiteKeys.of['B' - 'A'][0] : -1;
    if (notation == Notation::German && letter == 'B' - 'A')
        return -1;
    return kSignedWhiteKeys.of[letter][sign == '#' ? 0 : 1];
}

/// The spellings of the letters of a notation.
inline const signed char (*LettersOf(Notation notation))[3] {
    return kLetterSpellings.of[static_cast<int>(notation)];
}

/// The root as the notation writes it: B natural is "H" and B flat "B" in
/// German; every other spelling as its name.
constexpr std::string_view RootName(NoteSpelling spelling, Notation notation) {
    if (notation == Notation::German && spelling.Letter() == 'B')
        return spelling.IsFlat() ? "B" : "H";
    return spelling.Name();
}

/// The bytes of a minor word the notation reads right after a root ("mi",
/// "moll" in German) at pos, or 0.
inline std::size_t MinorWordAt(const char* text, std::size_t size, std::size_t pos, Notation notation) {
    if (notation != Notation::German || pos + 1 >= size || text[pos] != 'm')
        return 0;
    if (text[pos + 1] == 'i')
        return pos + 2 < size && text[pos + 2] == 'n' ? 0 : 2;
    if (pos + 3 < size && text[pos + 1] == 'o' && text[pos + 2] == 'l' && text[pos + 3] == 'l')
        return 4;
    return 0;
}

} // namespace chordnotation
