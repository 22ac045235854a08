#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "chords/ChordName.h"
#include "engine/DistinctChords.h"
#include "engine/SongKey.h"
#include "engine/SongOptions.h"

/// What scoring a song at any shift needs to know of it, taken once: what
/// the song's transposition and a new detection would give depends only on
/// which chords occur in it, so the trials of the easiest search and the
/// capo table read this instead of rewriting the text.
struct SongSummary {
    ChordCounts counts{};
    /// The distinct names outside the table, in order of first occurrence.
    std::vector<ChordName> extended;
    std::optional<SongKey> key;
    Spelling spelling = Spelling::AsWritten;
    Notation notation = Notation::AsWritten;
    /// How often each name of extended occurs.
    std::vector<int> extendedCounts;

    /// The chord name of a fingering legend ("Am (x02210)") and the moves
    /// at which a fingering of the legend cannot move sound, so that the
    /// name stays as written: bit Pitch::Wrap(shift) of shifts.
    struct HeldName {
        /// The table entry of a table name.
        int index = 0;
        /// Its place in extended; -1 for a table name.
        int extended = -1;
        std::uint16_t shifts = 0;
    };
    std::vector<HeldName> held;

    /// The distinct chords and the score of the song moved by shift.
    DistinctChords At(int shift) const;
};
