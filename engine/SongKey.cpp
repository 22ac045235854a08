#include "engine/SongKey.h"

namespace {

NoteSpelling InTable(const SpelledNote& note) {
    const SpelledNote plain = note.Simplified();
    const Accidental accidental = plain.alter < 0   ? Accidental::Flat
                                  : plain.alter > 0 ? Accidental::Sharp
                                                    : Accidental::Natural;
    // Simplified names are always among the table's.
    return NoteSpelling::Of(plain.letter, accidental).value_or(NoteSpelling());
}

} // namespace

std::string SongKey::Name() const {
    std::string name = CKeySpelling::Tonic(key, side).Name();
    if (key.minor)
        name += 'm';
    return name;
}

NoteSpelling SongKey::Root(int pitch, bool diminished) const {
    return InTable(CKeySpelling::Root(pitch, key, side, diminished));
}

NoteSpelling SongKey::Bass(int pitch, int rootPitch, bool diminished) const {
    return InTable(CKeySpelling::Bass(pitch, rootPitch, key, side, diminished));
}
