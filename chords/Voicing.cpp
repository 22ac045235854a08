#include "chords/Voicing.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int kStrings = 6;
// Pitch classes of the open strings, low E to high E.
constexpr std::array<int, kStrings> kOpenTones = {4, 9, 2, 7, 11, 4};
// A hand spans four frets: the lowest fretted fret and three above it.
constexpr int kSpan = 3;
constexpr int kMaxFingers = 4;
constexpr int kMinStrings = 3;
// The lowest fretted fret a fingering may start at: the twelfth fret
// repeats the nut an octave up.
constexpr int kHighestStart = 12;

int ToneAt(int string, int fret) {
    return (kOpenTones[static_cast<std::size_t>(string)] + fret) % 12;
}

struct Measure {
    int lowestFret = 0; // 0 when nothing is fretted
    int highestFret = 0;
    int open = 0;
    int sounding = 0;
    int innerSilent = 0;
    bool innerSilentTouched = true;
};

Measure MeasureOf(const Voicing& voicing) {
    Measure m;
    int first = -1;
    int last = -1;
    for (int s = 0; s < kStrings; ++s) {
        const int fret = voicing.frets[static_cast<std::size_t>(s)];
        if (fret < 0)
            continue;
        first = first < 0 ? s : first;
        last = s;
        ++m.sounding;
        if (fret == 0) {
            ++m.open;
        } else {
            m.lowestFret = m.lowestFret == 0 ? fret : std::min(m.lowestFret, fret);
            m.highestFret = std::max(m.highestFret, fret);
        }
    }
    for (int s = first + 1; s < last; ++s) {
        if (voicing.frets[static_cast<std::size_t>(s)] >= 0)
            continue;
        ++m.innerSilent;
        // A silent string is damped by the finger of the string beside it.
        if (voicing.frets[static_cast<std::size_t>(s - 1)] <= 0 && voicing.frets[static_cast<std::size_t>(s + 1)] <= 0)
            m.innerSilentTouched = false;
    }
    return m;
}

// Lower is better, in the order of the ranking.
using RankKey = std::tuple<int, int, int, int, int, int, std::array<int, kStrings>>;

RankKey RankOf(const Voicing& voicing, const Measure& m, const ChordTones& chord) {
    // Near the nut every fingering counts as the first position, so that
    // open strings decide there.
    const int position = m.highestFret <= kSpan + 1 ? 0 : m.lowestFret;
    const int missing = __builtin_popcount(chord.tones & ~SoundingTones(voicing));
    return {position, m.innerSilent, missing, -m.open, -m.sounding, FingersNeeded(voicing), voicing.frets};
}

struct Search {
    const ChordTones& chord;
    int start;
    Voicing voicing;
    std::vector<std::pair<RankKey, Voicing>> found;

    void Consider() {
        const Measure m = MeasureOf(voicing);
        // Each fingering is met once: at the start of its lowest fretted fret.
        if (m.lowestFret != start && !(m.lowestFret == 0 && start == 1))
            return;
        if (m.sounding < kMinStrings || m.innerSilent > 1 || !m.innerSilentTouched)
            return;
        if (LowestTone(voicing) != chord.bass || (chord.essential & ~SoundingTones(voicing)) != 0)
            return;
        if (FingersNeeded(voicing) > kMaxFingers)
            return;
        found.emplace_back(RankOf(voicing, m, chord), voicing);
    }

    void Fill(int string) {
        if (string == kStrings) {
            Consider();
            return;
        }
        int& fret = voicing.frets[static_cast<std::size_t>(string)];
        fret = -1;
        Fill(string + 1);
        if (chord.tones & PitchBit(ToneAt(string, 0))) {
            fret = 0;
            Fill(string + 1);
        }
        for (int f = start; f <= start + kSpan; ++f) {
            if (chord.tones & PitchBit(ToneAt(string, f))) {
                fret = f;
                Fill(string + 1);
            }
        }
        fret = -1;
    }
};

} // namespace

std::vector<Voicing> FindVoicings(const ChordTones& chord) {
    std::vector<std::pair<RankKey, Voicing>> found;
    for (int start = 1; start <= kHighestStart; ++start) {
        Search search{chord, start, Voicing{}, {}};
        search.Fill(0);
        found.insert(found.end(), search.found.begin(), search.found.end());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Voicing> voicings;
    voicings.reserve(found.size());
    for (const auto& entry : found)
        voicings.push_back(entry.second);
    return voicings;
}

unsigned SoundingTones(const Voicing& voicing) {
    unsigned tones = 0;
    for (int s = 0; s < kStrings; ++s) {
        const int fret = voicing.frets[static_cast<std::size_t>(s)];
        if (fret >= 0)
            tones |= PitchBit(ToneAt(s, fret));
    }
    return tones;
}

int LowestTone(const Voicing& voicing) {
    for (int s = 0; s < kStrings; ++s) {
        const int fret = voicing.frets[static_cast<std::size_t>(s)];
        if (fret >= 0)
            return ToneAt(s, fret);
    }
    return -1;
}

int FingersNeeded(const Voicing& voicing) {
    const Measure m = MeasureOf(voicing);
    int fretted = 0;
    int atLowest = 0;
    int barreFrom = -1;
    int barreTo = -1;
    for (int s = 0; s < kStrings; ++s) {
        const int fret = voicing.frets[static_cast<std::size_t>(s)];
        if (fret > 0)
            ++fretted;
        if (fret > 0 && fret == m.lowestFret) {
            ++atLowest;
            barreFrom = barreFrom < 0 ? s : barreFrom;
            barreTo = s;
        }
    }
    if (atLowest < 2)
        return fretted;
    // A barre presses every string it lies across: none of them may be open
    // or silent.
    for (int s = barreFrom; s <= barreTo; ++s) {
        if (voicing.frets[static_cast<std::size_t>(s)] <= 0)
            return fretted;
    }
    return fretted - atLowest + 1;
}

std::string FingeringText(const Voicing& voicing) {
    const bool wide = std::any_of(voicing.frets.begin(), voicing.frets.end(), [](int fret) { return fret > 9; });
    std::string text;
    for (const int fret : voicing.frets) {
        if (wide && !text.empty())
            text += '-';
        text += fret < 0 ? std::string("x") : std::to_string(fret);
    }
    return text;
}

Voicing VoicingOfChord(const CChord& chord) {
    const int firstFret = std::stoi(chord.position);
    Voicing voicing;
    for (int s = 0; s < kStrings; ++s) {
        // The chord keeps string 1 (high E) first and rows counted from its position.
        const int row = chord.frets[static_cast<std::size_t>(kStrings - 1 - s)];
        voicing.frets[static_cast<std::size_t>(s)] = row <= 0 ? row : firstFret + row - 1;
    }
    return voicing;
}
