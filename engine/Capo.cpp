#include "engine/Capo.h"

#include <utility>

#include "engine/Tablature.h"

std::vector<CapoChoice> CapoChoices(const CTablature& song) {
    std::vector<CapoChoice> choices;
    for (int capo = 0; capo <= kHighestCapo; ++capo) {
        CapoChoice choice;
        choice.capo = capo;
        choice.shift = ShiftForCapo(capo);
        CTablature::ShiftedChords chords = song.ChordsAt(choice.shift);
        choice.shapes = std::move(chords.distinct);
        choice.score = chords.score;
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
