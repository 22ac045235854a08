#include "engine/Capo.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/Tablature.h"

namespace {

// The chords of a moved song as shapes: see CapoChoice::shapes.
std::vector<std::string> ShapesOf(const CTablature& song) {
    // Which table chords are played (not merely the base of a longer name),
    // by root pitch and quality, as the distinct list merges them.
    std::uint64_t played = 0;
    const auto bit = [](const CChord& chord) {
        return std::uint64_t{1} << (chord.root * kQualityCount + QualityOfSuffix(chord.suffix));
    };
    std::vector<std::string> longer;
    for (int i = 0; i < song.OccurrenceCount(); ++i) {
        if (song.IsBassAt(i) || song.IsFingeringAt(i))
            continue;
        if (!song.IsExtendedAt(i)) {
            played |= bit(song.ChordAt(i));
            continue;
        }
        std::string name = song.NameAt(i);
        if (std::find(longer.begin(), longer.end(), name) == longer.end())
            longer.push_back(std::move(name));
    }
    std::vector<std::string> shapes;
    for (int k = 0; k < song.distinctCount; ++k) {
        const CChord& chord = song.distinctChords[static_cast<std::size_t>(k)];
        if (played & bit(chord))
            shapes.push_back(chord.GetName());
    }
    shapes.insert(shapes.end(), longer.begin(), longer.end());
    return shapes;
}

} // namespace

std::vector<CapoChoice> CapoChoices(const CTablature& song) {
    // A guitarist names the shapes in the key they make, whatever spelling
    // the song is shown in.
    CTablature inKey = song;
    SongOptions options = song.Options();
    options.spelling = Spelling::Key;
    inKey.SetOptions(options);
    std::vector<CapoChoice> choices;
    for (int capo = 0; capo <= kHighestCapo; ++capo) {
        CapoChoice choice;
        choice.capo = capo;
        choice.shift = ShiftForCapo(capo);
        CTablature moved = inKey;
        moved.Transpose(choice.shift);
        choice.shapes = ShapesOf(moved);
        choice.score = moved.GetScore();
        choice.key = moved.Key();
        choices.push_back(std::move(choice));
    }
    return choices;
}

int BestCapo(const std::vector<CapoChoice>& choices) {
    int best = 0;
    for (std::size_t i = 1; i < choices.size(); ++i) {
        if (choices[i].score < choices[static_cast<std::size_t>(best)].score)
            best = static_cast<int>(i);
    }
    return choices.empty() ? 0 : choices[static_cast<std::size_t>(best)].capo;
}

std::string CapoText(const CapoChoice& choice, const std::string& soundingKey) {
    const std::string capo = choice.capo == 0 ? "No capo" : "Capo " + std::to_string(choice.capo);
    if (choice.key.empty() || soundingKey.empty())
        return capo;
    if (choice.capo == 0)
        return capo + ": play in " + soundingKey;
    return capo + ": play in " + choice.key + " shapes, sounds in " + soundingKey;
}

std::string CapoFileLine(const CapoChoice& choice, const std::string& soundingKey) {
    if (choice.capo == 0)
        return std::string();
    const std::string capo = "Capo " + std::to_string(choice.capo);
    if (choice.key.empty() || soundingKey.empty())
        return capo;
    return capo + ": shapes in " + choice.key + ", sounds in " + soundingKey + ".";
}
