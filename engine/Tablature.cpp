#include "engine/Tablature.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "chords/ChordCatalog.h"
#include "engine/ChordScanner.h"
#include "engine/RewriteChords.h"
#include "engine/SongSummary.h"
#include "engine/TableMoves.h"

namespace {

// The order the easiest search tries the shifts in: 0, -1, +1, ... -6, +6.
constexpr int kTrialCount = 13;
constexpr int TrialShift(int trial) {
    return trial == 0 ? 0 : (trial % 2 == 1 ? -(trial + 1) / 2 : trial / 2);
}

} // namespace

void CTablature::SetOptions(const SongOptions& options) {
    m_options = options;
    m_rules.allChords = options.allChords;
    m_rules.chordLines = options.chordLines;
}

const CChord& CTablature::ChordAt(int i) const {
    return theChordCatalog.GetAt(m_occurrences[static_cast<std::size_t>(i)].index);
}

std::size_t CTablature::NameLengthAt(int i) const {
    return m_occurrences[static_cast<std::size_t>(i)].NameLength(text);
}

std::string CTablature::NameAt(int i) const {
    return text.substr(PositionAt(i), NameLengthAt(i));
}

std::optional<SongKey> CTablature::GuessedKey() const {
    if (m_occurrences.empty())
        return std::nullopt;
    const int first = m_occurrences.front().index;
    return GuessKey(NoteSpelling::AtIndex(first % NoteSpelling::kCount),
                    static_cast<ChordQuality>(first / NoteSpelling::kCount));
}

std::string CTablature::Key() const {
    const std::optional<SongKey> key = GuessedKey();
    return key ? key->Name() : std::string();
}

std::vector<std::string> CTablature::UntouchedNames() const {
    std::vector<std::string> names;
    if (m_options.allChords)
        return names;
    ChordRules wider = m_rules;
    wider.allChords = true;
    chordscan::Scan(text.data(), text.size(), wider, [&](std::size_t pos, const ChordMatch& match) {
        if (!match.extended)
            return;
        std::string name = text.substr(pos, match.length);
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    });
    return names;
}

bool CTablature::IsLeftDelimiter(char c) {
    return chordscan::kLeftDelimiter[static_cast<unsigned char>(c)] != 0;
}

bool CTablature::IsRightDelimiter(char c) {
    return chordscan::kRightDelimiter[static_cast<unsigned char>(c)] != 0;
}

bool CTablature::IsChordWord(const std::string& text, std::size_t pos, std::size_t len) {
    if (pos > 0 && pos - 1 < text.size() && !IsLeftDelimiter(text[pos - 1]))
        return false;
    if (pos + len < text.size() && !IsRightDelimiter(text[pos + len]))
        return false;
    return true;
}

void CTablature::ReplaceChordWord(std::string& text, const std::string& name, const std::string& replacement) {
    std::size_t p = text.find(name);
    while (p != std::string::npos) {
        if (IsChordWord(text, p, name.size())) {
            text.replace(p, name.size(), replacement);
            p = text.find(name, p + replacement.size());
        } else {
            p = text.find(name, p + 1);
        }
    }
}

void CTablature::Detect(std::string newText) {
    text = std::move(newText);
    m_occurrences.clear();
    m_counts.fill(0);
    m_extendedCount = 0;
    chordscan::Scan(text.data(), text.size(), m_rules, [&](std::size_t pos, const ChordMatch& match) {
        // (A name of more than 64 KB, digits without end, is no chord anyone wrote.)
        if (match.length >= UINT16_MAX)
            return;
        if (match.extended)
            ++m_extendedCount;
        else if (!match.bass && !match.fingering)
            ++m_counts[static_cast<std::size_t>(match.index)];
        m_occurrences.push_back(ChordOccurrence::Of(pos, match));
    });
    ListDistinctChords();
}

void CTablature::ListDistinctChords() {
    std::vector<int> bases;
    if (m_extendedCount > 0) {
        for (const ChordOccurrence& occurrence : m_occurrences) {
            if (occurrence.extended)
                bases.push_back(occurrence.index);
        }
    }
    const DistinctChords distinct = ListDistinct(m_counts, bases);
    distinctCount = distinct.count;
    score = distinct.score;
    for (int k = 0; k < distinctCount; ++k)
        distinctChords[static_cast<std::size_t>(k)] =
            theChordCatalog.GetAt(distinct.index[static_cast<std::size_t>(k)]);
}

