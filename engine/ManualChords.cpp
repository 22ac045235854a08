#include "engine/ManualChords.h"

#include <cstddef>

#include "chords/ChordCatalog.h"
#include "chords/NoteSpelling.h"
#include "engine/Shift.h"

namespace manualchords {
namespace {

constexpr int kSpellings = CChordCatalog::kSpellingCount;

// The spelling of a song or transposed entry.
NoteSpelling SpellingOf(int entry) {
    return NoteSpelling::AtIndex((entry - 1) % kSpellings);
}

} // namespace

int AccidentalOf(int transposedEntry) {
    return static_cast<int>(SpellingOf(transposedEntry).GetAccidental());
}

int ShiftBetween(int from, int to) {
    return SpellingOf(to).GetPitch().Value() - SpellingOf(from).GetPitch().Value();
}

int TransposedEntry(int songEntry, int shift, int refAccidental) {
    if (songEntry <= 0)
        return 0;
    const NoteSpelling spelling = SpellingOf(songEntry);
    const Accidental accidental = spelling.GetAccidental();
    const bool flat = accidental == Accidental::Flat || (accidental == Accidental::Natural && refAccidental == -1);
    return NoteSpelling::InFamily(spelling.GetPitch().Moved(shift), flat).Index() + 1;
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
