#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "engine/Tablature.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/TablatureInspection.h"

TEST(Tablature, TransposesEveryDetectedChordAndNothingElse) {
    struct Case {
        const char* text;
        int shift;
        const char* expected;
    };
    const Case cases[] = {
        {"C G Am F", 2, "D A Bm G"},
        {"C G Am F", 1, "C# G# A#m F#"},
        {"Bb Eb F", 2, "C F G"},
        {"Db", 1, "D"},
        {"Db", -1, "C"},
        {"C#", 1, "D"},
        {"F", 6, "B"},
        {"F", -6, "B"},
        {"Gb", 6, "C"},
        {"C", -6, "F#"},
        {"Db", -6, "G"},
        {"C/G", 2, "D/A"},
        {"Am, G Am", 2, "Am, A Bm"},
        {"A man", 2, "B man"},
        {"Ebmaj7 C#m7 Bbm B7", 1, "Emaj7 Dm7 Bm C7"},
        {"Dbm7 Abmaj7", -2, "Bm7 Gbmaj7"},
        {"[Am] (G) {Em}\r\n<b>C</b>", -3, "[F#m] (E) {C#m}\r\n<b>A</b>"},
        {"Db C# Db", 12, "Db C# Db"},
        {"Db C# Db", -12, "Db C# Db"},
        {"Db C# Db", 0, "Db C# Db"},
        {"no chords here, Hm.", 5, "no chords here, Hm."},
        {"", 3, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TransposedText(c.text, c.shift), c.expected) << '"' << c.text << "\" by " << c.shift;
}

TEST(Tablature, TranspositionChangesTheTextLengthByTheNameLengths) {
    EXPECT_EQ(TransposedText("C G Am F", 1).size(), std::string("C G Am F").size() + 4);
    EXPECT_EQ(TransposedText("Bb Eb F", 2).size(), std::string("Bb Eb F").size() - 2);
}

TEST(Tablature, TranspositionDetectsAgainWithCurrentLevels) {
    CCatalogLevelsGuard levels;
    CTablature tablature;
    tablature.Detect("Am x");
    tablature.Transpose(2);
    EXPECT_EQ(OccurrencesOf(tablature), (std::vector<Occurrence>{{"Bm", 0}}));
    EXPECT_EQ(tablature.ChordAt(0).GetDifficulty(), 4);
    EXPECT_EQ(tablature.GetScore(), 4);
    EXPECT_EQ(DistinctNamesOf(tablature), std::vector<std::string>{"Bm"});
}

TEST(Tablature, TransposingASongWithoutChordsKeepsEveryByte) {
    std::string text;
    for (int b = 0; b < 256; ++b)
        text += static_cast<char>(b);
    CTablature tablature;
    tablature.Detect(text);
    tablature.Transpose(-5);
    EXPECT_EQ(tablature.text, text);
    EXPECT_EQ(tablature.OccurrenceCount(), 0);
    EXPECT_EQ(tablature.GetScore(), 0);
}

TEST(TransposeChord, MovesTheRootAndKeepsTheQualityAndTheSpellingFamily) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetLevel("D", 5);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const CChord& chord = theChordCatalog.GetAt(i);
        for (int shift = -12; shift <= 12; ++shift) {
            const CChord moved = TransposeChord(chord, shift);
            const std::string name = moved.GetName();
            SCOPED_TRACE(chord.GetName() + " by " + std::to_string(shift) + " gives " + name);
            EXPECT_EQ(moved.root, ((chord.root + shift) % 12 + 12) % 12);
            EXPECT_EQ(moved.GetSuffix(), chord.GetSuffix());
            const std::string root = name.substr(0, name.size() - chord.GetSuffix().size());
            const char otherFamily = chord.accidental == '#' ? 'b' : '#';
            EXPECT_EQ(root.find(otherFamily), std::string::npos);
            const CChord* entry = theChordCatalog.Find(name);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(moved.difficulty, entry->difficulty);
            EXPECT_EQ(moved.frets, entry->frets);
            EXPECT_EQ(moved.accidental, entry->accidental);
        }
    }
    EXPECT_EQ(TransposeChord(*theChordCatalog.Find("C"), 2).GetDifficulty(), 5);
}

TEST(TransposeChord, ByZeroCopiesTheChordAsItIs) {
    CChord chord;
    chord.Set(3, 'b', "m", 2);
    chord.SetFingering("7", 1, 2, 3, 4, 5, 6);
    const CChord same = TransposeChord(chord, 0);
    EXPECT_EQ(same.GetName(), "Ebm");
    EXPECT_EQ(same.difficulty, 2);
    EXPECT_EQ(same.position, "7");
    EXPECT_EQ(same.frets, chord.frets);
}
