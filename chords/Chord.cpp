#include "chords/Chord.h"

#include "base/Messages.h"
#include "chords/NoteSpelling.h"

int QualityOfSuffix(const std::string& suffix) {
    for (int q = 0; q < kQualityCount; ++q) {
        if (suffix == kQualitySuffixes[q])
            return q;
    }
    return -1;
}

const char* SuffixOfQuality(int quality) {
    return quality >= 0 && quality < kQualityCount ? kQualitySuffixes[quality] : "";
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
    return std::string(NoteSpelling::InFamily(Pitch(root), accidental == 'b').Name()) + suffix;
}
