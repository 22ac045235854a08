#include "engine/Tablature.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "chords/ChordCatalog.h"
#include "engine/ChordLine.h"
#include "engine/ChordScanner.h"
#include "engine/KeyFinder.h"
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
    m_rules.notation = options.notation;
    m_foundKey.reset();
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

ChordKind CTablature::KindAt(int i) const {
    const ChordOccurrence& occurrence = m_occurrences[static_cast<std::size_t>(i)];
    static const std::array<ChordKind, kQualityCount> kTableKinds = [] {
        std::array<ChordKind, kQualityCount> kinds{};
        for (std::size_t quality = 0; quality < kinds.size(); ++quality)
            kinds[quality] = ChordKindOfSuffix(kQualitySuffixes[quality]);
        return kinds;
    }();
    if (!occurrence.extended)
        return kTableKinds[occurrence.index / NoteSpelling::kCount];
    return ChordKindOfSuffix(occurrence.SuffixIn(text));
}

std::vector<std::uint32_t> CTablature::ChordLinePositions() const {
    std::vector<std::uint32_t> positions;
    // A chord with its fingering after it is an entry of a legend, which
    // lists the song's chords but neither starts nor ends the song.
    bool open = false;
    const auto add = [&](std::size_t position, bool bass, bool fingering) {
        if (fingering && open)
            positions.pop_back();
        if (!bass)
            open = !fingering;
        if (!bass && !fingering)
            positions.push_back(static_cast<std::uint32_t>(position));
    };
    if (m_options.chordLines) {
        for (const ChordOccurrence& occurrence : m_occurrences)
            add(occurrence.position, occurrence.bass, occurrence.fingering);
        return positions;
    }
    ChordRules lines = m_rules;
    lines.chordLines = true;
    ScanChordLines(text, lines,
                   [&](std::size_t position, const ChordMatch& match) { add(position, match.bass, match.fingering); });
    return positions;
}

std::optional<SongKey> CTablature::GuessedKey() const {
    if (!m_foundKey)
        m_foundKey = FindKey();
    return m_foundKey->key;
}

KeyChord CTablature::KeyChordAt(int i) const {
    const ChordOccurrence& occurrence = m_occurrences[static_cast<std::size_t>(i)];
    KeyChord chord;
    chord.root = NoteSpelling::AtIndex(occurrence.index % NoteSpelling::kCount).GetPitch().Value();
    chord.bassOnly = occurrence.bass;
    chord.kind = occurrence.bass ? ChordKind::Major : KindAt(i);
    return chord;
}

std::vector<KeyChord> CTablature::KeyChords() const {
    std::vector<KeyChord> chords;
    chords.reserve(m_occurrences.size());
    for (std::size_t i = 0; i < m_occurrences.size(); ++i) {
        if (!m_occurrences[i].fingering)
            chords.push_back(KeyChordAt(static_cast<int>(i)));
    }
    return chords;
}

namespace {

// How many names are written with a sharp and with a flat.
struct SideCount {
    int sharps = 0;
    int flats = 0;

    // Each index's accidental, from its root's spelling: a songbook holds many names.
    static int Accidental(std::size_t index) {
        static const std::array<signed char, 256> kAccidentals = [] {
            std::array<signed char, 256> accidentals{};
            for (std::size_t i = 0; i < accidentals.size(); ++i)
                accidentals[i] = static_cast<signed char>(
                    NoteSpelling::AtIndex(static_cast<int>(i % NoteSpelling::kCount)).GetAccidental());
            return accidentals;
        }();
        return kAccidentals[index];
    }

    void Add(const ChordOccurrence& occurrence, const std::string& text) {
        int accidental = Accidental(occurrence.index);
        // E# and B# are a sheet's sharps, Fb and Cb its flats: a natural in
        // two bytes, which no table name is. Tested first, as the rarest.
        if ((occurrence.extended & occurrence.longRoot) && accidental == 0)
            accidental = text[occurrence.position + 1] == '#' ? 1 : -1;
        // Counted without a branch: names of both sides follow each other
        // in no order a branch could foresee.
        const int counted = occurrence.fingering ? 0 : 1;
        sharps += static_cast<int>(accidental > 0) & counted;
        flats += static_cast<int>(accidental < 0) & counted;
    }
    // The table names counted in counts, as many of each as it says.
    void AddTableNames(const ChordCounts& counts) {
        for (std::size_t index = 0; index < counts.size(); ++index) {
            const int accidental = Accidental(index);
            sharps += accidental > 0 ? counts[index] : 0;
            flats += accidental < 0 ? counts[index] : 0;
        }
    }
    SignatureSide Side() const {
        return sharps > flats ? SignatureSide::Sharps : flats > sharps ? SignatureSide::Flats : SignatureSide::Natural;
    }
};

} // namespace

SignatureSide CTablature::WrittenSide() const {
    SideCount count;
    for (const ChordOccurrence& occurrence : m_occurrences)
        count.Add(occurrence, text);
    return count.Side();
}

