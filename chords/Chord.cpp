#include "chords/Chord.h"

#include "base/Messages.h"
#include "chords/NoteNames.h"

namespace {

const char* const kSuffixes[kQualityCount] = {"", "m", "7", "m7", "maj7"};

} // namespace

const std::array<std::string, 12> sharpNoteNames = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const std::array<std::string, 12> flatNoteNames = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
const std::array<std::string, 17> rootSpellings = {"C",  "C#", "Db", "D",  "D#", "Eb", "E",  "F", "F#",
                                                   "Gb", "G",  "G#", "Ab", "A",  "A#", "Bb", "B"};

int QualityOfSuffix(const std::string& suffix) {
    for (int q = 0; q < kQualityCount; ++q) {
        if (suffix == kSuffixes[q])
            return q;
    }
    return -1;
}

const char* SuffixOfQuality(int quality) {
    return quality >= 0 && quality < kQualityCount ? kSuffixes[quality] : "";
}

void CChord::Set(int newRoot, char newAccidental, const std::string& newSuffix, int newDifficulty) {
    if (newRoot < 0 || newRoot > 11)
        FatalError("Error setting a chord : range incorrect\n");
    if (newAccidental != '#' && newAccidental != 'b')
        FatalError("Error setting a chord : diesebemol incorrect\n");
    if (QualityOfSuffix(newSuffix) < 0)
        FatalError("Error setting a chord : type incorrect\n");
    if (newDifficulty < 1 || newDifficulty > 5)
        FatalError("Error setting a chord : difficulty incorrect\n");
    root = newRoot;
    accidental = newAccidental;
    suffix = newSuffix;
    difficulty = newDifficulty;
}

void CChord::SetDifficulty(int level) {
    if (level < 1 || level > 5)
        FatalError("Error setting a difficulty : difficulty incorrect\n");
    difficulty = level;
}

void CChord::SetFingering(const std::string& newPosition, int string1, int string2, int string3, int string4,
                          int string5, int string6) {
    position = newPosition;
    frets = {string1, string2, string3, string4, string5, string6};
}

std::string CChord::GetName() const {
    const auto& names = accidental == '#' ? sharpNoteNames : flatNoteNames;
    return names[static_cast<std::size_t>(root)] + suffix;
}
