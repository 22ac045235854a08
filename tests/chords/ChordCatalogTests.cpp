#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "tests/support/TestFiles.h"

namespace {

struct TableRow {
    std::string name;
    int root = 0;
    char accidental = 0;
    int defaultLevel = 0;
    std::array<int, 6> frets{};
    std::string position;
};

// The chord table as the guitarist's reference gives it, entry by entry.
const std::vector<TableRow>& Table() {
    static const std::vector<TableRow> table = [] {
        std::vector<TableRow> rows;
        for (const std::string& line : ReadExpectedLines(QUAVERN_EXPECTED_DIR "/chord-table.txt")) {
            std::istringstream fields(line);
            TableRow row;
            fields >> row.name >> row.root >> row.accidental >> row.defaultLevel;
            for (int& fret : row.frets)
                fields >> fret;
            fields >> row.position;
            if (!fields)
                throw std::runtime_error("unreadable chord table line: " + line);
            rows.push_back(row);
        }
        return rows;
    }();
    return table;
}

// Row i of the table; a table too short for the catalog fails the test.
const TableRow& Row(int i) {
    return Table().at(static_cast<std::size_t>(i));
}

const char* const kSuffixes[kQualityCount] = {"", "m", "7", "m7", "maj7"};

} // namespace

TEST(ChordCatalog, HoldsEveryEntryOfTheTableInQualityMajorOrder) {
    const CChordCatalog catalog;
    ASSERT_EQ(Table().size(), std::size_t(CChordCatalog::kSize));
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const TableRow& row = Row(i);
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
            EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), inQuality ? Row(i).defaultLevel : 1)
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
        EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), Row(i).defaultLevel) << i;
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
        EXPECT_EQ(target.GetAt(i).GetName(), Row(i).name);
        EXPECT_EQ(target.GetAt(i).frets, Row(i).frets);
        EXPECT_EQ(target.GetDefaultLevel(i), Row(i).defaultLevel);
    }
    // The copy is a copy: changing it does not reach back.
    target.GetAt(0).SetDifficulty(5);
    target.ResetAll();
    EXPECT_EQ(source.GetAt(0).GetDifficulty(), 1);
    EXPECT_EQ(source.GetAt(84).GetDifficulty(), 1 + (84 * 7) % 5);
}
