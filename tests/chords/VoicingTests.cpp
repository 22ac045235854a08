#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "chords/Voicing.h"

namespace {

// Every suffix the wider chord grammar is known for, with its notes as a
// guitarist spells them over the root; a degree in brackets may be left out.
const std::vector<std::pair<std::string, std::string>> kSuffixes = {
    {"", "1 3 (5)"},
    {"m", "1 b3 (5)"},
    {"7", "1 3 (5) b7"},
    {"m7", "1 b3 (5) b7"},
    {"maj7", "1 3 (5) 7"},
    {"M7", "1 3 (5) 7"},
    {"min", "1 b3 (5)"},
    {"min7", "1 b3 (5) b7"},
    {"6", "1 3 (5) 6"},
    {"m6", "1 b3 (5) 6"},
    {"69", "1 3 (5) 6 9"},
    {"9", "1 3 (5) b7 9"},
    {"m9", "1 b3 (5) b7 9"},
    {"maj9", "1 3 (5) 7 9"},
    {"11", "1 3 (5) b7 (9) 11"},
    {"m11", "1 b3 (5) b7 (9) 11"},
    {"13", "1 3 (5) b7 (9) 13"},
    {"m13", "1 b3 (5) b7 (9) 13"},
    {"sus", "1 4 (5)"},
    {"sus2", "1 2 (5)"},
    {"sus4", "1 4 (5)"},
    {"7sus4", "1 4 (5) b7"},
    {"7sus2", "1 2 (5) b7"},
    {"9sus4", "1 4 (5) b7 9"},
    {"add9", "1 3 (5) 9"},
    {"madd9", "1 b3 (5) 9"},
    {"add11", "1 3 (5) 11"},
    {"(add9)", "1 3 (5) 9"},
    {"(m)", "1 b3 (5)"},
    {"m(add9)", "1 b3 (5) 9"},
    {"2", "1 2 3 (5)"},
    {"dim", "1 b3 b5"},
    {"dim7", "1 b3 b5 bb7"},
    {"aug", "1 3 #5"},
    {"+", "1 3 #5"},
    {"aug7", "1 3 #5 b7"},
    {"+7", "1 3 #5 b7"},
    {"m7b5", "1 b3 b5 b7"},
    {"7b5", "1 3 b5 b7"},
    {"7#5", "1 3 #5 b7"},
    {"7+", "1 3 #5 b7"},
    {"7b9", "1 3 (5) b7 b9"},
    {"7#9", "1 3 (5) b7 #9"},
    {"maj7#11", "1 3 (5) 7 #11"},
    {"mmaj7", "1 b3 (5) 7"},
    {"m(maj7)", "1 b3 (5) 7"},
    {"5", "1 5"},
};

// Half-tones above the root of each degree.
int Interval(const std::string& degree) {
    static const std::map<std::string, int> intervals = {
        {"1", 0},  {"b9", 1},  {"2", 2}, {"9", 2},  {"b3", 3}, {"#9", 3}, {"3", 4},   {"4", 5},   {"11", 5},
        {"b5", 6}, {"#11", 6}, {"5", 7}, {"#5", 8}, {"6", 9},  {"13", 9}, {"bb7", 9}, {"b7", 10}, {"7", 11}};
    return intervals.at(degree);
}

struct Expected {
    unsigned tones = 0;
    unsigned essential = 0;
};

Expected ExpectedTones(int root, const std::string& degrees) {
    Expected expected;
    std::istringstream words(degrees);
    for (std::string word; words >> word;) {
        const bool optional = word.front() == '(';
        const unsigned bit = PitchBit(root + Interval(optional ? word.substr(1, word.size() - 2) : word));
        expected.tones |= bit;
        expected.essential |= optional ? 0u : bit;
    }
    return expected;
}

struct Found {
    std::string name;
    ChordTones chord;
    Voicing first;
};

// The first fingering of every suffix at every root, found once for all tests.
const std::vector<Found>& FirstFingerings() {
    static const std::vector<Found> found = [] {
        std::vector<Found> all;
        for (const auto& [suffix, degrees] : kSuffixes) {
            for (int root = 0; root < 12; ++root) {
                const std::string name = std::to_string(root) + suffix;
                const std::optional<ChordTones> chord = ChordTonesOf(root, suffix);
                EXPECT_TRUE(chord) << name;
                const std::vector<Voicing> voicings = chord ? FindVoicings(*chord) : std::vector<Voicing>{};
                EXPECT_FALSE(voicings.empty()) << name;
                if (chord && !voicings.empty())
                    all.push_back({name + " " + FingeringText(voicings.front()), *chord, voicings.front()});
            }
        }
        return all;
    }();
    return found;
}

} // namespace

TEST(Voicing, SoundsEveryEssentialNoteOfTheChordAndNoOther) {
    for (const auto& [suffix, degrees] : kSuffixes) {
        for (int root = 0; root < 12; ++root) {
            const Expected expected = ExpectedTones(root, degrees);
            const std::optional<ChordTones> chord = ChordTonesOf(root, suffix);
            ASSERT_TRUE(chord) << suffix;
            EXPECT_EQ(chord->tones, expected.tones) << root << suffix;
            EXPECT_EQ(chord->essential, expected.essential) << root << suffix;
        }
    }
    for (const Found& f : FirstFingerings()) {
        const unsigned sounding = SoundingTones(f.first);
        EXPECT_EQ(sounding & ~f.chord.tones, 0u) << f.name;
        EXPECT_EQ(f.chord.essential & ~sounding, 0u) << f.name;
    }
}