CChord TransposeChord(const CChord& chord, int shift) {
    if (shift == 0)
        return chord;
    const NoteSpelling root = NoteSpelling::InFamily(Pitch(chord.root).Moved(shift), chord.accidental == 'b');
    return *theChordCatalog.Find(std::string(root.Name()) + chord.suffix);
}

SongSummary CTablature::Summarize() const {
    SongSummary summary;
    summary.counts = m_counts;
    summary.spelling = m_options.spelling;
    summary.key = GuessedKey();
    for (std::size_t i = 0; m_extendedCount > 0 && i < m_occurrences.size(); ++i) {
        const ChordOccurrence& occurrence = m_occurrences[i];
        if (!occurrence.extended)
            continue;
        // The occurrence knows its root: the rest of its name is the suffix.
        // A song repeats its names, so a name is made only when it is new.
        const NoteSpelling root = NoteSpelling::AtIndex(occurrence.index % NoteSpelling::kCount);
        const std::string_view suffix = std::string_view(text).substr(occurrence.position + root.Length(),
                                                                      occurrence.NameLength(text) - root.Length());
        const auto known = [&](const ChordName& name) { return name.Root() == root && name.Suffix() == suffix; };
        if (std::none_of(summary.extended.begin(), summary.extended.end(), known))
            summary.extended.emplace_back(root, std::string(suffix));
    }
    return summary;
}

CTablature::ShiftedChords CTablature::ChordsAt(int shift) const {
    const DistinctChords distinct = Summarize().At(shift);
    ShiftedChords chords;
    chords.score = distinct.score;
    for (int k = 0; k < distinct.count; ++k)
        chords.distinct.push_back(theChordCatalog.GetAt(distinct.index[static_cast<std::size_t>(k)]).GetName());
    return chords;
}

bool CTablature::ReadMovedNamesAgain() {
    // A moved name outside the table may read otherwise ("E#7", E with "#7",
    // moved up is "F#7"); it is read again where it stands, as detection
    // would read it. Nothing else can read otherwise: only the bytes of
    // names and, keeping columns, blanks that leave every line reading as
    // it did have changed. A name that no longer reads whole leaves the
    // whole text to detection.
    for (ChordOccurrence& occurrence : m_occurrences) {
        if (!occurrence.extended)
            continue;
        ChordMatch match;
        if (m_rules.chordLines) {
            const std::optional<ChordMatch> read =
                ChordName::Read(std::string_view(text).substr(occurrence.position, occurrence.length), true);
            if (!read)
                return false;
            match = *read;
        } else if (!chordscan::MatchAt<true>(text.data(), text.size(), occurrence.position, match)) {
            return false;
        }
        if (match.length != occurrence.length)
            return false;
        occurrence.index = static_cast<std::uint8_t>(match.index);
        if (!match.extended) {
            occurrence.extended = false;
            --m_extendedCount;
            ++m_counts[static_cast<std::size_t>(match.index)];
        }
    }
    return true;
}

void CTablature::Transpose(int shift) {
    const TableMoves moves = MovesAt(shift, m_options.spelling, GuessedKey());
    std::string result = RewriteChords(text, m_occurrences, moves, m_options.keepColumns, m_counts, shift, m_rules);
    // Every moved table name is again a delimited table name outside any
    // tag, so detecting the new text would find exactly the moved names
    // where they are written: the list follows them instead.
    text = std::move(result);
    if (m_extendedCount > 0 && !ReadMovedNamesAgain()) {
        Detect(std::move(text));
        return;
    }
    ListDistinctChords();
}

int CTablature::FindEasiest() {
    // Every trial starts from the song as it is now, scored from its
    // summary; the text is rewritten once, at the chosen shift.
    Detect(std::move(text));
    const SongSummary summary = Summarize();
    int bestScore = 0;
    int bestShift = 0;
    for (int trial = 0; trial < kTrialCount; ++trial) {
        const int shift = TrialShift(trial);
        const int trialScore = summary.At(shift).score;
        if (trial == 0 || trialScore < bestScore) {
            bestScore = trialScore;
            bestShift = shift;
        }
    }
    Transpose(bestShift);
    return bestShift;
}
