#include "engine/Tablature.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "engine/ChordScanner.h"

namespace {

constexpr int kTableSize = CChordCatalog::kSize;
constexpr int kSpellings = CChordCatalog::kSpellingCount;

using Counts = std::array<int, kTableSize>;
using Targets = std::array<std::uint8_t, kTableSize>;

// The spelling families a name can be written in.
enum Family { kOwnFamily, kSharpFamily, kFlatFamily };

// What the moves need to know of each table entry, taken from the table once.
struct TableFacts {
    std::array<std::uint8_t, kTableSize> pitch{};
    std::array<std::uint8_t, kTableSize> quality{};
    std::array<bool, kTableSize> flat{};
    // The spelling index of each pitch in the sharp and the flat family.
    std::array<std::array<std::uint8_t, 12>, 3> spellingOf{};
    // The bytes of the 85 names, so that rewriting a song copies them
    // without building strings.
    std::array<std::array<char, 8>, kTableSize> name{};
    std::array<std::uint8_t, kTableSize> nameSize{};
};

const TableFacts& Facts() {
    static const TableFacts facts = [] {
        TableFacts f;
        for (int i = 0; i < kTableSize; ++i) {
            const CChord& chord = theChordCatalog.GetAt(i);
            const auto k = static_cast<std::size_t>(i);
            f.pitch[k] = static_cast<std::uint8_t>(chord.root);
            f.quality[k] = static_cast<std::uint8_t>(i / kSpellings);
            f.flat[k] = chord.accidental == 'b';
            const std::string name = chord.GetName();
            std::memcpy(f.name[k].data(), name.data(), name.size());
            f.nameSize[k] = static_cast<std::uint8_t>(name.size());
        }
        for (std::size_t p = 0; p < 12; ++p) {
            f.spellingOf[kSharpFamily][p] = static_cast<std::uint8_t>(CChordCatalog::IndexOf(sharpNoteNames[p]));
            f.spellingOf[kFlatFamily][p] = static_cast<std::uint8_t>(CChordCatalog::IndexOf(flatNoteNames[p]));
        }
        return f;
    }();
    return facts;
}

// Half-tones up, 0..11: shifts twelve half-tones apart give the same names.
int Upwards(int shift) {
    return ((shift % 12) + 12) % 12;
}

bool IsMinorQuality(int quality) {
    return quality == Minor || quality == MinorSeventh;
}

// The family the names of a song moved up by `up` are written in, for a
// song whose key, by its first chord, is keyPitch and minor (keyPitch < 0
// when it has no chord).
Family FamilyAt(Spelling spelling, int keyPitch, bool minor, int up) {
    switch (spelling) {
    case Spelling::AsWritten:
        return kOwnFamily;
    case Spelling::Sharps:
        return kSharpFamily;
    case Spelling::Flats:
        return kFlatFamily;
    case Spelling::Key:
        break;
    }
    if (keyPitch < 0)
        return kOwnFamily;
    // Bit p set: the key on pitch p is written with flats, or with sharps.
    constexpr unsigned kMajorFlats = 1u << 1 | 1u << 3 | 1u << 5 | 1u << 8 | 1u << 10;
    constexpr unsigned kMajorSharps = 1u << 2 | 1u << 4 | 1u << 6 | 1u << 7 | 1u << 9 | 1u << 11;
    constexpr unsigned kMinorFlats = 1u << 0 | 1u << 2 | 1u << 3 | 1u << 5 | 1u << 7 | 1u << 10;
    constexpr unsigned kMinorSharps = 1u << 1 | 1u << 4 | 1u << 6 | 1u << 8 | 1u << 11;
    const unsigned key = 1u << ((keyPitch + up) % 12);
    if (key & (minor ? kMinorFlats : kMajorFlats))
        return kFlatFamily;
    if (key & (minor ? kMinorSharps : kMajorSharps))
        return kSharpFamily;
    return kOwnFamily; // C major and A minor
}

// The table index each entry moves to, `up` half-tones up, in the family.
// At 0 every name stays as written.
Targets TargetsAt(int up, Family family) {
    const TableFacts& f = Facts();
    Targets targets;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kTableSize); ++i) {
        if (up == 0) {
            targets[i] = static_cast<std::uint8_t>(i);
            continue;
        }
        const Family written = family == kOwnFamily ? (f.flat[i] ? kFlatFamily : kSharpFamily) : family;
        const std::size_t pitch = static_cast<std::size_t>((f.pitch[i] + up) % 12);
        targets[i] = static_cast<std::uint8_t>(f.quality[i] * kSpellings + f.spellingOf[written][pitch]);
    }
    return targets;
}

