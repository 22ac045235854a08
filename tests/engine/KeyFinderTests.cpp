#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/KeyFinder.h"

namespace {

// The pitch class of the root a name starts with, and how long it is.
std::pair<int, std::size_t> RootOf(const std::string& name) {
    static const int natural[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    int pitch = natural[name[0] - 'A'];
    std::size_t length = 1;
    if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
        pitch += name[1] == '#' ? 1 : -1;
        length = 2;
    }
    return {(pitch + 12) % 12, length};
}

// "C G/B Am" as the key finder reads it; a slash adds its bass note.
void AddChords(std::vector<KeyChord>& chords, const std::string& words, bool onChordLine) {
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        const std::size_t slash = word.find('/');
        const auto [root, length] = RootOf(word);
        chords.push_back({root, ChordKindOfSuffix(word.substr(length, slash - length)), false, onChordLine});
        if (slash != std::string::npos)
            chords.push_back({RootOf(word.substr(slash + 1)).first, ChordKind::Major, true, onChordLine});
    }
}

} // namespace

TEST(KeyFinder, ReadsTheKindOfAChordFromItsSuffix) {
    const std::vector<std::pair<const char*, ChordKind>> cases = {
        {"", ChordKind::Major},
        {"maj7", ChordKind::Major},
        {"6", ChordKind::Major},
        {"add9", ChordKind::Major},
        {"2", ChordKind::Major},
        {"(maj7)", ChordKind::Major},
        {"m", ChordKind::Minor},
        {"mi", ChordKind::Minor},
        {"m7", ChordKind::Minor},
        {"m6", ChordKind::Minor},
        {"7", ChordKind::Dominant7},
        {"9", ChordKind::Dominant7},
        {"7sus4", ChordKind::Dominant7},
        {"13", ChordKind::Dominant7},
        {"dim", ChordKind::Diminished},
        {"dim7", ChordKind::Diminished},
        {"m7b5", ChordKind::Diminished},
        {"sus4", ChordKind::Other},
        {"sus2", ChordKind::Other},
        {"+", ChordKind::Other},
        {"5", ChordKind::Other},
        {"-", ChordKind::Minor},
        {"-7", ChordKind::Minor},
        {"mMaj7", ChordKind::Minor},
        {"m(maj7)", ChordKind::Minor},
        {"(m7b5)", ChordKind::Diminished},
        {"o7", ChordKind::Diminished},
        {"\xC2\xB0", ChordKind::Diminished},
        {"m7-5", ChordKind::Diminished},
        {"M7", ChordKind::Major},
        {"11", ChordKind::Dominant7},
        {"aug", ChordKind::Other},
        {"(sus4)", ChordKind::Other},
        // Near misses of a prefix read as a major triad with a colour.
        {"d", ChordKind::Major},
        {"1", ChordKind::Major},
        {"s", ChordKind::Major},
        {"a", ChordKind::Major},
        {"\xC2", ChordKind::Major},
    };
    for (const auto& [suffix, kind] : cases)
        EXPECT_EQ(ChordKindOfSuffix(suffix), kind) << "suffix \"" << suffix << "\"";
}

TEST(KeyFinder, FindsTheKeyOfShortProgressions) {
    struct Case {
        const char* offChordLines; // a title, prose or a legend before the song
        const char* song;
        const char* key;
    };
    const std::vector<Case> cases = {
        {"", "C F G7 C", "C"},
        {"", "G C D7 G", "G"},
        {"", "D G A7 D", "D"},
        {"", "Bb Eb F7 Bb", "Bb"},
        {"", "C Am F G C", "C"},
        {"", "Am Dm E7 Am", "Am"},
        {"", "Em Am B7 Em", "Em"},
        {"", "F#m D E C#7 F#m", "F#m"},
        {"", "Am G F E7 Am", "Am"},
        {"", "Am F C G Am", "Am"},
        {"", "Dm C Bb A7 Dm", "Dm"},
        {"", "C A7 Dm G7 C", "C"}, // secondary dominant
        {"", "C Bb F C", "C"},     // borrowed bVII
        {"", "G Cm G D7 G", "G"},  // borrowed iv
        {"", "A C G A", "A"},      // borrowed bIII and bVII
        {"", "E G A B7 E", "E"},
        {"", "A7 D G A7 D", "D"}, // a pick-up on the dominant
        {"", "C G/B Am Em/G F C/E G7 C", "C"},
        // A progression written out once stops where its turn ends.
        {"", "C G Am F", "C"},
        {"", "Am F C G", "Am"},
        {"", "G D Em C", "G"},
        {"", "D A Bm G", "D"},
        {"", "Am G F E", "Am"},         // down to the major V
        {"", "Dm Bb C A7", "Dm"},       // on its dominant seventh
        {"", "C Fm C G", "C"},          // borrowed iv
        {"A C", "C G Am F G C", "C"},   // "A Thousand Years (in C)"
        {"Abdim", "Am Dm E7 Am", "Am"}, // "Abdim (xx0101)"
    };
    for (const Case& c : cases) {
        std::vector<KeyChord> chords;
        AddChords(chords, c.offChordLines, false);
        AddChords(chords, c.song, true);
        const std::optional<KeyGuess> guess = CKeyFinder::Find(chords);
        ASSERT_TRUE(guess) << c.song;
        const std::string key(c.key);
        const bool minor = key.back() == 'm';
        EXPECT_EQ(guess->key, (MusicalKey{RootOf(key).first, minor})) << c.song << " is in " << c.key;
        EXPECT_GT(guess->margin, 0) << c.song;
    }
}

TEST(KeyFinder, FindsNoKeyWithoutChords) {
    EXPECT_FALSE(CKeyFinder::Find({}));
    EXPECT_FALSE(CKeyFinder::Find({{7, ChordKind::Major, true, true}}));
}
