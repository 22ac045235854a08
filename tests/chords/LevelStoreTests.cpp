#include <gtest/gtest.h>

#include <string>

#include "base/SettingsStore.h"
#include "chords/ChordCatalog.h"
#include "tests/support/CatalogLevelsGuard.h"

namespace {

// Sets every level of a table to a value no default has, so a load that
// leaves a chord alone shows.
void Scramble(CChordCatalog& catalog) {
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        catalog.GetAt(i).SetDifficulty(i % 2 == 0 ? 5 : 4);
}

} // namespace

TEST(LevelStore, ValueNamesCarryQualityAndSpellingFromZero) {
    EXPECT_EQ(CChordCatalog::LevelValueName(0, 0), "ZDifficultyLevel.0.0");
    EXPECT_EQ(CChordCatalog::LevelValueName(1, 13), "ZDifficultyLevel.1.13");
    EXPECT_EQ(CChordCatalog::LevelValueName(4, 16), "ZDifficultyLevel.4.16");
    EXPECT_EQ(CChordCatalog::LevelValueName(2, 5), "ZDifficultyLevel.2.5");
}

TEST(LevelStore, EmptyStoreGivesEveryChordItsDefault) {
    CMemorySettingsStore store;
    CChordCatalog catalog;
    Scramble(catalog);
    catalog.LoadLevels(store);
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), catalog.GetDefaultLevel(i)) << i;
    EXPECT_EQ(catalog.Find("G")->GetDifficulty(), 3);
    EXPECT_EQ(catalog.Find("Am")->GetDifficulty(), 1);
    EXPECT_EQ(catalog.Find("Bmaj7")->GetDifficulty(), 5);
    EXPECT_EQ(store.Size(), 0u) << "loading writes nothing";
}

TEST(LevelStore, SaveWritesAllEightyFiveValuesEvenAtTheirDefaults) {
    CMemorySettingsStore store;
    CChordCatalog catalog;
    catalog.ResetAll();
    catalog.SaveLevels(store);
    EXPECT_EQ(store.Size(), 85u);
    for (int q = 0; q < kQualityCount; ++q) {
        for (int s = 0; s < CChordCatalog::kSpellingCount; ++s) {
            const std::string name = CChordCatalog::LevelValueName(q, s);
            ASSERT_TRUE(store.Contains(kSettingsSection, name)) << name;
            EXPECT_EQ(store.GetInt(kSettingsSection, name, -99), catalog.GetDefaultLevel(q * 17 + s)) << name;
        }
    }
}

TEST(LevelStore, StoredLevelChangesOnlyItsOwnChord) {
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, "ZDifficultyLevel.0.10", 5); // G
    store.WriteInt(kSettingsSection, "ZDifficultyLevel.0.11", 2); // G#
    CChordCatalog catalog;
    catalog.LoadLevels(store);
    EXPECT_EQ(catalog.GetAt(10).GetDifficulty(), 5);
    EXPECT_EQ(catalog.GetAt(11).GetDifficulty(), 2);
    EXPECT_EQ(catalog.GetAt(12).GetDifficulty(), 4) << "Ab keeps its own value";
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        if (i != 10 && i != 11) {
            EXPECT_EQ(catalog.GetAt(i).GetDifficulty(), catalog.GetDefaultLevel(i)) << i;
        }
    }
}

TEST(LevelStore, ValueThatIsNoIntegerGivesTheDefault) {
    for (const char* text : {"", "abc", "3x", "2.5", "x3", "99999999999999999999"}) {
        CMemorySettingsStore store;
        store.WriteString(kSettingsSection, "ZDifficultyLevel.1.13", text); // Am, default 1
        store.WriteString(kSettingsSection, "ZDifficultyLevel.4.16", text); // Bmaj7, default 5
        CChordCatalog catalog;
        Scramble(catalog);
        catalog.LoadLevels(store);
        EXPECT_EQ(catalog.GetAt(30).GetDifficulty(), 1) << '"' << text << '"';
        EXPECT_EQ(catalog.GetAt(84).GetDifficulty(), 5) << '"' << text << '"';
    }
}

TEST(LevelStore, ValuesInAnotherSectionAreNotRead) {
    CMemorySettingsStore store;
    store.WriteInt("Other", "ZDifficultyLevel.0.0", 5);
    CChordCatalog catalog;
    catalog.LoadLevels(store);
    EXPECT_EQ(catalog.GetAt(0).GetDifficulty(), 1);
}

TEST(LevelStore, SavedLevelsLoadBackUnchanged) {
    CMemorySettingsStore store;
    CChordCatalog saved;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        saved.GetAt(i).SetDifficulty(1 + (i * 3) % 5);
    saved.SaveLevels(store);
    CChordCatalog loaded;
    loaded.LoadLevels(store);
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        EXPECT_EQ(loaded.GetAt(i).GetDifficulty(), 1 + (i * 3) % 5) << i;
}

TEST(LevelStore, ProgramTableUsesTheInstalledStore) {
    CCatalogLevelsGuard levels;
    CMemorySettingsStore store;
    SetProfileStore(&store);
    store.WriteInt(kSettingsSection, "ZDifficultyLevel.1.13", 4);
    theChordCatalog.LoadLevels();
    EXPECT_EQ(theChordCatalog.Find("Am")->GetDifficulty(), 4);
    store.Clear();
    theChordCatalog.SaveLevels();
    EXPECT_EQ(store.Size(), 85u);
    EXPECT_EQ(store.GetInt(kSettingsSection, "ZDifficultyLevel.1.13", -1), 4);
    SetProfileStore(nullptr);
    EXPECT_NE(&GetProfileStore(), &store);
}

TEST(LevelStoreDeathTest, StoredLevelOutsideOneToFiveEndsTheProgram) {
    struct Case {
        const char* name;
        int value;
    };
    const Case cases[] = {
        {"ZDifficultyLevel.0.0", 6},  {"ZDifficultyLevel.1.13", 0}, {"ZDifficultyLevel.4.16", 7},
        {"ZDifficultyLevel.2.8", -1}, {"ZDifficultyLevel.3.3", 6},
    };
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        store.WriteInt(kSettingsSection, c.name, c.value);
        CChordCatalog catalog;
        EXPECT_EXIT(catalog.LoadLevels(store), testing::ExitedWithCode(1),
                    "^Error setting a difficulty : difficulty incorrect\n$")
            << c.name << " = " << c.value;
    }
}
