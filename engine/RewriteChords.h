#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ChordOccurrence.h"
#include "engine/ChordRules.h"
#include "engine/DistinctChords.h"
#include "engine/KeyedTargets.h"
#include "engine/TableMoves.h"

/// The text with every occurrence's name moved as moves say: a table name
/// becomes the name it moves to, a name outside the table gets the moved
/// root and keeps its suffix as written. Keeping columns, the lines that
/// hold names are laid out again by the column rule (engine/KeepColumns.h)
/// as the rules read the text. The occurrences are updated
/// to the new text and counts to the moved table names. A fingering moves
/// its frets by shift half-tones, taken the short way round. Roots and bass
/// notes are written in the notation; in German every name keeps its suffix
/// as written (Ami moves to Hmi) and a name that does not move keeps its
/// bytes (Hb stays Hb). With keyed, each bass note and name outside the
/// table moves where it says instead, spelled by key. A fingering that cannot
/// move (MoveFingering) leaves its whole legend as written, the name and
/// its bass with it; each such legend is added to leftAsWritten when given
/// ("Am (x02210)"). When others is given, it is set to the occurrences
/// (by index) written otherwise than as a table name: every name outside
/// the table, bass note and fingering is among them.
std::string RewriteChords(const std::string& text, std::vector<ChordOccurrence>& occurrences, const TableMoves& moves,
                          bool keepColumns, ChordCounts& counts, int shift = 0, const ChordRules& rules = ChordRules(),
                          CKeyedTargets* keyed = nullptr, std::vector<std::string>* leftAsWritten = nullptr,
                          bool ownFamilies = false, std::vector<std::uint32_t>* others = nullptr);
