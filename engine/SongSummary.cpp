#include "engine/SongSummary.h"

#include <cstddef>

#include "engine/KeyFinder.h"
#include "engine/TableMoves.h"

DistinctChords SongSummary::At(int shift) const {
    const TableMoves moves = MovesAt(shift, spelling, key, notation);
    ChordCounts moved{};
    for (std::size_t i = 0; i < moves.size(); ++i)
        moved[moves[i]] += counts[i];
    std::vector<int> bases;
    for (const ChordName& name : extended) {
        // A moved name may read otherwise ("E#7" moved up is "F#7"), so it
        // is read again as the text will hold it.
        int root = moves[static_cast<std::size_t>(name.TableIndex())] % NoteSpelling::kCount;
        if (spelling == Spelling::Key && key && Pitch::Wrap(shift) != 0 &&
            ChordKindOfSuffix(name.Suffix()) == ChordKind::Diminished)
            root = key->Moved(shift).Root(name.RootPitch().Moved(shift).Value(), true).Index();
        const std::string movedName =
            std::string(chordnotation::RootName(NoteSpelling::AtIndex(root), notation)) + name.Suffix();
        const std::optional<ChordMatch> written = ChordName::Read(movedName, true, notation);
        if (!written)
            continue;
        if (written->extended)
            bases.push_back(written->index);
        else
            ++moved[static_cast<std::size_t>(written->index)];
    }
    return ListDistinct(moved, bases);
}
