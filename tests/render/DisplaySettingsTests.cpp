#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/SettingsStore.h"
#include "render/DisplaySettings.h"

namespace {

// Keeps the names in the order they are written, and nothing else.
class OrderStore final : public ISettingsStore {
public:
    int GetInt(const std::string&, const std::string&, int value) const override { return value; }
    void WriteInt(const std::string&, const std::string& name, int) override { names.push_back(name); }
    std::string GetString(const std::string&, const std::string&, const std::string& value) const override {
        return value;
    }
    void WriteString(const std::string&, const std::string& name, const std::string&) override {
        names.push_back(name);
    }
    std::vector<std::string> names;
};

} // namespace

TEST(DisplaySettings, AnEmptyStoreGivesTheProgramsDefaults) {
    CMemorySettingsStore store;
    const DisplaySettings read = ReadDisplaySettings(store);
    EXPECT_TRUE(read.highlight == (HighlightSettings{1, 0, 0, 1, 1, PackColor(0, 0, 255)}));
    EXPECT_EQ(read.highlighted, 1);
    EXPECT_EQ(read.lastDirectory, "");
    EXPECT_TRUE(read.options == SongOptions{}) << "every song option off";
    EXPECT_EQ(store.Size(), 0u) << "reading writes nothing";
}

TEST(DisplaySettings, WrittenSettingsReadBackUnchanged) {
    DisplaySettings off{{0, 0, 0, 0, 0, 0}, 0, "", {}};
    // Flags and AREHIGHLIGHTED are kept as stored, not turned into booleans.
    DisplaySettings odd{{7, -1, 1, 2, 0, PackColor(1, 2, 3)},
                        5,
                        "/home/m\xc3\xa9lanie/Songs #1/Am (live)",
                        {true, Spelling::Key, true}};
    for (const DisplaySettings& settings : {DisplaySettings{}, off, odd}) {
        CMemorySettingsStore store;
        WriteDisplaySettings(store, settings);
        EXPECT_EQ(store.Size(), 13u) << "every value is written, defaults included";
        EXPECT_EQ(store.GetInt(kSettingsSection, "GREEN", -1), GreenOf(settings.highlight.color));
        const DisplaySettings read = ReadDisplaySettings(store);
        EXPECT_TRUE(read.highlight == settings.highlight) << settings.lastDirectory;
        EXPECT_EQ(read.highlighted, settings.highlighted);
        EXPECT_EQ(read.lastDirectory, settings.lastDirectory);
        EXPECT_TRUE(read.options == settings.options);
    }
    OrderStore order;
    WriteDisplaySettings(order, odd);
    EXPECT_EQ(order.names,
              (std::vector<std::string>{"BOLD", "ITALIC", "UNDERLINE", "USECOLOR", "INFOBULLE", "BLUE", "RED", "GREEN",
                                        "AREHIGHLIGHTED", "LASTDIRECTORY", "ALLCHORDS", "SPELLING", "KEEPCOLUMNS"}));
}

TEST(DisplaySettings, SongOptionsReadAnyStoredValue) {
    struct Case {
        const char* allChords;
        const char* spelling;
        const char* keepColumns;
        SongOptions read;
    };
    const Case cases[] = {
        {"1", "1", "1", {true, Spelling::Sharps, true}},
        {"0", "2", "0", {false, Spelling::Flats, false}},
        {"7", "3", "-1", {true, Spelling::Key, true}},
        {"0", "4", "0", {false, Spelling::AsWritten, false}},
        {"no", "-1", "yes", {false, Spelling::AsWritten, false}},
    };
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        store.WriteString(kSettingsSection, "ALLCHORDS", c.allChords);
        store.WriteString(kSettingsSection, "SPELLING", c.spelling);
        store.WriteString(kSettingsSection, "KEEPCOLUMNS", c.keepColumns);
        EXPECT_TRUE(ReadDisplaySettings(store).options == c.read) << c.allChords << " " << c.spelling;
    }
}

TEST(DisplaySettings, ColourComponentsKeepEightBitsEach) {
    struct Case {
        const char* red;
        const char* green;
        const char* blue;
        int red8, green8, blue8;
    };
    const Case cases[] = {
        {"18", "52", "86", 0x12, 0x34, 0x56},
        {"256", "511", "-1", 0, 255, 255},
        {"300", "not a number", "4096", 44, 0, 0}, // an unreadable value takes its default
    };
    for (const Case& c : cases) {
        CMemorySettingsStore store;
        store.WriteString(kSettingsSection, "RED", c.red);
        store.WriteString(kSettingsSection, "GREEN", c.green);
        store.WriteString(kSettingsSection, "BLUE", c.blue);
        const int color = ReadDisplaySettings(store).highlight.color;
        EXPECT_EQ(RedOf(color), c.red8) << c.red;
        EXPECT_EQ(GreenOf(color), c.green8) << c.green;
        EXPECT_EQ(BlueOf(color), c.blue8) << c.blue;
        EXPECT_EQ(color & ~0xffffff, 0) << "nothing above blue";
        EXPECT_EQ(PackColor(std::stoi(c.red), c.green8, std::stoi(c.blue)), color);
    }
}
