#include "engine/Tablature.h"

#include <cstring>
#include <utility>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "engine/ChordScanner.h"

namespace {

constexpr int kTableSize = CChordCatalog::kSize;
constexpr int kShiftCount = 13; // -6..+6

// The table index each chord moves to, for every shift from -6 to +6.
const std::array<std::array<signed char, kTableSize>, kShiftCount>& ShiftTable() {
    static const auto table = [] {
        std::array<std::array<signed char, kTableSize>, kShiftCount> t{};
        for (int s = -6; s <= 6; ++s) {
            for (int i = 0; i < kTableSize; ++i) {
                const int target = CChordCatalog::IndexOf(TransposeChord(theChordCatalog.GetAt(i), s).GetName());
                t[static_cast<std::size_t>(s + 6)][static_cast<std::size_t>(i)] = static_cast<signed char>(target);
            }
        }
        return t;
    }();
    return table;
}

// Same root and quality: the two spellings of a black-key chord count as one.
bool SameChord(int a, int b) {
    const CChord& x = theChordCatalog.GetAt(a);
    const CChord& y = theChordCatalog.GetAt(b);
    return x.root == y.root && x.suffix == y.suffix;
}

using Counts = std::array<int, kTableSize>;

// The bytes of the 85 names, so that rewriting a song copies them without
// building strings.
struct NameBytes {
    char bytes[7];
    std::uint8_t size;
};

const std::array<NameBytes, kTableSize>& TableNames() {
    static const auto names = [] {
        std::array<NameBytes, kTableSize> n{};
        for (int i = 0; i < kTableSize; ++i) {
            const std::string name = theChordCatalog.GetAt(i).GetName();
            auto& entry = n[static_cast<std::size_t>(i)];
            std::memcpy(entry.bytes, name.data(), name.size());
            entry.size = static_cast<std::uint8_t>(name.size());
        }
        return n;
    }();
    return names;
}

// The distinct list of the names that occur, the first spelling in table order kept.
int DistinctOf(const Counts& counts, int* distinct) {
    int n = 0;
    for (int i = 0; i < kTableSize; ++i) {
        if (counts[static_cast<std::size_t>(i)] == 0)
            continue;
        bool seen = false;
        for (int k = 0; k < n && !seen; ++k)
            seen = SameChord(distinct[k], i);
        if (!seen)
            distinct[n++] = i;
    }
    return n;
}

int ScoreOf(const int* distinct, int n) {
    int score = 0;
    for (int k = 0; k < n; ++k)
        score += theChordCatalog.GetAt(distinct[k]).GetDifficulty();
    return score;
}

} // namespace

const CChord& CTablature::ChordAt(int i) const {
    return theChordCatalog.GetAt(m_occurrences[static_cast<std::size_t>(i)].index);
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
    chordscan::Scan(text.data(), text.size(), m_rules, [&](std::size_t pos, int index, std::size_t) {
        m_occurrences.push_back({static_cast<std::uint32_t>(pos), static_cast<std::uint8_t>(index)});
        ++m_counts[static_cast<std::size_t>(index)];
    });
    ListDistinctChords();
}

void CTablature::ListDistinctChords() {
    std::array<int, kMaxDistinct> distinct;
    distinctCount = DistinctOf(m_counts, distinct.data());
    for (int k = 0; k < distinctCount; ++k)
        distinctChords[static_cast<std::size_t>(k)] = theChordCatalog.GetAt(distinct[static_cast<std::size_t>(k)]);
    score = ScoreOf(distinct.data(), distinctCount);
}

CChord TransposeChord(const CChord& chord, int shift) {
    if (shift == 0)
        return chord;
    int newRoot = ((chord.root + shift) % 12 + 12) % 12;
    const auto& names = chord.accidental == '#' ? sharpNoteNames : flatNoteNames;
    return *theChordCatalog.Find(names[static_cast<std::size_t>(newRoot)] + chord.suffix);
}

void CTablature::Transpose(int shift) {
    const auto& names = TableNames();
    // A moved name is at most one byte longer than the old one.
    std::string result(text.size() + m_occurrences.size(), '\0');
    char* out = result.data();
    const char* in = text.data();
    std::size_t cursor = 0;
    // Shifts twelve half-tones apart give the same names.
    const auto& targets = ShiftTable()[static_cast<std::size_t>(((shift % 12) + 18) % 12)];
    // Only bytes inside chord names change, and every moved name is again a
    // delimited table name outside any tag, so detecting the new text would
    // find exactly the moved names where they are written: the list follows
    // them instead.
    m_counts.fill(0);
    for (Occurrence& occurrence : m_occurrences) {
        const std::size_t position = occurrence.position;
        std::memcpy(out, in + cursor, position - cursor);
        out += position - cursor;
        cursor = position + names[occurrence.index].size;
        occurrence.position = static_cast<std::uint32_t>(out - result.data());
        occurrence.index = static_cast<std::uint8_t>(targets[occurrence.index]);
        ++m_counts[occurrence.index];
        const NameBytes& name = names[occurrence.index];
        std::memcpy(out, name.bytes, name.size);
        out += name.size;
    }
    std::memcpy(out, in + cursor, text.size() - cursor);
    out += text.size() - cursor;
    result.resize(static_cast<std::size_t>(out - result.data()));
    text = std::move(result);
    ListDistinctChords();
}

int CTablature::FindEasiest() {
    // Every trial starts from the song as it is now. What a trial's
    // transposition and detection give depends only on which chords occur in
    // the song, so the scores come from the counts and the text is rewritten
    // once, at the chosen shift.
    Detect(std::move(text));
    int bestScore = 0;
    int bestShift = 0;
    for (int trial = 0; trial < kShiftCount; ++trial) {
        const int shift = trial == 0 ? 0 : (trial % 2 == 1 ? -(trial + 1) / 2 : trial / 2);
        Counts moved{};
        const auto& targets = ShiftTable()[static_cast<std::size_t>(shift + 6)];
        for (int i = 0; i < kTableSize; ++i)
            moved[static_cast<std::size_t>(targets[static_cast<std::size_t>(i)])] +=
                m_counts[static_cast<std::size_t>(i)];
        std::array<int, kMaxDistinct> distinct;
        const int n = DistinctOf(moved, distinct.data());
        const int trialScore = ScoreOf(distinct.data(), n);
        if (trial == 0 || trialScore < bestScore) {
            bestScore = trialScore;
            bestShift = shift;
        }
    }
    Transpose(bestShift);
    return bestShift;
}
