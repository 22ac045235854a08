#include <gtest/gtest.h>

#include <array>
#include <string>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"

namespace {

struct TableRow {
    const char* name;
    int root;
    char accidental;
    int defaultLevel;
    std::array<int, 6> frets;
    const char* position;
};

// The chord table as the guitarist's reference gives it, entry by entry.
const TableRow kTable[CChordCatalog::kSize] = {
    {"C", 0, '#', 1, {0, 1, 0, 2, 3, -1}, "1"},        // 0
    {"C#", 1, '#', 4, {1, 2, 1, 3, -1, -1}, "1"},      // 1
    {"Db", 1, 'b', 4, {1, 2, 1, 3, -1, -1}, "1"},      // 2
    {"D", 2, '#', 2, {2, 3, 2, 0, -1, -1}, "1"},       // 3
    {"D#", 3, '#', 4, {1, 2, 1, 3, -1, -1}, "3"},      // 4
    {"Eb", 3, 'b', 4, {1, 2, 1, 3, -1, -1}, "3"},      // 5
    {"E", 4, '#', 1, {0, 0, 1, 2, 2, 0}, "1"},         // 6
    {"F", 5, '#', 4, {1, 1, 2, 3, 3, 1}, "1"},         // 7
    {"F#", 6, '#', 4, {2, 2, 3, 4, 4, 2}, "1"},        // 8
    {"Gb", 6, 'b', 4, {2, 2, 3, 4, 4, 2}, "1"},        // 9
    {"G", 7, '#', 3, {3, 0, 0, 0, 2, 3}, "1"},         // 10
    {"G#", 8, '#', 4, {1, 1, 2, 3, 3, 1}, "4"},        // 11
    {"Ab", 8, 'b', 4, {1, 1, 2, 3, 3, 1}, "4"},        // 12
    {"A", 9, '#', 2, {0, 2, 2, 2, 0, -1}, "1"},        // 13
    {"A#", 10, '#', 5, {1, 3, 3, 3, 1, -1}, "1"},      // 14
    {"Bb", 10, 'b', 5, {1, 3, 3, 3, 1, -1}, "1"},      // 15
    {"B", 11, '#', 5, {2, 4, 4, 4, 2, -1}, "1"},       // 16
    {"Cm", 0, '#', 4, {1, 2, 3, 3, 1, -1}, "3"},       // 17
    {"C#m", 1, '#', 3, {0, 2, 1, 2, -1, -1}, "1"},     // 18
    {"Dbm", 1, 'b', 3, {0, 2, 1, 2, -1, -1}, "1"},     // 19
    {"Dm", 2, '#', 2, {1, 3, 2, 0, -1, -1}, "1"},      // 20
    {"D#m", 3, '#', 4, {2, 4, 3, 4, -1, -1}, "1"},     // 21
    {"Ebm", 3, 'b', 4, {2, 4, 3, 4, -1, -1}, "1"},     // 22
    {"Em", 4, '#', 1, {0, 0, 0, 2, 2, 0}, "1"},        // 23
    {"Fm", 5, '#', 4, {1, 1, 1, 3, 3, 1}, "1"},        // 24
    {"F#m", 6, '#', 4, {2, 2, 2, 4, 4, 2}, "1"},       // 25
    {"Gbm", 6, 'b', 4, {2, 2, 2, 4, 4, 2}, "1"},       // 26
    {"Gm", 7, '#', 4, {1, 1, 1, 3, 3, 1}, "3"},        // 27
    {"G#m", 8, '#', 4, {1, 1, 1, 3, 3, 1}, "4"},       // 28
    {"Abm", 8, 'b', 4, {1, 1, 1, 3, 3, 1}, "4"},       // 29
    {"Am", 9, '#', 1, {0, 1, 2, 2, 0, -1}, "1"},       // 30
    {"A#m", 10, '#', 4, {1, 2, 3, 3, 1, -1}, "1"},     // 31
    {"Bbm", 10, 'b', 4, {1, 2, 3, 3, 1, -1}, "1"},     // 32
    {"Bm", 11, '#', 4, {2, 3, 4, 4, 2, -1}, "1"},      // 33
    {"C7", 0, '#', 3, {0, 1, 3, 2, 3, 0}, "1"},        // 34
    {"C#7", 1, '#', 4, {4, 2, 4, 3, -1, -1}, "1"},     // 35
    {"Db7", 1, 'b', 4, {4, 2, 4, 3, -1, -1}, "1"},     // 36
    {"D7", 2, '#', 3, {2, 1, 2, 0, -1, -1}, "1"},      // 37
    {"D#7", 3, '#', 4, {3, 2, 3, 1, -1, -1}, "1"},     // 38
    {"Eb7", 3, 'b', 4, {3, 2, 3, 1, -1, -1}, "1"},     // 39
    {"E7", 4, '#', 3, {0, 3, 1, 2, 2, 0}, "1"},        // 40
    {"F7", 5, '#', 4, {1, 1, 2, 1, 3, 1}, "1"},        // 41
    {"F#7", 6, '#', 2, {0, 2, 3, 4, -1, -1}, "1"},     // 42
    {"Gb7", 6, 'b', 2, {0, 2, 3, 4, -1, -1}, "1"},     // 43
    {"G7", 7, '#', 3, {1, 0, 0, 0, 2, 3}, "1"},        // 44
    {"G#7", 8, '#', 3, {2, 1, 1, 1, -1, -1}, "1"},     // 45
    {"Ab7", 8, 'b', 3, {2, 1, 1, 1, -1, -1}, "1"},     // 46
    {"A7", 9, '#', 1, {0, 2, 0, 2, 0, -1}, "1"},       // 47
    {"A#7", 10, '#', 3, {2, 1, 1, 1, -1, -1}, "3"},    // 48
    {"Bb7", 10, 'b', 3, {2, 1, 1, 1, -1, -1}, "3"},    // 49
    {"B7", 11, '#', 5, {2, 0, 2, 1, 2, 0}, "1"},       // 50
    {"Cm7", 0, '#', 4, {1, 2, 1, 3, 1, -1}, "3"},      // 51
    {"C#m7", 1, '#', 5, {4, 2, 4, 2, -1, -1}, "1"},    // 52
    {"Dbm7", 1, 'b', 5, {4, 2, 4, 2, -1, -1}, "1"},    // 53
    {"Dm7", 2, '#', 2, {1, 1, 2, 0, -1, -1}, "1"},     // 54
    {"D#m7", 3, '#', 5, {2, 2, 3, 1, -1, -1}, "1"},    // 55
    {"Ebm7", 3, 'b', 5, {2, 2, 3, 1, -1, -1}, "1"},    // 56
    {"Em7", 4, '#', 3, {0, 3, 0, 2, 2, 0}, "1"},       // 57
    {"Fm7", 5, '#', 4, {1, 1, 1, 1, 3, 1}, "1"},       // 58
    {"F#m7", 6, '#', 2, {2, 2, 2, 2, -1, -1}, "1"},    // 59
    {"Gbm7", 6, 'b', 2, {2, 2, 2, 2, -1, -1}, "1"},    // 60
    {"Gm7", 7, '#', 4, {1, 1, 1, 1, 3, 1}, "3"},       // 61
    {"G#m7", 8, '#', 2, {1, 1, 1, 1, -1, -1}, "4"},    // 62
    {"Abm7", 8, 'b', 2, {1, 1, 1, 1, -1, -1}, "4"},    // 63
    {"Am7", 9, '#', 3, {3, 1, 2, 2, 0, -1}, "1"},      // 64
    {"A#m7", 10, '#', 4, {1, 2, 1, 3, 1, -1}, "1"},    // 65
    {"Bbm7", 10, 'b', 4, {1, 2, 1, 3, 1, -1}, "1"},    // 66
    {"Bm7", 11, '#', 4, {1, 2, 1, 3, 1, -1}, "2"},     // 67
    {"Cmaj7", 0, '#', 2, {0, 0, 0, 2, 3, -1}, "1"},    // 68
    {"C#maj7", 1, '#', 5, {1, 1, 1, 3, 4, -1}, "1"},   // 69
    {"Dbmaj7", 1, 'b', 5, {1, 1, 1, 3, 4, -1}, "1"},   // 70
    {"Dmaj7", 2, '#', 2, {2, 2, 2, 0, -1, -1}, "1"},   // 71
    {"D#maj7", 3, '#', 5, {3, 3, 3, 1, -1, -1}, "1"},  // 72
    {"Ebmaj7", 3, 'b', 5, {3, 3, 3, 1, -1, -1}, "1"},  // 73
    {"Emaj7", 4, '#', 3, {-1, 0, 1, 1, 2, 0}, "1"},    // 74
    {"Fmaj7", 5, '#', 4, {0, 1, 2, 3, 3, -1}, "1"},    // 75
    {"F#maj7", 6, '#', 4, {1, 2, 3, 4, -1, -1}, "1"},  // 76
    {"Gbmaj7", 6, 'b', 4, {1, 2, 3, 4, -1, -1}, "1"},  // 77
    {"Gmaj7", 7, '#', 4, {1, 2, 3, 4, -1, -1}, "2"},   // 78
    {"G#maj7", 8, '#', 4, {3, 1, 1, 1, -1, -1}, "1"},  // 79
    {"Abmaj7", 8, 'b', 4, {3, 1, 1, 1, -1, -1}, "1"},  // 80
    {"Amaj7", 9, '#', 3, {0, 2, 1, 2, 0, -1}, "1"},    // 81
    {"A#maj7", 10, '#', 5, {-1, 3, 2, 3, 1, -1}, "1"}, // 82
    {"Bbmaj7", 10, 'b', 5, {-1, 3, 2, 3, 1, -1}, "1"}, // 83
    {"Bmaj7", 11, '#', 5, {-1, 4, 3, 4, 2, -1}, "1"},  // 84
};

const char* const kSuffixes[kQualityCount] = {"", "m", "7", "m7", "maj7"};

} // namespace

