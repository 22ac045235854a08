#pragma once

#include <array>
#include <vector>

#include "chords/TableNames.h"

/// How often each table name occurs in a song.
using ChordCounts = std::array<int, TableNames::kSize>;

/// The distinct chords of a song and their score.
struct DistinctChords {
    /// Table indexes; the first count are set.
    std::array<int, TableNames::kSize> index;
    int count = 0;
    /// The sum of the table's current levels of the distinct chords.
    int score = 0;
};

/// The table names that occur, in table order, then the base chords of the
/// names outside the table, in the order given; a chord listed once, under
/// the first spelling met (entries are the same chord when root pitch and
/// quality agree).
DistinctChords ListDistinct(const ChordCounts& counts, const std::vector<int>& extraBases);
