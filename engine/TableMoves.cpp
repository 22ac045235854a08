#include "engine/TableMoves.h"

#include <cstddef>

namespace {

// The spelling families a name can be written in.
enum Family { kOwnFamily, kSharpFamily, kFlatFamily };

// The family the names of a song are written in, but for the spelling by key.
Family FamilyOf(Spelling spelling) {
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
    return kOwnFamily;
}

} // namespace

TableMoves MovesAt(int shift, Spelling spelling, const std::optional<SongKey>& key, Notation notation) {
    const int up = Pitch::Wrap(shift);
    const Family family = FamilyOf(spelling);
    // Spelled by key, a song without chords keeps each name's own family.
    const bool byKey = spelling == Spelling::Key && key;
    const SongKey target = byKey ? key->Moved(up) : SongKey();
    // Each quality moves alike: the root's spelling moves.
    std::array<int, NoteSpelling::kCount> moved;
    for (int s = 0; s < NoteSpelling::kCount; ++s) {
        const NoteSpelling root = NoteSpelling::AtIndex(s);
        const Pitch pitch = root.GetPitch().Moved(up);
        const bool flat = family == kOwnFamily ? root.IsFlat() : family == kFlatFamily;
        moved[static_cast<std::size_t>(s)] = up == 0 ? s
                                             : byKey ? target.Root(pitch.Value()).Index()
                                                     : NoteSpelling::InFamily(pitch, flat).Index();
    }
    constexpr int kASharp = 14;
    constexpr int kBFlat = 15;
    for (int s = 0; up != 0 && notation == Notation::German && s < NoteSpelling::kCount; ++s) {
        if (moved[static_cast<std::size_t>(s)] == kASharp)
            moved[static_cast<std::size_t>(s)] = kBFlat;
    }
    TableMoves moves;
    for (std::size_t i = 0; i < moves.size(); ++i)
        moves[i] = static_cast<std::uint8_t>(i - i % NoteSpelling::kCount + moved[i % NoteSpelling::kCount]);
    return moves;
}