// The distinct list of the table names that occur, the first spelling in
// table order kept, then the extra base chords not already there; the score
// of that list. Entries are "the same chord" when root and quality agree.
int ListDistinct(const Counts& counts, const std::vector<int>& extraBases, int* distinct, int& score) {
    const TableFacts& f = Facts();
    std::uint64_t seen = 0; // bit pitch * 5 + quality
    int n = 0;
    auto add = [&](int index) {
        const auto k = static_cast<std::size_t>(index);
        const std::uint64_t bit = std::uint64_t{1} << (f.pitch[k] * kQualityCount + f.quality[k]);
        if (seen & bit)
            return;
        seen |= bit;
        distinct[n++] = index;
    };
    for (int i = 0; i < kTableSize; ++i) {
        if (counts[static_cast<std::size_t>(i)] != 0)
            add(i);
    }
    for (int base : extraBases)
        add(base);
    score = 0;
    for (int k = 0; k < n; ++k)
        score += theChordCatalog.GetAt(distinct[k]).GetDifficulty();
    return n;
}

// The length of the name of the wider grammar at pos.
std::size_t ExtendedLength(const std::string& text, std::size_t pos) {
    std::size_t length = 0;
    chordscan::MatchAt<true>(text.data(), text.size(), pos, length);
    return length;
}

} // namespace

struct CTablature::Summary {
    // A name outside the table, which moves by its root.
    struct Name {
        int spelling; // of its root
        int quality;  // of its base chord: major or minor
        std::string suffix;
    };

    Counts counts{};
    // The distinct names outside the table, in order of first occurrence.
    std::vector<Name> extended;
    int keyPitch = -1;
    bool minorKey = false;
    Spelling spelling = Spelling::AsWritten;

    // The distinct chords and the score of the song moved by shift.
    int At(int shift, int* distinct, int& score) const {
        const int up = Upwards(shift);
        const Family family = FamilyAt(spelling, keyPitch, minorKey, up);
        const Targets targets = TargetsAt(up, family);
        Counts moved{};
        for (std::size_t i = 0; i < static_cast<std::size_t>(kTableSize); ++i)
            moved[targets[i]] += counts[i];
        std::vector<int> bases;
        for (const Name& name : extended) {
            // A moved name may read otherwise ("E#7" moved up is "F#7"), so
            // it is read again as the text will hold it.
            const int base = name.quality * kSpellings + name.spelling;
            const std::string written =
                rootSpellings[targets[static_cast<std::size_t>(base)] % kSpellings] + name.suffix;
            std::size_t length = 0;
            const int index = chordscan::MatchAt<true>(written.data(), written.size(), 0, length);
            if (index >= chordscan::kExtendedName)
                bases.push_back(index - chordscan::kExtendedName);
            else if (index >= 0)
                ++moved[static_cast<std::size_t>(index)];
        }
        return ListDistinct(moved, bases, distinct, score);
    }
};

void CTablature::SetOptions(const SongOptions& options) {
    m_options = options;
    m_rules.allChords = options.allChords;
}

const CChord& CTablature::ChordAt(int i) const {
    return theChordCatalog.GetAt(m_occurrences[static_cast<std::size_t>(i)].index);
}

