#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "engine/ManualChords.h"
#include "engine/Shift.h"
#include "tests/support/CatalogLevelsGuard.h"

namespace {

// The song-list entry of a chord name.
int Song(const std::string& name) {
    return CChordCatalog::IndexOf(name) + 1;
}

} // namespace

// A flat song chord stays flat, a sharp one sharp, a natural one turns
// flat only for a flat reference (-1) chosen by the user.
TEST(ManualChords, SpellsTheTransposedChordAsItsSongChordAndItsReference) {
    const struct {
        const char* song;
        int shift, reference;
        const char* expected;
    } rows[] = {{"Db", 2, 0, "Eb"},    {"Eb", -2, 0, "Db"},       {"C", 1, 0, "C#"},   {"C", 3, -1, "Eb"},
                {"C", 3, 1, "D#"},     {"C#", 2, -1, "D#"},       {"A", -6, 0, "D#"},  {"B", 1, 0, "C"},
                {"C", -1, 0, "B"},     {"Bb", 11, 0, "A"},        {"C", -11, 0, "C#"}, {"Ebm7", -1, 0, "Dm7"},
                {"G#7", -1, -1, "G7"}, {"Gbmaj7", 4, 1, "Bbmaj7"}};
    for (const auto& row : rows) {
        const int t = manualchords::TransposedEntry(Song(row.song), row.shift, row.reference);
        const int quality = CChordCatalog::IndexOf(row.song) / CChordCatalog::kSpellingCount;
        EXPECT_EQ(theChordCatalog.GetAt(quality * CChordCatalog::kSpellingCount + t - 1).GetName(), row.expected)
            << row.song << " by " << row.shift << ", reference " << row.reference;
    }
    EXPECT_EQ(manualchords::TransposedEntry(0, 3, 0), 0);
    EXPECT_EQ(manualchords::AccidentalOf(Song("Gb")), -1);
    EXPECT_EQ(manualchords::AccidentalOf(Song("G#")), 1);
}

TEST(ManualChords, ShiftToAChosenChordWrapsAtSix) {
    const struct {
        const char *song, *chosen;
        int raw, wrapped;
    } rows[] = {{"C", "F#", 6, 6}, {"F#", "C", -6, -6}, {"C", "G", 7, -5}, {"B", "C", -11, 1}, {"Bbmaj7", "C#", -9, 3}};
    for (const auto& row : rows) {
        const int shift = manualchords::ShiftBetween(Song(row.song), Song(row.chosen));
        EXPECT_EQ(shift, row.raw) << row.song << " to " << row.chosen;
        EXPECT_EQ(WrapShift(shift), row.wrapped) << row.song << " to " << row.chosen;
    }
}

TEST(ManualChords, ScoreCountsTheShownChordsInTheSongChordsQuality) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetAllLevels(1);
    CCatalogLevelsGuard::SetLevel("Cm", 4);
    CCatalogLevelsGuard::SetLevel("Db7", 5);
    // Am shown as entry 1 is Cm, E7 shown as entry 3 is Db7; blank columns count nothing.
    EXPECT_EQ(manualchords::Score({Song("Am"), Song("E7"), 0, Song("G")}, {1, 3, 5, 0}), 4 + 5);
    EXPECT_EQ(manualchords::Score({Song("Am"), Song("E7")}, {1, 2}), 4 + 1);
}

TEST(ManualChords, EasiestShiftTakesTheLowestScoreAndTheFirstTriedOnTies) {
    const struct {
        std::vector<int> song;
        std::vector<const char*> easy; // level 1, every other chord level 5
        int expected;
    } rows[] = {{{Song("Em"), Song("A")}, {"Dm", "G"}, -2},
                // A tie goes to the reference moved lowest from C: A to C (+3), not A to D (+5).
                {{Song("A")}, {"D", "C"}, 3},
                // A natural chord moves to a sharp spelling, a flat one to a flat spelling.
                {{Song("C")}, {"Db"}, 0},
                {{Song("Eb")}, {"Db"}, -2},
                // The first filled column is the reference: D to C# (-1) ties with A to C# (+4).
                {{0, Song("D"), Song("A")}, {"C#"}, -1},
                {{0, 0}, {"C"}, 0}};
    for (const auto& row : rows) {
        CCatalogLevelsGuard levels;
        CCatalogLevelsGuard::SetAllLevels(5);
        for (const char* name : row.easy)
            CCatalogLevelsGuard::SetLevel(name, 1);
        EXPECT_EQ(manualchords::EasiestShift(row.song), row.expected) << "easy " << row.easy[0];
    }
}
