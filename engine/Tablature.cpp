#include "engine/Tablature.h"

#include <algorithm>
#include <cstdint>
#include <vector>
#include <utility>

#include "chords/ChordCatalog.h"
#include "chords/Messages.h"
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

// The table index of a chord, from its root, spelling family and suffix.
std::size_t IndexOfChord(const CChord& chord) {
    static constexpr signed char kSharp[12] = {0, 1, 3, 4, 6, 7, 8, 10, 11, 13, 14, 16};
    static constexpr signed char kFlat[12] = {0, 2, 3, 5, 6, 7, 9, 10, 12, 13, 15, 16};
    const auto root = static_cast<std::size_t>(chord.root);
    const int spelling = chord.accidental == '#' ? kSharp[root] : kFlat[root];
    return static_cast<std::size_t>(QualityOfSuffix(chord.suffix) * CChordCatalog::kSpellingCount + spelling);
}

// The length of a chord's name without building it.
std::size_t NameLength(const CChord& chord) {
    const bool natural = sharpNoteNames[static_cast<std::size_t>(chord.root)].size() == 1;
    return (natural ? 1 : 2) + chord.suffix.size();
}

void AppendName(std::string& out, const CChord& chord) {
    const auto& names = chord.accidental == '#' ? sharpNoteNames : flatNoteNames;
    out += names[static_cast<std::size_t>(chord.root)];
    out += chord.suffix;
}

// What detection keeps of a text with these occurrence counts per table
// index: names are taken in table order until the list is full; a name that
// still has a match then is reported and left out of the distinct list.
// Returns the number of capacity messages; fills the kept count of each name
// and whether it enters the distinct list.
int SelectByTableOrder(const Counts& counts, Counts& kept, std::array<bool, kTableSize>& listed) {
    int messages = 0;
    int total = 0;
    for (int i = 0; i < kTableSize; ++i) {
        const int n = counts[static_cast<std::size_t>(i)];
        const int room = CTablature::kMaxOccurrences - total;
        if (n <= room) {
            kept[static_cast<std::size_t>(i)] = n;
            listed[static_cast<std::size_t>(i)] = n > 0;
            total += n;
        } else {
            kept[static_cast<std::size_t>(i)] = room;
            listed[static_cast<std::size_t>(i)] = false;
            total = CTablature::kMaxOccurrences;
            ++messages;
        }
    }
    return messages;
}

