#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Tablature.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/TablatureInspection.h"

namespace {

// The shifts in the order the search tries them.
const int kTrialOrder[13] = {0, -1, 1, -2, 2, -3, 3, -4, 4, -5, 5, -6, 6};

// The score of every trial, each a fresh detection of the song moved by the shift.
std::vector<int> TrialScores(const std::string& song) {
    std::vector<int> scores;
    for (int shift : kTrialOrder) {
        CTablature trial;
        trial.Detect(song);
        trial.Transpose(shift);
        scores.push_back(trial.GetScore());
    }
    return scores;
}

void ExpectSameTablature(const CTablature& actual, const CTablature& expected) {
    EXPECT_EQ(actual.text, expected.text);
    EXPECT_EQ(OccurrencesOf(actual), OccurrencesOf(expected));
    EXPECT_EQ(DistinctNamesOf(actual), DistinctNamesOf(expected));
    EXPECT_EQ(actual.GetScore(), expected.GetScore());
}

} // namespace

TEST(Tablature, FindEasiestWalksTheTrialsOfFBbC) {
    CCatalogLevelsGuard levels;
    const std::string song = "F Bb C";
    // 0, -1, +1, -2, +2, -3, +3, -4, +4, -5, +5, -6, +6
    EXPECT_EQ(TrialScores(song), (std::vector<int>{10, 8, 13, 13, 6, 7, 12, 12, 5, 8, 13, 10, 10}));
    CTablature tablature;
    tablature.Detect(song);
    EXPECT_EQ(tablature.GetScore(), 10);
    EXPECT_EQ(tablature.FindEasiest(), 4);
    EXPECT_EQ(tablature.text, "A D E");
    EXPECT_EQ(tablature.GetScore(), 5);
}

TEST(Tablature, FindEasiestLeavesTheSongAsTransposeWould) {
    CCatalogLevelsGuard levels;
    for (const char* song : {"F Bb C", "Bb Eb F Cm", "C#m7 F#7 Bmaj7\nG#m", "Db C# Ebm7"}) {
        CTablature searched;
        searched.Detect(song);
        const int shift = searched.FindEasiest();
        CTablature expected;
        expected.Detect(song);
        expected.Transpose(shift);
        SCOPED_TRACE(song);
        ExpectSameTablature(searched, expected);
    }
}

TEST(Tablature, FindEasiestKeepsASongWithoutChords) {
    CCatalogLevelsGuard levels;
    CTablature tablature;
    tablature.Detect("la la la, Hm.");
    EXPECT_EQ(tablature.FindEasiest(), 0);
    EXPECT_EQ(tablature.text, "la la la, Hm.");
    EXPECT_EQ(tablature.GetScore(), 0);
}

TEST(Tablature, FindEasiestKeepsASongOfLevelOneChords) {
    CCatalogLevelsGuard levels;
    CTablature tablature;
    tablature.Detect("E Am");
    EXPECT_EQ(tablature.GetScore(), 2);
    EXPECT_EQ(tablature.FindEasiest(), 0);
    EXPECT_EQ(tablature.text, "E Am");
}

TEST(Tablature, FindEasiestPrefersTheDownwardShiftOnATie) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetAllLevels(5);
    CCatalogLevelsGuard::SetLevel("A#", 1); // C moved by -2, in the sharp family
    CCatalogLevelsGuard::SetLevel("D", 1);  // C moved by +2
    CTablature tablature;
    tablature.Detect("C");
    EXPECT_EQ(tablature.FindEasiest(), -2);
    EXPECT_EQ(tablature.text, "A#");
}

TEST(Tablature, FindEasiestNeverReturnsSixUp) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetAllLevels(5);
    CCatalogLevelsGuard::SetLevel("C", 1); // Gb moved by -6 and by +6
    CTablature tablature;
    tablature.Detect("Gb");
    EXPECT_EQ(tablature.FindEasiest(), -6);
    EXPECT_EQ(tablature.text, "C");
}

TEST(Tablature, FindEasiestReadsTheLevelsOfTheMoment) {
    CCatalogLevelsGuard levels;
    CTablature tablature;
    tablature.Detect("F Bb C");
    ASSERT_EQ(tablature.FindEasiest(), 4);
    // A D E is no longer easy once E is hard; G C D at +2 (3 + 1 + 2) wins.
    CCatalogLevelsGuard::SetLevel("E", 5);
    tablature.Detect("F Bb C");
    EXPECT_EQ(TrialScores("F Bb C"), (std::vector<int>{10, 12, 13, 13, 6, 7, 12, 12, 9, 8, 13, 14, 14}));
    EXPECT_EQ(tablature.FindEasiest(), 2);
    EXPECT_EQ(tablature.text, "G C D");
}

TEST(Tablature, ScoresBothSpellingsOfAChordOnceAtTheSharpLevel) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetLevel("C#", 2);
    CCatalogLevelsGuard::SetLevel("Db", 5);
    CTablature tablature;
    tablature.Detect("Db C#");
    EXPECT_EQ(tablature.GetScore(), 2);
    EXPECT_EQ(tablature.GetDistinctCount(), 1);
    // Moved by +1 both become D and are one chord there too.
    tablature.Transpose(1);
    EXPECT_EQ(tablature.text, "D D");
    EXPECT_EQ(tablature.GetDistinctCount(), 1);
    EXPECT_EQ(tablature.GetScore(), 2);
}
