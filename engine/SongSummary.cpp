#include "engine/SongSummary.h"

#include <cstddef>
#include <cstring>

#include "engine/KeyFinder.h"
#include "engine/TableMoves.h"

namespace {

// A name outside the table as its moved root and its suffix write it.
std::string MovedName(std::string_view root, std::string_view suffix) {
    std::string name(root.size() + suffix.size() + 2, '\0');
    std::memcpy(name.data(), root.data(), root.size());
    name.resize(root.size() + chordgrammar::WriteMovedSuffix(suffix, name.data() + root.size()));
    return name;
}

} // namespace

DistinctChords SongSummary::At(int shift) const {
    const TableMoves moves = MovesAt(shift, spelling, key, notation);
    ChordCounts moved{};
    for (std::size_t i = 0; i < moves.size(); ++i)
        moved[moves[i]] += counts[i];
    std::vector<int> bases;
    // A legend's name kept as written scores as it stands.
    std::vector<int> keptExtended(extended.size());
    for (const HeldName& name : held) {
        if ((name.shifts >> Pitch::Wrap(shift) & 1) == 0)
            continue;
        if (name.extended >= 0) {
            ++keptExtended[static_cast<std::size_t>(name.extended)];
        } else {
            --moved[moves[static_cast<std::size_t>(name.index)]];
            ++moved[static_cast<std::size_t>(name.index)];
        }
    }
    for (std::size_t e = 0; e < extended.size(); ++e) {
        const ChordName& name = extended[e];
        if (keptExtended[e] > 0)
            bases.push_back(name.TableIndex());
        if (keptExtended[e] == extendedCounts[e])
            continue;
        // A moved name may read otherwise ("E#7" moved down is "E7"), so it
        // is read again as the text will hold it.
        int root = moves[static_cast<std::size_t>(name.TableIndex())] % NoteSpelling::kCount;
        if (spelling == Spelling::Key && key && Pitch::Wrap(shift) != 0 &&
            ChordKindOfSuffix(name.Suffix()) == ChordKind::Diminished)
            root = key->Moved(shift).Root(name.RootPitch().Moved(shift).Value(), true).Index();
        // Fb and Cb move as flats, as their sheet writes its roots.
        const std::string& written = name.WrittenRoot();
        if (spelling == Spelling::AsWritten && !written.empty() && written[1] == 'b' && Pitch::Wrap(shift) != 0)
            root = NoteSpelling::InFamily(name.RootPitch().Moved(shift), true).Index();
        // A root written E#, B#, Fb or Cb that does not move stays as written.
        const std::string movedName =
            root == name.Root().Index() && !written.empty()
                ? name.Write()
                : MovedName(chordnotation::RootName(NoteSpelling::AtIndex(root), notation), name.Suffix());
        const std::optional<ChordMatch> read = ChordName::Read(movedName, true, notation);
        if (!read)
            continue;
        if (read->extended)
            bases.push_back(read->index);
        else
            ++moved[static_cast<std::size_t>(read->index)];
    }
    return ListDistinct(moved, bases);
}