CTablature::FoundKey CTablature::FindKey() const {
    std::vector<KeyChord> chords = KeyChords();
    const std::vector<std::uint32_t> onLines = ChordLinePositions();
    auto onLine = onLines.begin();
    auto chord = chords.begin();
    for (const ChordOccurrence& occurrence : m_occurrences) {
        if (occurrence.fingering)
            continue;
        // Both lists are in text order: one walk finds each position.
        while (onLine != onLines.end() && *onLine < occurrence.position)
            ++onLine;
        (chord++)->onChordLine = onLine != onLines.end() && *onLine == occurrence.position;
    }
    const std::optional<KeyGuess> guess = CKeyFinder::Find(chords);
    if (!guess)
        return FoundKey{std::nullopt, true};
    return FoundKey{SongKey{guess->key, CKeySpelling::WritersSide(guess->key, WrittenSide())}, guess->margin > 0};
}

std::optional<CTablature::FoundKey> CTablature::CarriedKey(int shift, SignatureSide side) const {
    // The finder scores every key from the chords' degrees above its tonic:
    // chords moved one and all by the shift score each key moved by it as
    // they scored the key before, so the clear winner moves with them. A
    // tie would go to another key, and the chord lines must read as before;
    // kept columns may move a column gap, so those are read again.
    if (!m_foundKey || !m_foundKey->clear || (m_options.keepColumns && !m_options.chordLines))
        return std::nullopt;
    if (!m_foundKey->key)
        return m_foundKey;
    const MusicalKey moved = MovedKey(m_foundKey->key->key, shift);
    return FoundKey{SongKey{moved, CKeySpelling::WritersSide(moved, side)}, true};
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
    wider.allForms = false;
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
    DetectChords(std::move(newText));
    m_foundKey.reset();
    if (m_options.spelling == Spelling::Key)
        m_foundKey = FindKey();
}

