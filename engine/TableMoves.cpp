#include "engine/TableMoves.h"

#include <cstddef>

namespace {

// The spelling families a name can be written in.
enum Family { kOwnFamily, kSharpFamily, kFlatFamily };

// The family the names of a song moved up by `up` half-tones are written in.
Family FamilyAt(Spelling spelling, const std::optional<SongKey>& key, int up) {
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
    if (!key)
        return kOwnFamily;
    switch (SignatureOf(key->root.GetPitch().Moved(up), key->minor)) {
    case KeySignature::Flats:
        return kFlatFamily;
    case KeySignature::Sharps:
        return kSharpFamily;
    case KeySignature::Neither:
        break;
    }
    return kOwnFamily;
}

} // namespace

TableMoves MovesAt(int shift, Spelling spelling, const std::optional<SongKey>& key) {
    const int up = Pitch::Wrap(shift);
    const Family family = FamilyAt(spelling, key, up);
    TableMoves moves;
    for (int i = 0; i < TableNames::kSize; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (up == 0) {
            moves[k] = static_cast<std::uint8_t>(i);
            continue;
        }
        const NoteSpelling root = NoteSpelling::AtIndex(i % NoteSpelling::kCount);
        const bool flat = family == kOwnFamily ? root.IsFlat() : family == kFlatFamily;
        const NoteSpelling moved = NoteSpelling::InFamily(root.GetPitch().Moved(up), flat);
        moves[k] = static_cast<std::uint8_t>(i - root.Index() + moved.Index());
    }
    return moves;
}