TEST(ChordCatalog, HoldsEveryEntryOfTheTableInQualityMajorOrder) {
    const CChordCatalog catalog;
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const TableRow& row = kTable[i];
        const CChord& chord = catalog.GetAt(i);
        SCOPED_TRACE(std::to_string(i) + " " + row.name);
        EXPECT_EQ(chord.GetName(), row.name);
        EXPECT_EQ(chord.root, row.root);
        EXPECT_EQ(chord.accidental, row.accidental);
        EXPECT_EQ(chord.GetSuffix(), kSuffixes[i / CChordCatalog::kSpellingCount]);
        EXPECT_EQ(catalog.GetDefaultLevel(i), row.defaultLevel);
        EXPECT_EQ(chord.frets, row.frets);
        EXPECT_EQ(chord.position, row.position);
        // The name is the spelling of the row followed by the quality's suffix.
        EXPECT_EQ(row.name, rootSpellings[static_cast<std::size_t>(i % CChordCatalog::kSpellingCount)] +
                                kSuffixes[i / CChordCatalog::kSpellingCount]);
    }
}

TEST(ChordCatalog, NoteNameTablesSpellEachPitchClass) {
    const char* const sharp[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const char* const flat[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    for (std::size_t pc = 0; pc < 12; ++pc) {
        EXPECT_EQ(sharpNoteNames[pc], sharp[pc]) << pc;
        EXPECT_EQ(flatNoteNames[pc], flat[pc]) << pc;
    }
}

TEST(ChordCatalog, ConstructionGivesEveryChordLevelOneAndKeepsTheDefaultsAside) {
    const CChordCatalog catalog;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), 1) << i;
    EXPECT_EQ(catalog.GetDefaultLevel(10), 3); // G
    EXPECT_EQ(catalog.GetDefaultLevel(47), 1); // A7
    EXPECT_EQ(catalog.GetDefaultLevel(84), 5); // Bmaj7
}

