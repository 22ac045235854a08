#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "chords/TableNames.h"
#include "engine/ChordScanner.h"

/// One chord found in a song's text, in eight bytes: a songbook holds many.
struct ChordOccurrence {
    std::uint32_t position;
    /// In the chord table; of the base chord for a name outside it.
    std::uint8_t index;
    /// A name outside the table (every chord name on).
    bool extended;

    /// The length of the name as text writes it at position.
    std::size_t NameLength(const std::string& text) const {
        if (!extended)
            return kTableNames[index].size();
        ChordMatch match;
        chordscan::MatchAt<true>(text.data(), text.size(), position, match);
        return match.length;
    }
};
