#include "engine/SongKey.h"

std::string SongKey::Name() const {
    std::string name(root.Name());
    if (minor)
        name += 'm';
    return name;
}

SongKey GuessKey(NoteSpelling firstRoot, ChordQuality firstQuality) {
    return SongKey{firstRoot, firstQuality == Minor || firstQuality == MinorSeventh};
}

KeySignature SignatureOf(Pitch tonic, bool minor) {
    // Bit p set: the key on pitch p is written with flats, or with sharps.
    constexpr unsigned kMajorFlats = 1u << 1 | 1u << 3 | 1u << 5 | 1u << 8 | 1u << 10;
    constexpr unsigned kMajorSharps = 1u << 2 | 1u << 4 | 1u << 6 | 1u << 7 | 1u << 9 | 1u << 11;
    constexpr unsigned kMinorFlats = 1u << 0 | 1u << 2 | 1u << 3 | 1u << 5 | 1u << 7 | 1u << 10;
    constexpr unsigned kMinorSharps = 1u << 1 | 1u << 4 | 1u << 6 | 1u << 8 | 1u << 11;
    const unsigned key = 1u << tonic.Value();
    if (key & (minor ? kMinorFlats : kMajorFlats))
        return KeySignature::Flats;
    if (key & (minor ? kMinorSharps : kMajorSharps))
        return KeySignature::Sharps;
    return KeySignature::Neither;
}
