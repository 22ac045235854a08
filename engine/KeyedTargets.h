#pragma once

#include <array>
#include <cstdint>

#include "chords/ChordName.h"
#include "chords/TableNames.h"
#include "engine/SongKey.h"
#include "engine/TableMoves.h"

/// Where the bass notes and the names outside the table of a song in a key
/// move, spelled by key at a shift other than 0: a bass note is spelled from
/// the chord it stands under, a diminished chord as the raised degree on a
/// flattened one, any other name as the table's moves say. A songbook
/// repeats its notes: each spelling is worked out once.
class CKeyedTargets {
public:
    CKeyedTargets(const SongKey& key, int shift, const TableMoves& moves, Notation notation);

    /// The table index a bass note at index moves to, under the chord at
    /// chordIndex (-1 for none before it).
    std::uint8_t Bass(int index, int chordIndex, bool chordDiminished) {
        const int pitch = m_movedPitches[static_cast<std::size_t>(index)];
        const int chordRoot = chordIndex < 0 ? -1 : m_movedPitches[static_cast<std::size_t>(chordIndex)];
        std::int8_t& bass =
            m_basses[static_cast<std::size_t>(pitch)][static_cast<std::size_t>(chordRoot + 1)][chordDiminished ? 1 : 0];
        if (bass < 0)
            bass = SpellBass(pitch, chordRoot, chordDiminished);
        return Written(m_qualities[static_cast<std::size_t>(index)] + bass);
    }
    /// The table index a chord name at index moves to.
    std::uint8_t Chord(int index, bool diminished);

private:
    std::int8_t SpellBass(int pitch, int chordRoot, bool chordDiminished) const;
    // A German sheet has no A#: its B is B flat.
    std::uint8_t Written(int index) const {
        constexpr int kASharp = 14;
        const bool german = m_notation == Notation::German && index % NoteSpelling::kCount == kASharp;
        return static_cast<std::uint8_t>(german ? index + 1 : index);
    }

    SongKey m_target;
    const TableMoves& m_moves;
    Notation m_notation;
    // Each table entry's moved pitch and the first entry of its quality.
    std::array<std::uint8_t, TableNames::kSize> m_movedPitches{};
    std::array<std::uint8_t, TableNames::kSize> m_qualities{};
    // Spellings worked out so far, -1 for none: by pitch; by pitch, the
    // chord's root (0 for none, else 1 + its pitch) and whether it is diminished.
    std::array<std::int8_t, 12> m_leadingNotes{};
    std::array<std::array<std::array<std::int8_t, 2>, 13>, 12> m_basses{};
};