TEST(Voicing, IsPlayableByOneHand) {
    for (const Found& f : FirstFingerings()) {
        const std::array<int, 6>& frets = f.first.frets;
        std::vector<int> fretted;
        std::copy_if(frets.begin(), frets.end(), std::back_inserter(fretted), [](int fret) { return fret > 0; });
        const int lowest = fretted.empty() ? 0 : *std::min_element(fretted.begin(), fretted.end());
        const int highest = fretted.empty() ? 0 : *std::max_element(fretted.begin(), fretted.end());
        EXPECT_LE(highest - lowest, 3) << f.name;
        // A barre lies over the lowest fret, from its first string to its last, all pressed.
        const auto first = std::find(frets.begin(), frets.end(), lowest);
        const auto last = std::find(frets.rbegin(), frets.rend(), lowest).base();
        const bool barre =
            lowest > 0 && last - first > 1 && std::all_of(first, last, [](int fret) { return fret > 0; });
        const long atLowest = std::count(first, last, lowest);
        EXPECT_LE(fretted.size() - (barre ? atLowest - 1 : 0), 4u) << f.name;
        EXPECT_EQ(FingersNeeded(f.first), static_cast<int>(fretted.size() - (barre ? atLowest - 1 : 0))) << f.name;
        // Between the outer sounding strings at most one is silent.
        const auto low = std::find_if(frets.begin(), frets.end(), [](int fret) { return fret >= 0; });
        const auto high = std::find_if(frets.rbegin(), frets.rend(), [](int fret) { return fret >= 0; }).base();
        EXPECT_LE(std::count(low, high, -1), 1) << f.name;
        EXPECT_GE(high - low - std::count(low, high, -1), 3) << f.name;
    }
}

TEST(Voicing, SoundsTheBassLowest) {
    for (const Found& f : FirstFingerings())
        EXPECT_EQ(LowestTone(f.first), f.chord.root) << f.name;
    // D/F#, C/E, G/B, Am/G, C/G, F/C, Em/D#.
    const std::vector<std::tuple<int, std::string, int>> slashChords = {
        {2, "", 6}, {0, "", 4}, {7, "", 11}, {9, "m", 7}, {0, "", 7}, {5, "", 0}, {4, "m", 3}};
    for (const auto& [root, suffix, bass] : slashChords) {
        const std::optional<ChordTones> chord = ChordTonesOf(root, suffix, bass);
        ASSERT_TRUE(chord);
        const std::vector<Voicing> voicings = FindVoicings(*chord);
        ASSERT_FALSE(voicings.empty()) << root << suffix << "/" << bass;
        EXPECT_EQ(LowestTone(voicings.front()), bass) << FingeringText(voicings.front());
        EXPECT_EQ(chord->essential & ~SoundingTones(voicings.front()), 0u) << FingeringText(voicings.front());
    }
}

TEST(Voicing, FirstChoiceSoundsTheTablesChordForAll85) {
    const CChordCatalog catalog;
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const CChord& chord = catalog.GetAt(i);
        const std::optional<ChordTones> tones = ChordTonesOf(chord.root, chord.suffix);
        ASSERT_TRUE(tones) << chord.GetName();
        const std::vector<Voicing> voicings = FindVoicings(*tones);
        ASSERT_FALSE(voicings.empty()) << chord.GetName();
        // The table's B7 lets the low E ring; only the chord's own notes compare.
        EXPECT_EQ(SoundingTones(voicings.front()), SoundingTones(VoicingOfChord(chord)) & tones->tones)
            << chord.GetName() << " " << FingeringText(voicings.front());
    }
}

TEST(Voicing, PrefersOpenStringsNearTheNut) {
    const std::vector<std::tuple<int, std::string, std::string>> common = {
        {2, "sus2", "xx0230"}, {7, "6", "320000"}, {9, "m7", "x02010"}, {0, "7", "x32310"},
        {4, "", "022100"},     {7, "", "320003"},  {2, "m7", "xx0211"}, {0, "aug", "x32110"}};
    for (const auto& [root, suffix, fingering] : common)
        EXPECT_EQ(FingeringText(FindVoicings(*ChordTonesOf(root, suffix)).front()), fingering) << root << suffix;
    EXPECT_EQ(FingeringText(Voicing{{-1, 10, 12, 12, 12, 10}}), "x-10-12-12-12-10");
}

TEST(Voicing, RefusesWhatIsNoChord) {
    for (const std::string suffix : {"3", "sus9", "add8", "b4", "maj8", "(x)", "(add9", "7#13", "mm", "dimx"})
        EXPECT_FALSE(ChordTonesOf(0, suffix)) << suffix;
    EXPECT_FALSE(ChordTonesOf(12, ""));
    EXPECT_FALSE(ChordTonesOf(0, "", -1));
}
