#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "chords/TableNames.h"
#include "engine/ChordOccurrence.h"
#include "engine/DistinctChords.h"
#include "engine/KeyedTargets.h"
#include "engine/TableMoves.h"

/// Writes the moved names of a song's occurrences, one at a time and in
/// text order, wherever the caller puts them (engine/RewriteChords.h says
/// how each name moves).
class CNameWriter final {
public:
    /// The bytes written for a table name, its end padded: a name of any
    /// length is copied in one go.
    static constexpr std::size_t kTableNameBytes = TableNames::kBytes;

    CNameWriter(const std::string& text, const TableMoves& moves, CKeyedTargets* keyed, Notation notation, int shift,
                ChordCounts& counts, bool flatWhiteKeys);

    /// Room for the moved names of occurrences beyond their old bytes, once
    /// HoldLegends has moved the fingerings.
    std::size_t Growth(const std::vector<ChordOccurrence>& occurrences) const;

    /// Moves every fingering once. A legend whose fingering cannot move
    /// sound keeps its name, bass and fingerings as written: a moved name
    /// over the old shape would contradict itself. Each such legend is
    /// added to leftAsWritten when given.
    void HoldLegends(const std::vector<ChordOccurrence>& occurrences, std::vector<std::string>* leftAsWritten);

    /// Lists in others, as they are written, the occurrences written
    /// otherwise than as the table name they move to: names outside the
    /// table, bass notes and fingerings among them.
    void ListOthers(std::vector<std::uint32_t>* others) { m_others = others; }

    /// Writes the moved name of occurrences[k] at out and returns its bytes,
    /// called for each occurrence in text order. Up to kTableNameBytes are
    /// written however short the name. The occurrence takes its new name's
    /// table entry, length and root, and keeps its position in the old text.
    std::size_t Write(std::vector<ChordOccurrence>& occurrences, std::size_t k, char* out) {
        ChordOccurrence& occurrence = occurrences[k];
        if (!m_tableNamesAlone || occurrence.fingering || occurrence.bass || occurrence.extended)
            return WriteAny(occurrences, k, out);
        // Most names are table names: one is copied whole, its eight bytes,
        // as a few bytes of any length would take a call.
        const std::uint8_t target = m_moves[occurrence.index];
        m_chord = occurrence.index;
        m_chordDiminished = false;
        const std::string_view name = kTableNames[target];
        std::memcpy(out, name.data(), kTableNameBytes);
        ++m_counts[target];
        occurrence.longRoot = kTableNames.LongRoot(target);
        occurrence.index = target;
        occurrence.length = static_cast<std::uint16_t>(name.size());
        return name.size();
    }

private:
    std::uint8_t FlatTarget(int index) const;
    // Write for any occurrence: kept out of line, so that Write's few
    // bytes for a table name go inline into the loops that call it.
    [[gnu::noinline]] std::size_t WriteAny(std::vector<ChordOccurrence>& occurrences, std::size_t k, char* out);
    std::uint8_t KeyedTarget(const ChordOccurrence& occurrence);
    std::string LegendAsWritten(const std::vector<ChordOccurrence>& occurrences, std::size_t name) const;

    const std::string& m_text;
    const TableMoves& m_moves;
    CKeyedTargets* m_keyed;
    // Spelled as written, a root written Fb or Cb moves as a flat.
    bool m_flatWhiteKeys = false;
    int m_shift = 0;
    Notation m_notation;
    ChordCounts& m_counts;
    int m_frets = 0;
    // By occurrence, once the song has a fingering: whether its legend
    // stays as written.
    std::vector<bool> m_held;
    // The moved fingerings in text order, and the next one Write takes.
    std::vector<std::string> m_fingerings;
    std::size_t m_nextFingering = 0;
    // The names outside the table.
    std::size_t m_extended = 0;
    // The table entry of the last chord written, none before the first,
    // and whether it is diminished: a bass note is spelled from it.
    int m_chord = -1;
    bool m_chordDiminished = false;
    // Whether a table name moves by the moves alone, written as the table
    // writes it: no notation of its own and no legend held.
    bool m_tableNamesAlone = false;
    std::vector<std::uint32_t>* m_others = nullptr;
};
