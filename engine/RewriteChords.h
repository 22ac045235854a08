#pragma once

#include <string>
#include <vector>

#include "engine/ChordOccurrence.h"
#include "engine/DistinctChords.h"
#include "engine/TableMoves.h"

/// The text with every occurrence's name moved as moves say: a table name
/// becomes the name it moves to, a name outside the table gets the moved
/// root and keeps its suffix as written. Keeping columns, a longer name takes
/// spaces from the run of two or more after it, leaving one, and a shorter
/// one followed by a space gets spaces after it. The occurrences are updated
/// to the new text and counts to the moved table names. A fingering moves
/// its frets by shift half-tones, taken the short way round. Roots and bass
/// notes are written in the notation; in German every name keeps its suffix
/// as written (Ami moves to Hmi) and a name that does not move keeps its
/// bytes (Hb stays Hb). With targets (one per occurrence), each occurrence
/// moves to its own entry instead of the moves'.
std::string RewriteChords(const std::string& text, std::vector<ChordOccurrence>& occurrences, const TableMoves& moves,
                          bool keepColumns, ChordCounts& counts, int shift = 0, Notation notation = Notation::AsWritten,
                          const std::vector<std::uint8_t>* targets = nullptr);
