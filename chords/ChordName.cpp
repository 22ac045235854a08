#include "chords/ChordName.h"

namespace {

// Nothing may follow a name parsed on its own: it ends where the text does.
constexpr ByteClass kNothing{};

} // namespace

std::optional<ChordMatch> ChordName::Read(std::string_view text, bool allChords, Notation notation, bool allForms) {
    if (text.empty())
        return std::nullopt;
    ChordMatch match;
    const bool found =
        allChords ? chordgrammar::MatchAt<true>(text.data(), text.size(), 0, kNothing, match, notation, allForms)
                  : chordgrammar::MatchAt<false>(text.data(), text.size(), 0, kNothing, match, notation);
    if (!found)
        return std::nullopt;
    return match;
}

std::optional<ChordName> ChordName::Parse(std::string_view text, bool allChords, Notation notation) {
    const std::optional<ChordMatch> match = Read(text, allChords, notation);
    if (!match)
        return std::nullopt;
    return ChordName(match->Root(), std::string(text.substr(match->rootLength)), std::nullopt,
                     match->SignedWhiteKey() ? text.substr(0, 2) : std::string_view());
}

ChordName::ChordName(NoteSpelling root, std::string suffix, std::optional<Bass> bass, std::string_view writtenRoot)
    : m_root(root), m_suffix(std::move(suffix)), m_bass(bass), m_writtenRoot(writtenRoot) {
    const int quality = QualityOfSuffix(m_suffix);
    m_tableName = quality >= 0 && m_writtenRoot.empty();
    const bool minor =
        !m_suffix.empty() && ((m_suffix[0] == 'm' && m_suffix.compare(0, 3, "maj") != 0) || m_suffix[0] == '-');
    m_quality = quality >= 0 ? static_cast<ChordQuality>(quality) : minor ? Minor : Major;
}

std::string ChordName::Write() const {
    std::string name = Write(m_root);
    if (!m_writtenRoot.empty())
        name.replace(0, m_root.Length(), m_writtenRoot);
    return name;
}

std::string ChordName::Write(NoteSpelling root, std::optional<NoteSpelling> bass) const {
    std::string name(root.Name());
    name += m_suffix;
    if (m_bass) {
        std::string_view note = (bass ? *bass : m_bass->spelling).Name();
        name += '/';
        name += m_bass->lowerCase ? static_cast<char>(note[0] - 'A' + 'a') : note[0];
        name.append(note.substr(1));
    }
    return name;
}

bool ChordName::operator==(const ChordName& other) const {
    const bool sameBass =
        m_bass.has_value() == other.m_bass.has_value() &&
        (!m_bass || (m_bass->spelling == other.m_bass->spelling && m_bass->lowerCase == other.m_bass->lowerCase));
    return m_root == other.m_root && m_suffix == other.m_suffix && m_writtenRoot == other.m_writtenRoot && sameBass;
}
