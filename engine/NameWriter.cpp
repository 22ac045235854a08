#include "engine/NameWriter.h"

#include <algorithm>

#include "chords/ChordName.h"
#include "chords/ChordNotation.h"
#include "engine/ChordLine.h"
#include "engine/KeyFinder.h"

namespace {

// What a moved fingering may grow by: its separators and a digit a string.
constexpr std::size_t kFingeringGrowth = 12;

} // namespace

CNameWriter::CNameWriter(const std::string& text, const TableMoves& moves, CKeyedTargets* keyed, Notation notation,
                         int shift, ChordCounts& counts, bool flatWhiteKeys)
    : m_text(text), m_moves(moves), m_keyed(keyed), m_flatWhiteKeys(flatWhiteKeys), m_shift(shift),
      m_notation(notation), m_counts(counts) {
    // Frets go the short way: down 3 rather than up 9.
    const int up = ((shift % 12) + 12) % 12;
    m_frets = up > 6 ? up - 12 : up;
}

// A moved name is at most one byte longer than the old one, and a name
// outside the table two more for parentheses (WriteMovedSuffix); a
// fingering grows by its separators and a digit a string. The last name
// may be written as a whole table entry.
std::size_t CNameWriter::Growth(const std::vector<ChordOccurrence>& occurrences) const {
    return occurrences.size() + 2 * m_extended + kTableNameBytes + kFingeringGrowth * m_fingerings.size();
}

void CNameWriter::HoldLegends(const std::vector<ChordOccurrence>& occurrences,
                              std::vector<std::string>* leftAsWritten) {
    m_held.clear();
    m_fingerings.clear();
    m_nextFingering = 0;
    // Most songs have no fingering: one pass over a songbook's names tells.
    std::size_t extended = 0;
    bool anyFingering = false;
    for (const ChordOccurrence& occurrence : occurrences) {
        extended += occurrence.extended ? 1 : 0;
        anyFingering |= occurrence.fingering;
    }
    m_extended = extended;
    for (std::size_t k = 0, name = 0; anyFingering && k < occurrences.size(); ++k) {
        const ChordOccurrence& occurrence = occurrences[k];
        if (!occurrence.fingering) {
            name = occurrence.bass ? name : k;
            continue;
        }
        if (m_held.empty())
            m_held.resize(occurrences.size());
        m_fingerings.push_back(
            MoveFingering(std::string_view(m_text).substr(occurrence.position, occurrence.length), m_frets));
        if (!m_fingerings.back().empty() || m_held[name])
            continue;
        for (std::size_t i = name;
             i < occurrences.size() && (i == name || occurrences[i].bass || occurrences[i].fingering); ++i)
            m_held[i] = true;
        if (leftAsWritten)
            leftAsWritten->push_back(LegendAsWritten(occurrences, name));
    }
    m_tableNamesAlone = m_notation == Notation::AsWritten && m_held.empty();
}

// The index a root written Fb or Cb moves to as a flat.
std::uint8_t CNameWriter::FlatTarget(int index) const {
    const int spelling = index % NoteSpelling::kCount;
    const Pitch moved = NoteSpelling::AtIndex(spelling).GetPitch().Moved(m_shift);
    return static_cast<std::uint8_t>(index - spelling + NoteSpelling::InFamily(moved, true).Index());
}

