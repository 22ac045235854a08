#include "engine/KeyedTargets.h"

CKeyedTargets::CKeyedTargets(const SongKey& key, int shift, const TableMoves& moves, Notation notation)
    : m_target(key.Moved(shift)), m_moves(moves), m_notation(notation) {
    for (std::size_t index = 0; index < TableNames::kSize; ++index) {
        const std::size_t spelling = index % NoteSpelling::kCount;
        m_movedPitches[index] = static_cast<std::uint8_t>(
            NoteSpelling::AtIndex(static_cast<int>(spelling)).GetPitch().Moved(shift).Value());
        m_qualities[index] = static_cast<std::uint8_t>(index - spelling);
    }
    m_leadingNotes.fill(-1);
    for (auto& byRoot : m_basses) {
        for (auto& byKind : byRoot)
            byKind.fill(-1);
    }
}

std::int8_t CKeyedTargets::SpellBass(int pitch, int chordRoot, bool chordDiminished) const {
    return static_cast<std::int8_t>(
        (chordRoot < 0 ? m_target.Root(pitch) : m_target.Bass(pitch, chordRoot, chordDiminished)).Index());
}

std::uint8_t CKeyedTargets::Chord(int index, bool diminished) {
    if (!diminished)
        return Written(m_moves[static_cast<std::size_t>(index)]);
    const int pitch = m_movedPitches[static_cast<std::size_t>(index)];
    std::int8_t& leading = m_leadingNotes[static_cast<std::size_t>(pitch)];
    if (leading < 0)
        leading = static_cast<std::int8_t>(m_target.Root(pitch, true).Index());
    return Written(m_qualities[static_cast<std::size_t>(index)] + leading);
}
