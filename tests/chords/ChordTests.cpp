#include <gtest/gtest.h>

#include <array>
#include <string>

#include "chords/Chord.h"

namespace {

const std::array<int, 6> kNoFrets{-1, -1, -1, -1, -1, -1};

} // namespace

TEST(Chord, DefaultIsUnplayedCAtLevelOne) {
    const CChord chord;
    EXPECT_EQ(chord.GetName(), "C");
    EXPECT_EQ(chord.GetDifficulty(), 1);
    EXPECT_EQ(chord.frets, kNoFrets);
    EXPECT_EQ(chord.position, "1");
    EXPECT_EQ(chord.accidental, '#');
    EXPECT_EQ(chord.GetSuffix(), "");
}

TEST(Chord, NameIsRootInItsOwnFamilyFollowedBySuffix) {
    struct Case {
        int root;
        char accidental;
        const char* suffix;
        const char* name;
    };
    const Case cases[] = {
        {1, '#', "", "C#"},         {1, 'b', "", "Db"},         {0, '#', "", "C"},   {0, 'b', "", "C"},
        {11, 'b', "", "B"},         {10, 'b', "", "Bb"},        {10, '#', "", "A#"}, {1, '#', "m", "C#m"},
        {1, 'b', "m7", "Dbm7"},     {3, 'b', "maj7", "Ebmaj7"}, {9, '#', "7", "A7"}, {6, 'b', "m", "Gbm"},
        {8, '#', "maj7", "G#maj7"}, {4, 'b', "m7", "Em7"},
    };
    for (const Case& c : cases) {
        CChord chord;
        chord.Set(c.root, c.accidental, c.suffix, 3);
        EXPECT_EQ(chord.GetName(), c.name) << c.root << c.accidental << c.suffix;
        EXPECT_EQ(chord.GetSuffix(), c.suffix);
        EXPECT_EQ(chord.GetDifficulty(), 3);
    }
}

TEST(Chord, SetDifficultyAcceptsEveryLevelFromOneToFive) {
    CChord chord;
    for (int level = 1; level <= 5; ++level) {
        chord.SetDifficulty(level);
        EXPECT_EQ(chord.GetDifficulty(), level);
    }
}

TEST(Chord, SetFingeringStoresValuesWithoutChecks) {
    CChord chord;
    chord.SetFingering("12", -1, 0, 7, 99, -5, 3);
    EXPECT_EQ(chord.position, "12");
    const std::array<int, 6> expected{-1, 0, 7, 99, -5, 3};
    EXPECT_EQ(chord.frets, expected);
}

TEST(Chord, CopyIsIndependentOfTheOriginal) {
    CChord original;
    original.Set(3, 'b', "m7", 4);
    original.SetFingering("3", 1, 2, 3, 4, 5, 6);
    CChord copy = original;
    copy.SetDifficulty(2);
    copy.suffix += "x";
    copy.position = "9";
    EXPECT_EQ(original.GetName(), "Ebm7");
    EXPECT_EQ(original.GetDifficulty(), 4);
    EXPECT_EQ(original.position, "3");
}

TEST(Chord, QualityOfSuffixMatchesExactlyTheFiveSuffixes) {
    EXPECT_EQ(QualityOfSuffix(""), Major);
    EXPECT_EQ(QualityOfSuffix("m"), Minor);
    EXPECT_EQ(QualityOfSuffix("7"), Seventh);
    EXPECT_EQ(QualityOfSuffix("m7"), MinorSeventh);
    EXPECT_EQ(QualityOfSuffix("maj7"), MajorSeventh);
    for (const char* other : {"M7", "Maj7", "maj", "M", "min", " m", "m ", "7m", "-"})
        EXPECT_EQ(QualityOfSuffix(other), -1) << other;
}

// The fatal paths end the process: the default sink writes the message to
// standard error, then the program exits with status 1.
TEST(ChordDeathTest, SetDifficultyOutsideOneToFiveEndsTheProgram) {
    for (int level : {0, 6, -1, 100}) {
        CChord chord;
        EXPECT_EXIT(chord.SetDifficulty(level), testing::ExitedWithCode(1),
                    "^Error setting a difficulty : difficulty incorrect\n$")
            << level;
    }
}

TEST(ChordDeathTest, SetReportsTheFirstFailedCheckInOrder) {
    struct Case {
        int root;
        char accidental;
        const char* suffix;
        int difficulty;
        const char* message;
    };
    const Case cases[] = {
        {12, 'x', "M7", 9, "^Error setting a chord : range incorrect\n$"},
        {-1, '#', "", 1, "^Error setting a chord : range incorrect\n$"},
        {0, 'x', "M7", 9, "^Error setting a chord : diesebemol incorrect\n$"},
        {0, 'B', "", 1, "^Error setting a chord : diesebemol incorrect\n$"},
        {0, '#', "M7", 9, "^Error setting a chord : type incorrect\n$"},
        {11, 'b', "Maj7", 1, "^Error setting a chord : type incorrect\n$"},
        {0, '#', "maj7", 0, "^Error setting a chord : difficulty incorrect\n$"},
        {11, 'b', "m7", 6, "^Error setting a chord : difficulty incorrect\n$"},
    };
    for (const Case& c : cases) {
        CChord chord;
        EXPECT_EXIT(chord.Set(c.root, c.accidental, c.suffix, c.difficulty), testing::ExitedWithCode(1), c.message)
            << c.root << " " << c.accidental << " " << c.suffix << " " << c.difficulty;
    }
}
