#include "engine/KeySpelling.h"

#include <array>

namespace {

// Letters from C: their index 0..6 and pitch class.
constexpr std::array<char, 7> kLetters = {'C', 'D', 'E', 'F', 'G', 'A', 'B'};
constexpr std::array<int, 7> kNaturalPitch = {0, 2, 4, 5, 7, 9, 11};

// The letter step above the tonic of each half-tone degree 0..11, the same
// for major and minor keys: a degree between two scale notes is written on
// the upper letter, flattened (bII, bIII, bVI, bVII of a major key), except
// #IV, written on the lower one raised. The key's own scale then gives the
// raised third, sixth and seventh of a minor key their sharps.
constexpr std::array<int, 12> kStepOfDegree = {0, 1, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};

int Wrap(int pitch) {
    return ((pitch % 12) + 12) % 12;
}

int LetterIndex(char letter) {
    for (int i = 0; i < 7; ++i) {
        if (kLetters[static_cast<std::size_t>(i)] == letter)
            return i;
    }
    return 0;
}

// The note of pitch written on the letter steps above the given one.
SpelledNote OnLetter(const SpelledNote& from, int steps, int pitch) {
    const int index = (LetterIndex(from.letter) + steps) % 7;
    int alter = Wrap(pitch - kNaturalPitch[static_cast<std::size_t>(index)]);
    if (alter > 6)
        alter -= 12;
    return SpelledNote{kLetters[static_cast<std::size_t>(index)], alter};
}

// The white key of pitch, or nothing (-1) for a black key.
int WhiteLetterIndex(int pitch) {
    for (int i = 0; i < 7; ++i) {
        if (kNaturalPitch[static_cast<std::size_t>(i)] == pitch)
            return i;
    }
    return -1;
}

// The name of a pitch among the chord table's: a black key as the sharp of
// the letter below or the flat of the letter above.
SpelledNote Plain(int pitch, bool flat) {
    pitch = Wrap(pitch);
    const int white = WhiteLetterIndex(pitch);
    if (white >= 0)
        return SpelledNote{kLetters[static_cast<std::size_t>(white)], 0};
    const int index = WhiteLetterIndex(Wrap(flat ? pitch + 1 : pitch - 1));
    return SpelledNote{kLetters[static_cast<std::size_t>(index)], flat ? -1 : 1};
}

// The degrees of the key written on a letter lowered below the scale: a
// diminished chord there leads up a half-tone, a raised degree instead.
constexpr std::array<bool, 12> kFlattenedInMajor = {false, true,  false, true,  false, false,
                                                    false, false, true,  false, true,  false};
constexpr std::array<bool, 12> kFlattenedInMinor = {false, true,  false, false, false, false,
                                                    false, false, false, false, false, false};

int PitchOf(const SpelledNote& note) {
    return Wrap(kNaturalPitch[static_cast<std::size_t>(LetterIndex(note.letter))] + note.alter);
}

// Sharps (1..6) or flats (as 11..6) in the signature of the key, 0 for none.
int FifthsOf(MusicalKey key) {
    const int relativeMajor = key.minor ? key.tonic + 3 : key.tonic;
    return Wrap(relativeMajor * 7);
}

} // namespace

std::string SpelledNote::Name() const {
    std::string name(1, letter);
    for (int i = 0; i < alter; ++i)
        name += '#';
    for (int i = 0; i > alter; --i)
        name += 'b';
    return name;
}

SpelledNote SpelledNote::Simplified() const {
    const bool sharpOfWhite = alter == 1 && letter != 'E' && letter != 'B';
    const bool flatOfWhite = alter == -1 && letter != 'C' && letter != 'F';
    if (alter == 0 || sharpOfWhite || flatOfWhite)
        return *this;
    return Plain(PitchOf(*this), alter < 0);
}

SignatureSide CKeySpelling::SideOf(MusicalKey key, SignatureSide preferred) {
    const int fifths = FifthsOf(key);
    if (fifths == 0)
        return SignatureSide::Natural;
    if (fifths == 6)
        return preferred == SignatureSide::Flats ? SignatureSide::Flats : SignatureSide::Sharps;
    return fifths < 6 ? SignatureSide::Sharps : SignatureSide::Flats;
}

SignatureSide CKeySpelling::WritersSide(MusicalKey original, SignatureSide written) {
    const int fifths = FifthsOf(original);
    if (fifths == 0 || fifths == 6)
        return written;
    return fifths < 6 ? SignatureSide::Sharps : SignatureSide::Flats;
}

SpelledNote CKeySpelling::Tonic(MusicalKey key, SignatureSide side) {
    // A black-key tonic is sharp or flat as the signature goes: a key of
    // seven sharps (C#, A#m) is written as its enharmonic of five flats.
    return Plain(key.tonic, SideOf(key, side) == SignatureSide::Flats);
}

SpelledNote CKeySpelling::Root(int pitch, MusicalKey key, SignatureSide side, bool diminished) {
    const SpelledNote tonic = Tonic(key, side);
    const int degree = Wrap(pitch - key.tonic);
    const bool flattened = (key.minor ? kFlattenedInMinor : kFlattenedInMajor)[static_cast<std::size_t>(degree)];
    const int step = kStepOfDegree[static_cast<std::size_t>(diminished && flattened ? degree - 1 : degree)];
    return OnLetter(tonic, step, pitch);
}

SpelledNote CKeySpelling::Bass(int pitch, int rootPitch, MusicalKey key, SignatureSide side, bool diminished) {
    const SpelledNote root = Root(rootPitch, key, side, diminished);
    // The letter steps above the root of the chord tones a bass plays, by
    // interval: thirds, fifths (diminished and augmented included) and
    // sevenths, the diminished seventh of a diminished chord too; 0 for
    // the notes outside the chord.
    const int interval = Wrap(pitch - rootPitch);
    constexpr std::array<int, 12> kChordToneStep = {0, 0, 0, 2, 2, 0, 4, 4, 4, 0, 6, 6};
    int step = kChordToneStep[static_cast<std::size_t>(interval)];
    if (diminished && interval == 9)
        step = 6;
    if (step == 0)
        return Root(pitch, key, side);
    return OnLetter(root, step, pitch);
}