TEST(ChordCatalog, FindsEveryEntryByItsOwnName) {
    CChordCatalog catalog;
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const std::string name = catalog.GetAt(i).GetName();
        EXPECT_EQ(catalog.Find(name), &catalog.GetAt(i)) << name;
        EXPECT_EQ(CChordCatalog::IndexOf(name), i) << name;
        const CChordCatalog& constCatalog = catalog;
        EXPECT_EQ(constCatalog.Find(name), &constCatalog.GetAt(i)) << name;
    }
}

TEST(ChordCatalog, FindKeepsEnharmonicSpellingsApart) {
    CChordCatalog catalog;
    const std::pair<const char*, int> cases[] = {
        {"C#", 1}, {"Db", 2}, {"Bmaj7", 84}, {"Bbmaj7", 83}, {"A#maj7", 82}, {"Amaj7", 81}, {"Abm7", 63}, {"C", 0},
    };
    for (const auto& [name, index] : cases)
        EXPECT_EQ(catalog.Find(name), &catalog.GetAt(index)) << name;
}

TEST(ChordCatalog, FindGivesNullForAnythingButAnExactName) {
    CChordCatalog catalog;
    for (const char* name : {"CMaj7", "cmaj7", " C",  "C ",   "H",   "",    "c",   "Cb",   "E#",    "Fb",  "B#",  "CM7",
                             "Cmin",  "C-",    "C/G", "Am7 ", "A#b", "Dbb", "C##", "Cmaj", "Cm7b5", "C\n", "maj7"}) {
        EXPECT_EQ(catalog.Find(name), nullptr) << '"' << name << '"';
        EXPECT_EQ(CChordCatalog::IndexOf(name), -1) << '"' << name << '"';
    }
    EXPECT_EQ(catalog.Find(std::string("C\0", 2)), nullptr);
}

