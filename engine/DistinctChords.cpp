#include "engine/DistinctChords.h"

#include <cstddef>
#include <cstdint>

#include "chords/ChordCatalog.h"

DistinctChords ListDistinct(const ChordCounts& counts, const std::vector<int>& extraBases) {
    DistinctChords distinct;
    std::uint64_t seen = 0; // bit pitch * 5 + quality
    auto add = [&](int index) {
        const int pitch = notespelling::kPitches[static_cast<std::size_t>(index % NoteSpelling::kCount)];
        const std::uint64_t bit = std::uint64_t{1} << (pitch * kQualityCount + index / NoteSpelling::kCount);
        if (seen & bit)
            return;
        seen |= bit;
        distinct.index[static_cast<std::size_t>(distinct.count++)] = index;
    };
    for (int i = 0; i < TableNames::kSize; ++i) {
        if (counts[static_cast<std::size_t>(i)] != 0)
            add(i);
    }
    for (int base : extraBases)
        add(base);
    for (int k = 0; k < distinct.count; ++k)
        distinct.score += theChordCatalog.GetAt(distinct.index[static_cast<std::size_t>(k)]).GetDifficulty();
    return distinct;
}