// The distinct list of the listed names, the first spelling in table order kept.
int DistinctOf(const std::array<bool, kTableSize>& listed, int* distinct) {
    int n = 0;
    for (int i = 0; i < kTableSize; ++i) {
        if (!listed[static_cast<std::size_t>(i)])
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

void ShowCapacityMessages(int messages) {
    for (int m = 0; m < messages; ++m)
        ShowMessage(kTooManyChordsMessage);
}

} // namespace

CTablature::CTablature(const CTablature& other) {
    *this = other;
}

CTablature& CTablature::operator=(const CTablature& other) {
    if (this == &other)
        return *this;
    // Only the used slots carry meaning; the rest are never read.
    text = other.text;
    score = other.score;
    count = other.count;
    distinctCount = other.distinctCount;
    std::copy_n(other.occurrences.begin(), count, occurrences.begin());
    std::copy_n(other.positions.begin(), count, positions.begin());
    std::copy_n(other.distinctChords.begin(), distinctCount, distinctChords.begin());
    m_counts = other.m_counts;
    return *this;
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
    count = 0;
    distinctCount = 0;
    m_counts.fill(0);

    // One pass records the occurrences in text order: the first ones in the
    // slots, any beyond them aside.
    std::array<unsigned char, kMaxOccurrences> indexes;
    std::vector<std::uint64_t> beyond; // position << 8 | table index
    chordscan::Scan(text.data(), text.size(), [&](std::size_t pos, int index, std::size_t) {
        if (count < kMaxOccurrences) {
            positions[static_cast<std::size_t>(count)] = static_cast<int>(pos);
            indexes[static_cast<std::size_t>(count)] = static_cast<unsigned char>(index);
            ++count;
        } else {
            beyond.push_back(static_cast<std::uint64_t>(pos) << 8 | static_cast<unsigned>(index));
        }
        ++m_counts[static_cast<std::size_t>(index)];
    });

    Counts kept;
    std::array<bool, kTableSize> listed;
    const int messages = SelectByTableOrder(m_counts, kept, listed);
    if (messages > 0) {
        // More occurrences than fit: keep those chosen by table order, each
        // name's earliest ones first, still in text order.
        Counts taken{};
        int n = 0;
        auto keep = [&](int pos, unsigned char index) {
            auto& t = taken[index];
            if (t < kept[index]) {
                ++t;
                positions[static_cast<std::size_t>(n)] = pos;
                indexes[static_cast<std::size_t>(n)] = index;
                ++n;
            }
        };
        for (int i = 0; i < count; ++i)
            keep(positions[static_cast<std::size_t>(i)], indexes[static_cast<std::size_t>(i)]);
        for (std::uint64_t hit : beyond)
            keep(static_cast<int>(hit >> 8), static_cast<unsigned char>(hit & 0xff));
        count = n;
    }
    for (int i = 0; i < count; ++i)
        occurrences[static_cast<std::size_t>(i)] = theChordCatalog.GetAt(indexes[static_cast<std::size_t>(i)]);

    std::array<int, kMaxDistinct> distinct;
    distinctCount = DistinctOf(listed, distinct.data());
    for (int k = 0; k < distinctCount; ++k)
        distinctChords[static_cast<std::size_t>(k)] = theChordCatalog.GetAt(distinct[static_cast<std::size_t>(k)]);
    score = ScoreOf(distinct.data(), distinctCount);
    ShowCapacityMessages(messages);
}

CChord TransposeChord(const CChord& chord, int shift) {
    if (shift == 0)
        return chord;
    int newRoot = ((chord.root + shift) % 12 + 12) % 12;
    const auto& names = chord.accidental == '#' ? sharpNoteNames : flatNoteNames;
    return *theChordCatalog.Find(names[static_cast<std::size_t>(newRoot)] + chord.suffix);
}

void CTablature::Transpose(int shift) {
    std::string result;
    result.reserve(text.size() + static_cast<std::size_t>(count));
    std::size_t cursor = 0;
    const bool tabled = shift >= -6 && shift <= 6;
    for (int i = 0; i < count; ++i) {
        const CChord& occurrence = occurrences[static_cast<std::size_t>(i)];
        const std::size_t position = static_cast<std::size_t>(positions[static_cast<std::size_t>(i)]);
        result.append(text, cursor, position - cursor);
        if (tabled) {
            const auto target = ShiftTable()[static_cast<std::size_t>(shift + 6)][IndexOfChord(occurrence)];
            AppendName(result, theChordCatalog.GetAt(target));
        } else {
            result += TransposeChord(occurrence, shift).GetName();
        }
        cursor = position + NameLength(occurrence);
    }
    result.append(text, cursor, std::string::npos);
    Detect(std::move(result));
}

int CTablature::FindEasiest() {
    // Every trial starts from the song as it is now. What a trial's
    // transposition and detection give depends only on how often each chord
    // occurs in the song, so the scores come from those counts and the text
    // is rewritten once, at the chosen shift.
    Detect(std::move(text));
    const Counts songCounts = m_counts;
    Counts songKept;
    std::array<bool, kTableSize> listed;
    const int songMessages = SelectByTableOrder(songCounts, songKept, listed);

    int bestScore = 0;
    int bestShift = 0;
    for (int trial = 0; trial < kShiftCount; ++trial) {
        const int shift = trial == 0 ? 0 : (trial % 2 == 1 ? -(trial + 1) / 2 : trial / 2);
        if (trial > 0)
            ShowCapacityMessages(songMessages); // the trial's detection of the song
        // The kept occurrences move; those beyond the list stay as written.
        Counts moved{};
        const auto& targets = ShiftTable()[static_cast<std::size_t>(shift + 6)];
        for (int i = 0; i < kTableSize; ++i) {
            moved[static_cast<std::size_t>(targets[static_cast<std::size_t>(i)])] +=
                songKept[static_cast<std::size_t>(i)];
            moved[static_cast<std::size_t>(i)] +=
                songCounts[static_cast<std::size_t>(i)] - songKept[static_cast<std::size_t>(i)];
        }
        Counts kept;
        const int messages = SelectByTableOrder(moved, kept, listed);
        ShowCapacityMessages(messages);
        std::array<int, kMaxDistinct> distinct;
        const int n = DistinctOf(listed, distinct.data());
        const int trialScore = ScoreOf(distinct.data(), n);
        if (trial == 0 || trialScore < bestScore) {
            bestScore = trialScore;
            bestShift = shift;
        }
    }
    ShowCapacityMessages(songMessages); // the detection before the final move
    Transpose(bestShift);
    return bestShift;
}