TEST(ChordCatalog, FoundEntryIsTheTableEntryItself) {
    CChordCatalog catalog;
    catalog.Find("Am")->SetDifficulty(5);
    EXPECT_EQ(catalog.GetAt(30).GetDifficulty(), 5);
}

TEST(ChordCatalog, EnharmonicEntriesKeepSeparateLevels) {
    CChordCatalog catalog;
    catalog.GetAt(1).SetDifficulty(5);              // C#
    EXPECT_EQ(catalog.GetAt(2).GetDifficulty(), 1); // Db
    catalog.GetAt(2).SetDifficulty(3);
    EXPECT_EQ(catalog.GetAt(1).GetDifficulty(), 5);
}

TEST(ChordCatalog, ResetQualityChangesOnlyTheSeventeenEntriesOfThatQuality) {
    for (int quality = 0; quality < kQualityCount; ++quality) {
        CChordCatalog catalog;
        catalog.ResetQuality(quality);
        for (int i = 0; i < CChordCatalog::kSize; ++i) {
            const bool inQuality = i / CChordCatalog::kSpellingCount == quality;
            EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), inQuality ? kTable[i].defaultLevel : 1)
                << "quality " << quality << " index " << i;
        }
    }
}

TEST(ChordCatalog, ResetAllSetsEveryEntryToItsDefault) {
    CChordCatalog catalog;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        catalog.GetAt(i).SetDifficulty(5 - i % 5);
    catalog.ResetAll();
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), kTable[i].defaultLevel) << i;
}

TEST(ChordCatalog, CopyFromTakesEveryLevelAndLeavesTheSourceAlone) {
    CChordCatalog source;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        source.GetAt(i).SetDifficulty(1 + (i * 7) % 5);
    CChordCatalog target;
    target.ResetAll();
    target.CopyFrom(source);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        EXPECT_EQ(target.GetAt(i).GetDifficulty(), 1 + (i * 7) % 5) << i;
        EXPECT_EQ(target.GetAt(i).GetName(), kTable[i].name);
        EXPECT_EQ(target.GetAt(i).frets, kTable[i].frets);
        EXPECT_EQ(target.GetDefaultLevel(i), kTable[i].defaultLevel);
    }
    // The copy is a copy: changing it does not reach back.
    target.GetAt(0).SetDifficulty(5);
    target.ResetAll();
    EXPECT_EQ(source.GetAt(0).GetDifficulty(), 1);
    EXPECT_EQ(source.GetAt(84).GetDifficulty(), 1 + (84 * 7) % 5);
}
