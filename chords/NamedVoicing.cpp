#include "chords/NamedVoicing.h"

#include <algorithm>

#include "chords/ChordCatalog.h"
#include "chords/ChordName.h"
#include "chords/NoteNames.h"

namespace {

constexpr int kStrings = 6;
// The diagram's fret columns.
constexpr int kDiagramFrets = 4;

// The pitch class of the longest root spelling the text starts with, and
// its length: E#, B#, Fb and Cb as the white keys they sound, but where the
// sign alters the letter's chord (E#9, Cb5).
std::optional<int> ReadRoot(const std::string& text, std::size_t& length) {
    static const int kLetterTones[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    std::optional<int> root;
    length = 0;
    for (const std::string& spelling : rootSpellings) {
        if (spelling.size() > length && text.compare(0, spelling.size(), spelling) == 0) {
            const int accidental = spelling.size() == 1 ? 0 : spelling[1] == '#' ? 1 : -1;
            root = (kLetterTones[spelling[0] - 'A'] + accidental + 12) % 12;
            length = spelling.size();
        }
    }
    if (length == 1 && text.size() > 1 && !chordgrammar::IsAlteredNumberAt(text.data(), text.size(), 2)) {
        const int white =
            chordnotation::SignedWhiteKey(Notation::AsWritten, static_cast<unsigned>(text[0] - 'A'), text[1]);
        if (white >= 0) {
            root = NoteSpelling::AtIndex(white).GetPitch().Value();
            length = 2;
        }
    }
    return root;
}

} // namespace

std::optional<ChordTones> ChordTonesOfName(const std::string& name) {
    std::size_t rootLength = 0;
    const std::optional<int> root = ReadRoot(name, rootLength);
    if (!root)
        return std::nullopt;
    const std::size_t slash = name.find('/', rootLength);
    std::optional<int> bass;
    if (slash != std::string::npos) {
        std::size_t bassLength = 0;
        const std::string bassName = name.substr(slash + 1);
        bass = ReadRoot(bassName, bassLength);
        if (!bass || bassLength != bassName.size())
            return std::nullopt;
    }
    return ChordTonesOf(*root, name.substr(rootLength, slash - rootLength), bass);
}

std::optional<std::string> NameInTableLetters(const std::string& name, Notation notation) {
    const std::size_t slash = name.find('/');
    const std::string chord = name.substr(0, slash);
    const std::optional<ChordMatch> match = ChordName::Read(chord, true, notation);
    if (!match || match->length != chord.size())
        return std::nullopt;
    std::string suffix = chord.substr(match->rootLength);
    if (const std::size_t minor = chordnotation::MinorWordAt(suffix.data(), suffix.size(), 0, notation))
        suffix.replace(0, minor, "m");
    std::string written = std::string(match->Root().Name()) + suffix;
    if (slash != std::string::npos) {
        const std::string bass = name.substr(slash + 1);
        const std::optional<ChordMatch> note = ChordName::Read(bass, false, notation);
        if (!note || note->length != bass.size() || note->Quality() != Major)
            return std::nullopt;
        written += '/' + std::string(note->Root().Name());
    }
    return written;
}

std::optional<Voicing> VoicingOfName(const std::string& name) {
    if (const CChord* chord = theChordCatalog.Find(name))
        return VoicingOfChord(*chord);
    const std::optional<ChordTones> tones = ChordTonesOfName(name);
    if (!tones)
        return std::nullopt;
    const std::vector<Voicing> voicings = FindVoicings(*tones);
    if (voicings.empty())
        return std::nullopt;
    return voicings.front();
}

CChord DiagramChordOf(const Voicing& voicing) {
    int lowest = 0;
    int highest = 0;
    for (const int fret : voicing.frets) {
        if (fret > 0) {
            lowest = lowest == 0 ? fret : std::min(lowest, fret);
            highest = std::max(highest, fret);
        }
    }
    const int firstFret = highest <= kDiagramFrets ? 1 : lowest;
    CChord chord;
    chord.position = std::to_string(firstFret);
    for (int s = 0; s < kStrings; ++s) {
        // The diagram keeps string 1 (high E) first.
        const int fret = voicing.frets[static_cast<std::size_t>(kStrings - 1 - s)];
        chord.frets[static_cast<std::size_t>(s)] = fret <= 0 ? fret : fret - firstFret + 1;
    }
    return chord;
}