void CTablature::DetectChords(std::string newText) {
    text = std::move(newText);
    m_legendsLeft.clear();
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

void CTablature::ListDistinctChords(const std::vector<int>* extendedBases) {
    std::vector<int> collected;
    if (!extendedBases && m_extendedCount > 0) {
        for (const ChordOccurrence& occurrence : m_occurrences) {
            if (occurrence.extended)
                collected.push_back(occurrence.index);
        }
    }
    const DistinctChords distinct = ListDistinct(m_counts, extendedBases ? *extendedBases : collected);
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

std::size_t CTablature::ExtendedPlace(SongSummary& summary, const ChordOccurrence& occurrence) const {
    // The occurrence knows its root: the rest of its name is the suffix.
    const NoteSpelling root = NoteSpelling::AtIndex(occurrence.index % NoteSpelling::kCount);
    const std::string_view suffix = occurrence.SuffixIn(text);
    const std::string_view writtenRoot =
        occurrence.SignedWhiteKey() ? std::string_view(text).substr(occurrence.position, 2) : std::string_view();
    const auto known = [&](const ChordName& name) {
        return name.Root() == root && name.Suffix() == suffix && name.WrittenRoot() == writtenRoot;
    };
    const auto entry = std::find_if(summary.extended.begin(), summary.extended.end(), known);
    if (entry != summary.extended.end())
        return static_cast<std::size_t>(entry - summary.extended.begin());
    summary.extended.emplace_back(root, std::string(suffix), std::nullopt, writtenRoot);
    summary.extendedCounts.push_back(0);
    return summary.extended.size() - 1;
}

SongSummary CTablature::Summarize() const {
    SongSummary summary;
    summary.counts = m_counts;
    summary.spelling = m_options.spelling;
    summary.notation = m_options.notation;
    if (m_options.spelling == Spelling::Key)
        summary.key = GuessedKey();
    // A song repeats its names, so a name is made only when it is new.
    for (std::size_t i = 0; m_extendedCount > 0 && i < m_occurrences.size(); ++i) {
        if (m_occurrences[i].extended)
            ++summary.extendedCounts[ExtendedPlace(summary, m_occurrences[i])];
    }
    if (!m_options.chordLines)
        return summary;
    // A legend whose fingering cannot move sound keeps its name where the
    // song is moved (RewriteChords): the moves at which each legend's does not.
    std::size_t name = 0;
    std::uint16_t shifts = 0;
    const auto hold = [&] {
        const ChordOccurrence& occurrence = m_occurrences[name];
        if (shifts == 0 || occurrence.fingering)
            return;
        summary.held.push_back({occurrence.index,
                                occurrence.extended ? static_cast<int>(ExtendedPlace(summary, occurrence)) : -1,
                                shifts});
    };
    for (std::size_t k = 0; k < m_occurrences.size(); ++k) {
        const ChordOccurrence& occurrence = m_occurrences[k];
        if (!occurrence.fingering) {
            if (!occurrence.bass) {
                hold();
                name = k;
                shifts = 0;
            }
            continue;
        }
        const std::string_view fingering = std::string_view(text).substr(occurrence.position, occurrence.length);
        for (int up = 1; up < 12; ++up) {
            if (MoveFingering(fingering, up > 6 ? up - 12 : up).empty())
                shifts = static_cast<std::uint16_t>(shifts | 1u << up);
        }
    }
    hold();
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

std::optional<CTablature::MovedNames> CTablature::ReadMovedNamesAgain(bool countSide,
                                                                      const std::vector<std::uint32_t>& others) {
    // A moved name outside the table may read otherwise ("E#7", F7 written
    // from E#, moved down is the table's "E7"); it is read again where it
    // stands, as detection would read it. Nothing else can read otherwise:
    // only the bytes of names and, keeping columns, blanks that leave every
    // line reading as it did have changed. A name that no longer reads whole
    // leaves the whole text to detection.
    MovedNames moved;
    if (m_extendedCount == 0 && !countSide)
        return moved;
    SideCount side;
    for (const std::uint32_t k : others) {
        ChordOccurrence& occurrence = m_occurrences[k];
        if (occurrence.extended && !ReadAgain(occurrence, moved))
            return std::nullopt;
        // A name that reads as a table name now is counted with the others below.
        if (countSide && (occurrence.extended || occurrence.bass))
            side.Add(occurrence, text);
    }
    // The counts hold every table name but the bass notes.
    if (countSide)
        side.AddTableNames(m_counts);
    moved.side = side.Side();
    return moved;
}

bool CTablature::ReadAgain(ChordOccurrence& occurrence, MovedNames& moved) {
    ChordMatch match;
    if (m_rules.chordLines) {
        const std::optional<ChordMatch> read = ChordName::Read(
            std::string_view(text).substr(occurrence.position, occurrence.length), true, m_rules.notation);
        if (!read)
            return false;
        match = *read;
    } else if (!chordscan::MatchAt<true>(text.data(), text.size(), occurrence.position, match, m_rules.notation)) {
        return false;
    }
    if (match.length != occurrence.length)
        return false;
    // Read with the root it was written with, the name keeps its suffix
    // and so its kind.
    moved.asWritten = moved.asWritten && (match.rootLength == 2) == occurrence.longRoot;
    occurrence.index = static_cast<std::uint8_t>(match.index);
    occurrence.longRoot = match.rootLength == 2;
    if (!match.extended) {
        occurrence.extended = false;
        --m_extendedCount;
        ++m_counts[static_cast<std::size_t>(match.index)];
    } else {
        moved.bases.push_back(occurrence.index);
    }
    return true;
}

void CTablature::Transpose(int shift) {
    // Spelled by key, a slash chord's bass is spelled from its chord and a
    // diminished chord as the leading note it is: the moves of the table
    // names alone do not tell these apart.
    const std::optional<SongKey> key = m_options.spelling == Spelling::Key ? GuessedKey() : std::optional<SongKey>();
    const TableMoves moves = MovesAt(shift, m_options.spelling, key, m_options.notation);
    std::optional<CKeyedTargets> keyed;
    if (key && Pitch::Wrap(shift) != 0)
        keyed.emplace(*key, shift, moves, m_options.notation);
    std::vector<std::string> legendsLeft;
    // Kept from call to call: a songbook has many.
    thread_local std::vector<std::uint32_t> others;
    std::string result =
        RewriteChords(text, m_occurrences, moves, m_options.keepColumns, m_counts, shift, m_rules,
                      keyed ? &*keyed : nullptr, &legendsLeft, m_options.spelling == Spelling::AsWritten, &others);
    // A sheet may repeat its legend (a songbook, thousands of times): each is named once.
    std::vector<std::string> legendsOnce;
    std::unordered_set<std::string> named;
    for (std::string& legend : legendsLeft) {
        if (named.insert(legend).second)
            legendsOnce.push_back(std::move(legend));
    }
    // Every moved table name is again a delimited table name outside any
    // tag, so detecting the new text would find exactly the moved names
    // where they are written: the list follows them instead.
    text = std::move(result);
    // A legend left as written did not move with the song: the key is
    // searched again.
    const bool allMoved = legendsOnce.empty();
    // The side the names are written on names a key carried with them.
    const bool carry = allMoved && m_foundKey && m_foundKey->clear && m_foundKey->key;
    const std::optional<MovedNames> moved = ReadMovedNamesAgain(carry, others);
    if (!moved) {
        Detect(std::move(text));
    } else {
        ListDistinctChords(&moved->bases);
        m_foundKey = allMoved && moved->asWritten ? CarriedKey(shift, moved->side) : std::nullopt;
    }
    m_legendsLeft = std::move(legendsOnce);
}

int CTablature::FindEasiest() {
    // Every trial starts from the song as it is now, scored from its
    // summary; the text is rewritten once, at the chosen shift. The text
    // stays the same, and so does its key once found.
    const std::optional<FoundKey> found = m_foundKey;
    DetectChords(std::move(text));
    m_foundKey = found;
    if (!m_foundKey && m_options.spelling == Spelling::Key)
        m_foundKey = FindKey();
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
