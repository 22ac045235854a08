#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chords/ChordName.h"

/// One chord found in a song's text, in eight bytes: a songbook holds many.
struct ChordOccurrence {
    std::uint32_t position;
    /// In the chord table; of the base chord for a name outside it, of the
    /// major chord of the note for a bass note.
    std::uint8_t index;
    /// A name outside the table (every chord name on).
    bool extended : 1;
    /// A bass note of a slash chord on a chord line: moved, never scored.
    bool bass : 1;
    /// The bass note is written in lower case.
    bool lowerCase : 1;
    /// A fingering written after a chord: its frets move, it scores nothing.
    bool fingering : 1;
    /// The root is written in two bytes (C#, Bb; in German Hb).
    bool longRoot : 1;
    /// The bytes of the name as the text writes it.
    std::uint16_t length;

    static ChordOccurrence Of(std::size_t position, const ChordMatch& match) {
        return {static_cast<std::uint32_t>(position),
                static_cast<std::uint8_t>(match.index),
                match.extended,
                match.bass,
                match.lowerCase,
                match.fingering,
                match.rootLength == 2,
                static_cast<std::uint16_t>(match.length)};
    }
    /// The length of the name as text writes it at position.
    std::size_t NameLength(const std::string&) const { return length; }
    /// The suffix after the root, as the text holds it at position.
    std::string_view SuffixIn(const std::string& text) const {
        return std::string_view(text).substr(position + RootLength(), length - RootLength());
    }
    /// The bytes of the root as the text writes it.
    std::size_t RootLength() const { return longRoot ? 2 : 1; }
    /// Whether the root is written E#, B#, Fb or Cb: two bytes for the
    /// white key index names.
    bool SignedWhiteKey() const {
        return longRoot && NoteSpelling::AtIndex(index % NoteSpelling::kCount).Length() == 1;
    }
};