std::size_t CTablature::NameLengthAt(int i) const {
    const Occurrence& occurrence = m_occurrences[static_cast<std::size_t>(i)];
    return occurrence.extended ? ExtendedLength(text, occurrence.position) : Facts().nameSize[occurrence.index];
}

std::string CTablature::NameAt(int i) const {
    return text.substr(PositionAt(i), NameLengthAt(i));
}

std::string CTablature::Key() const {
    if (m_occurrences.empty())
        return {};
    const std::size_t index = m_occurrences.front().index;
    const std::string& root = rootSpellings[index % kSpellings];
    return IsMinorQuality(Facts().quality[index]) ? root + "m" : root;
}

std::vector<std::string> CTablature::UntouchedNames() const {
    std::vector<std::string> names;
    if (m_options.allChords)
        return names;
    ChordRules wider = m_rules;
    wider.allChords = true;
    chordscan::Scan(text.data(), text.size(), wider, [&](std::size_t pos, int index, std::size_t length) {
        if (index < chordscan::kExtendedName)
            return;
        std::string name = text.substr(pos, length);
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
    chordscan::Scan(text.data(), text.size(), m_rules, [&](std::size_t pos, int index, std::size_t) {
        const bool extended = index >= chordscan::kExtendedName;
        if (extended) {
            index -= chordscan::kExtendedName;
            ++m_extendedCount;
        } else {
            ++m_counts[static_cast<std::size_t>(index)];
        }
        m_occurrences.push_back({static_cast<std::uint32_t>(pos), static_cast<std::uint8_t>(index), extended});
    });
    ListDistinctChords();
}

void CTablature::ListDistinctChords() {
    std::vector<int> bases;
    if (m_extendedCount > 0) {
        for (const Occurrence& occurrence : m_occurrences) {
            if (occurrence.extended)
                bases.push_back(occurrence.index);
        }
    }
    std::array<int, kMaxDistinct> distinct;
    distinctCount = ListDistinct(m_counts, bases, distinct.data(), score);
    for (int k = 0; k < distinctCount; ++k)
        distinctChords[static_cast<std::size_t>(k)] = theChordCatalog.GetAt(distinct[static_cast<std::size_t>(k)]);
}

CChord TransposeChord(const CChord& chord, int shift) {
    if (shift == 0)
        return chord;
    int newRoot = ((chord.root + shift) % 12 + 12) % 12;
    const auto& names = chord.accidental == '#' ? sharpNoteNames : flatNoteNames;
    return *theChordCatalog.Find(names[static_cast<std::size_t>(newRoot)] + chord.suffix);
}

CTablature::Summary CTablature::Summarize() const {
    Summary summary;
    summary.counts = m_counts;
    summary.spelling = m_options.spelling;
    if (!m_occurrences.empty()) {
        const std::size_t first = m_occurrences.front().index;
        summary.keyPitch = Facts().pitch[first];
        summary.minorKey = IsMinorQuality(Facts().quality[first]);
    }
    if (m_extendedCount > 0) {
        std::vector<std::string> seen;
        for (int i = 0; i < OccurrenceCount(); ++i) {
            if (!IsExtendedAt(i))
                continue;
            std::string name = NameAt(i);
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                continue;
            const int index = m_occurrences[static_cast<std::size_t>(i)].index;
            const int spelling = index % kSpellings;
            summary.extended.push_back({spelling, index / kSpellings, name.substr(rootSpellings[spelling].size())});
            seen.push_back(std::move(name));
        }
    }
    return summary;
}

CTablature::ShiftedChords CTablature::ChordsAt(int shift) const {
    std::array<int, kMaxDistinct> distinct;
    ShiftedChords chords;
    const int n = Summarize().At(shift, distinct.data(), chords.score);
    for (int k = 0; k < n; ++k)
        chords.distinct.push_back(theChordCatalog.GetAt(distinct[static_cast<std::size_t>(k)]).GetName());
    return chords;
}

void CTablature::Transpose(int shift) {
    const TableFacts& f = Facts();
    const int up = Upwards(shift);
    int keyPitch = -1;
    bool minorKey = false;
    if (!m_occurrences.empty()) {
        keyPitch = f.pitch[m_occurrences.front().index];
        minorKey = IsMinorQuality(f.quality[m_occurrences.front().index]);
    }
    const Targets targets = TargetsAt(up, FamilyAt(m_options.spelling, keyPitch, minorKey, up));
    const bool keepColumns = m_options.keepColumns;

    // A moved name is at most one byte longer than the old one, and keeping
    // columns adds no more than that.
    std::string result(text.size() + m_occurrences.size(), '\0');
    char* const begin = result.data();
    char* out = begin;
    const char* in = text.data();
    std::size_t cursor = 0;
    auto copy = [&out](const char* bytes, std::size_t size) {
        std::memcpy(out, bytes, size);
        out += size;
    };
    m_counts.fill(0);
    for (Occurrence& occurrence : m_occurrences) {
        const std::size_t position = occurrence.position;
        copy(in + cursor, position - cursor);
        const auto newPosition = static_cast<std::uint32_t>(out - begin);
        const std::uint8_t target = targets[occurrence.index];
        std::size_t oldSize = 0;
        std::size_t newSize = 0;
        if (!occurrence.extended) {
            oldSize = f.nameSize[occurrence.index];
            newSize = f.nameSize[target];
            copy(f.name[target].data(), newSize);
            ++m_counts[target];
        } else {
            // The root moves and the suffix stays as written.
            oldSize = ExtendedLength(text, position);
            const std::string& oldRoot = rootSpellings[occurrence.index % kSpellings];
            const std::string& newRoot = rootSpellings[target % kSpellings];
            copy(newRoot.data(), newRoot.size());
            copy(in + position + oldRoot.size(), oldSize - oldRoot.size());
            newSize = oldSize - oldRoot.size() + newRoot.size();
        }
        occurrence.position = newPosition;
        occurrence.index = target;
        cursor = position + oldSize;
        if (keepColumns && newSize > oldSize) {
            // A longer name takes spaces from the run after it, leaving one.
            std::size_t run = 0;
            while (cursor + run < text.size() && in[cursor + run] == ' ')
                ++run;
            if (run >= 2)
                cursor += std::min(newSize - oldSize, run - 1);
        } else if (keepColumns && newSize < oldSize && cursor < text.size() && in[cursor] == ' ') {
            for (std::size_t k = newSize; k < oldSize; ++k)
                *out++ = ' ';
        }
    }
    copy(in + cursor, text.size() - cursor);
    result.resize(static_cast<std::size_t>(out - begin));
    if (m_extendedCount > 0) {
        // A moved name outside the table may read otherwise ("E#7" moved up
        // is "F#7"): the new text is read again.
        Detect(std::move(result));
        return;
    }
    // Only bytes inside chord names and, keeping columns, runs of spaces
    // after them change; every moved name is again a delimited table name
    // outside any tag, so detecting the new text would find exactly the
    // moved names where they are written: the list follows them instead.
    text = std::move(result);
    ListDistinctChords();
}

int CTablature::FindEasiest() {
    // Every trial starts from the song as it is now. What a trial's
    // transposition and detection give depends only on which chords occur in
    // the song, so the scores come from those and the text is rewritten
    // once, at the chosen shift.
    Detect(std::move(text));
    const Summary summary = Summarize();
    int bestScore = 0;
    int bestShift = 0;
    for (int trial = 0; trial < 13; ++trial) {
        const int shift = trial == 0 ? 0 : (trial % 2 == 1 ? -(trial + 1) / 2 : trial / 2);
        std::array<int, kMaxDistinct> distinct;
        int trialScore = 0;
        summary.At(shift, distinct.data(), trialScore);
        if (trial == 0 || trialScore < bestScore) {
            bestScore = trialScore;
            bestShift = shift;
        }
    }
    Transpose(bestShift);
    return bestShift;
}