std::size_t CNameWriter::WriteAny(std::vector<ChordOccurrence>& occurrences, std::size_t k, char* out) {
    if (m_others)
        m_others->push_back(static_cast<std::uint32_t>(k));
    ChordOccurrence& occurrence = occurrences[k];
    const std::string* movedFingering = occurrence.fingering ? &m_fingerings[m_nextFingering++] : nullptr;
    const char* const in = m_text.data() + occurrence.position;
    std::uint8_t target = m_keyed ? KeyedTarget(occurrence) : m_moves[occurrence.index];
    if (m_flatWhiteKeys && !m_keyed && occurrence.SignedWhiteKey() && in[1] == 'b')
        target = FlatTarget(occurrence.index);
    const std::size_t oldSize = occurrence.NameLength(m_text);
    std::size_t newSize = 0;
    if (!m_held.empty() && m_held[k]) {
        std::memcpy(out, in, oldSize);
        m_counts[occurrence.index] += occurrence.extended || occurrence.bass || occurrence.fingering ? 0 : 1;
        return oldSize;
    }
    if (occurrence.fingering) {
        const std::string& moved = *movedFingering;
        std::memcpy(out, moved.data(), moved.size());
        occurrence.length = static_cast<std::uint16_t>(moved.size());
        return moved.size();
    } else if (target == occurrence.index && (m_notation != Notation::AsWritten || occurrence.SignedWhiteKey())) {
        // A name that does not move stays as written: E#7 is not made F7.
        std::memcpy(out, in, oldSize);
        newSize = oldSize;
        m_counts[target] += occurrence.extended || occurrence.bass ? 0 : 1;
    } else if (occurrence.bass) {
        // A note: its major chord's root.
        const std::string_view name = chordnotation::RootName(NoteSpelling::AtIndex(target), m_notation);
        newSize = name.size();
        std::memcpy(out, name.data(), newSize);
        if (occurrence.lowerCase)
            out[0] += 'a' - 'A';
    } else if (!occurrence.extended && m_notation == Notation::AsWritten) {
        // A table name is copied whole, its eight bytes, as a few
        // bytes of any length would take a call.
        const std::string_view name = kTableNames[target];
        newSize = name.size();
        std::memcpy(out, name.data(), kTableNameBytes);
        ++m_counts[target];
        occurrence.longRoot = kTableNames.LongRoot(target);
    } else {
        // The root moves and the suffix stays as written.
        const std::size_t oldRoot = occurrence.RootLength();
        const std::string_view newRoot =
            chordnotation::RootName(NoteSpelling::AtIndex(target % NoteSpelling::kCount), m_notation);
        std::memcpy(out, newRoot.data(), newRoot.size());
        newSize = newRoot.size() + chordgrammar::WriteMovedSuffix(std::string_view(in + oldRoot, oldSize - oldRoot),
                                                                  out + newRoot.size());
        m_counts[target] += occurrence.extended ? 0 : 1;
        occurrence.longRoot = newRoot.size() == 2;
    }
    occurrence.index = target;
    occurrence.length = static_cast<std::uint16_t>(newSize);
    return newSize;
}

// Spelled by key, where occurrence moves, asked in text order: a bass
// note is spelled from the chord before it.
std::uint8_t CNameWriter::KeyedTarget(const ChordOccurrence& occurrence) {
    if (occurrence.fingering)
        return occurrence.index;
    if (occurrence.bass)
        return m_keyed->Bass(occurrence.index, m_chord, m_chordDiminished);
    m_chord = occurrence.index;
    m_chordDiminished = occurrence.extended && ChordKindOfSuffix(occurrence.SuffixIn(m_text)) == ChordKind::Diminished;
    return m_keyed->Chord(occurrence.index, m_chordDiminished);
}

// A legend as a notice names it: the name (with its bass, C/E) and each
// fingering in parentheses, "Am (x02210)".
std::string CNameWriter::LegendAsWritten(const std::vector<ChordOccurrence>& occurrences, std::size_t name) const {
    std::size_t end = occurrences[name].position + occurrences[name].length;
    std::size_t k = name + 1;
    for (; k < occurrences.size() && occurrences[k].bass; ++k)
        end = occurrences[k].position + occurrences[k].length;
    std::string legend = m_text.substr(occurrences[name].position, end - occurrences[name].position);
    // C(/E): the parenthesis the bass opened closes.
    if (std::count(legend.begin(), legend.end(), '(') > std::count(legend.begin(), legend.end(), ')'))
        legend += ')';
    for (; k < occurrences.size() && occurrences[k].fingering; ++k)
        legend += " (" + m_text.substr(occurrences[k].position, occurrences[k].length) + ")";
    return legend;
}
