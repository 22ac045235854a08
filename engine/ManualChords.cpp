#include "engine/ManualChords.h"

#include <array>
#include <cstddef>

#include "chords/ChordCatalog.h"
#include "engine/Shift.h"

namespace manualchords {
namespace {

constexpr int kSpellings = CChordCatalog::kSpellingCount;

// Pitch class and accidental of each spelling, index = transposed entry - 1.
constexpr std::array<int, kSpellings> kPitch = {0, 1, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 8, 9, 10, 10, 11};
constexpr std::array<int, kSpellings> kAccidental = {0, 1, -1, 0, 1, -1, 0, 0, 1, -1, 0, 1, -1, 0, 1, -1, 0};

// The spelling index 0..16 of a song or transposed entry.
std::size_t SpellingOf(int entry) {
    return static_cast<std::size_t>((entry - 1) % kSpellings);
}

} // namespace

int AccidentalOf(int transposedEntry) {
    return kAccidental[SpellingOf(transposedEntry)];
}

int ShiftBetween(int from, int to) {
    return kPitch[SpellingOf(to)] - kPitch[SpellingOf(from)];
}

int TransposedEntry(int songEntry, int shift, int refAccidental) {
    if (songEntry <= 0)
        return 0;
    const std::size_t spelling = SpellingOf(songEntry);
    const int pitch = ((kPitch[spelling] + shift) % 12 + 12) % 12;

    // The first spelling of a pitch is the white key or the sharp one; the
    // flat spelling follows it.
    std::size_t t = 0;
    while (kPitch[t] != pitch)
        ++t;
    const int accidental = kAccidental[spelling];
    if (t + 1 < kPitch.size() && kPitch[t + 1] == pitch &&
        (accidental == -1 || (accidental == 0 && refAccidental == -1)))
        ++t;
    return static_cast<int>(t) + 1;
}

int Score(const std::vector<int>& songEntries, const std::vector<int>& transposedEntries) {
    int score = 0;
    for (std::size_t k = 0; k < songEntries.size() && k < transposedEntries.size(); ++k) {
        const int s = songEntries[k];
        const int t = transposedEntries[k];
        if (s <= 0 || t <= 0)
            continue;
        score += theChordCatalog.GetAt(kSpellings * ((s - 1) / kSpellings) + (t - 1) % kSpellings).GetDifficulty();
    }
    return score;
}

int EasiestShift(const std::vector<int>& songEntries) {
    int reference = 0;
    for (const int s : songEntries) {
        if (s > 0) {
            reference = s;
            break;
        }
    }
    if (reference == 0)
        return 0;

    std::vector<int> transposed(songEntries.size());
    int best = 0;
    int winner = 0;
    for (int i = 1; i <= kSpellings; ++i) {
        const int shift = ShiftBetween(reference, i);
        for (std::size_t k = 0; k < songEntries.size(); ++k)
            transposed[k] = TransposedEntry(songEntries[k], shift, 0);
        const int score = Score(songEntries, transposed);
        if (winner == 0 || score < best) {
            best = score;
            winner = i;
        }
    }
    return WrapShift(ShiftBetween(reference, winner));
}

} // namespace manualchords
