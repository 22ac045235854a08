#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/SettingsStore.h"
#include "chords/ChordCatalog.h"
#include "cli/Commands.h"
#include "engine/Tablature.h"
#include "tests/cli/CliTestSupport.h"

using namespace clitest;

namespace {

class CliInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
        theChordCatalog.ResetAll();
    }
    void TearDown() override { theChordCatalog.ResetAll(); }

    int Run(const std::vector<std::string>& args) {
        out.str({});
        err.str({});
        return RunQuavernCli(args, out, err, &store);
    }
    std::string Song(const std::string& name, const std::string& bytes) {
        WriteFile(work / name, bytes);
        return work / name;
    }

    TempFolder config;
    TempFolder work;
    CMemorySettingsStore store;
    std::ostringstream out;
    std::ostringstream err;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(CliInProcess, UsageErrorsExitTwoWithOneLineAndUsageAndWriteNothing) {
    const std::string song = Song("a.txt", "C G Am F");
    const std::string target = work / "out.txt";
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", song},
        {"info"},
        {"info", "--by", "7", song},
        {"info", "--by", "two", song},
        {"transpose", song},
        {"transpose", "--by", "-9", "-o", target, song},
        {"transpose", "--by", "1", "--easiest", "-o", target, song},
        {"render", "--plain", "--highlighted", "-o", target, song},
        {"render", "--by", "1", "-o", target, song, "extra.txt"},
        {"info", "--unknown", song},
        {"chord"},
        {"chord", "Hm"},
        {"chord", "Csus9"},
        {"chord", "C/Q"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const std::string& a : args)
            joined += "[" + a + "]";
        EXPECT_EQ(Run(args), kExitUsage) << joined;
        EXPECT_EQ(out.str(), "") << joined;
        const std::vector<std::string> lines = Lines(err.str());
        ASSERT_GE(lines.size(), 2u) << joined;
        EXPECT_EQ(lines[0].rfind("quavern-cli: ", 0), 0u) << joined;
        EXPECT_EQ(lines[1].rfind("Usage: quavern-cli", 0), 0u) << joined;
        EXPECT_FALSE(FileExists(target)) << joined;
    }
}

TEST_F(CliInProcess, HelpExplainsEveryCommandAndOption) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"help"}, {"-h"}, {"transpose", "--help"}}) {
        EXPECT_EQ(Run(args), kExitSuccess);
        EXPECT_EQ(err.str(), "");
        for (const char* word : {"info", "transpose", "render", "--by N", "--easiest", "--plain", "--highlighted",
                                 "--default-levels", "-o OUT", "AREHIGHLIGHTED", "XDG_CONFIG_HOME", "exit status"})
            EXPECT_NE(out.str().find(word), std::string::npos) << word;
    }
}

TEST_F(CliInProcess, ChordPrintsTheTablesFingeringOrTheFindersFirst) {
    // Am and Dm7 keep the table's fingering; the others come from the finder.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Am", "x02210\n"}, {"Dm7", "xx0211\n"}, {"Dsus2", "xx0230\n"}, {"G6", "320000\n"}, {"D/F#", "200232\n"}};
    for (const auto& [name, fingering] : cases) {
        EXPECT_EQ(Run({"chord", name}), kExitSuccess) << name;
        EXPECT_EQ(out.str(), fingering) << name;
        EXPECT_EQ(err.str(), "") << name;
    }
    // Read the German way H is B, B is B flat and "mi" or "moll" minor;
    // without the option such a name is none. E#, B#, Fb and Cb are the
    // white keys they sound.
    struct Equivalent {
        const char* name;
        const char* written;
        const char* notation;
    };
    const Equivalent sounding[] = {
        {"Hmi", "Bm", "german"},       {"H7", "B7", "german"},
        {"B", "Bb", "german"},         {"Cmoll", "Cm", "german"},
        {"Hmi7/A", "Bm7/A", "german"}, {"Ami", "Am", "german"},
        {"Fb", "E", "as-written"},     {"Cbmaj7", "Bmaj7", "as-written"},
        {"E#7", "F7", "as-written"},   {"E#sus4", "Fsus4", ""},
        {"C#/E#", "C#/F", ""},         {"E7+", "E7+5", ""},
        {"E#9", "Eadd#9", ""},
    };
    for (const auto& [name, written, notation] : sounding) {
        ASSERT_EQ(Run({"chord", written}), kExitSuccess) << written;
        const std::string fingering = out.str();
        EXPECT_EQ(*notation ? Run({"chord", "--notation", notation, name}) : Run({"chord", name}), kExitSuccess)
            << name;
        EXPECT_EQ(out.str(), fingering) << name;
    }
    EXPECT_EQ(Run({"chord", "Hmi"}), kExitUsage);
    EXPECT_EQ(Run({"chord", "--notation", "german", "Hmix"}), kExitUsage);
    EXPECT_NE(err.str().find("unknown chord name 'Hmix'"), std::string::npos) << err.str();
}

TEST_F(CliInProcess, UnreadableSongIsNamedWithTheReason) {
    const std::string missing = work / "no-such-song.txt";
    for (const char* command : {"info", "transpose", "render"}) {
        EXPECT_EQ(Run({command, "--by", "1", missing}), kExitFailure);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(missing), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("No such file or directory"), std::string::npos) << err.str();
    }
    // A folder is no song either.
    EXPECT_EQ(Run({"info", work.Path()}), kExitFailure);
    EXPECT_NE(err.str().find(work.Path()), std::string::npos);
}

TEST_F(CliInProcess, ReadsLevelsFromTheStoreUnlessDefaultLevelsAreAsked) {
    const std::string song = Song("a.txt", "G D G");
    store.WriteInt(kSettingsSection, CChordCatalog::LevelValueName(Major, 10), 5); // G
    CChordCatalog defaults;
    defaults.ResetAll();
    const int levelD = defaults.Find("D")->GetDifficulty();

    ASSERT_EQ(Run({"info", song}), kExitSuccess) << err.str();
    EXPECT_NE(out.str().find("\"score\": " + std::to_string(5 + levelD) + ","), std::string::npos) << out.str();
    ASSERT_EQ(Run({"info", "--default-levels", song}), kExitSuccess);
    const int defaultScore = defaults.Find("G")->GetDifficulty() + levelD;
    EXPECT_NE(out.str().find("\"score\": " + std::to_string(defaultScore) + ","), std::string::npos) << out.str();
}

TEST_F(CliInProcess, SongsOfMoreThan1024ChordsMoveWholeAndSilently) {
    std::string many;
    std::string moved;
    for (int i = 0; i < 1100; ++i) {
        many += "C ";
        moved += "D ";
    }
    const std::string song = Song("many.txt", many + "G");
    ASSERT_EQ(Run({"info", song}), kExitSuccess);
    EXPECT_NE(out.str().find("\"count\": 1101,"), std::string::npos);
    EXPECT_EQ(err.str(), "");

    ASSERT_EQ(Run({"transpose", "--by", "+2", song}), kExitSuccess);
    EXPECT_EQ(out.str(), moved + "A");
    EXPECT_EQ(err.str(), "");

    ASSERT_EQ(Run({"info", "--easiest", song}), kExitSuccess);
    EXPECT_EQ(err.str(), "");
}

TEST_F(CliInProcess, StoredLevelOutsideOneToFiveEndsWithTheFatalMessage) {
    const std::string song = Song("a.txt", "Am");
    store.WriteInt(kSettingsSection, CChordCatalog::LevelValueName(Minor, 13), 0);
    EXPECT_EXIT(RunQuavernCli({"info", song}, out, std::cerr, &store), ::testing::ExitedWithCode(1),
                "Error setting a difficulty : difficulty incorrect");
}

TEST_F(CliInProcess, SongOptionsComeFromTheStoreAndTheCommandLineGoesFirst) {
    const std::string song = Song("a.txt", "C  Asus4  Bb\n");
    struct Case {
        std::map<std::string, int> stored;
        std::vector<std::string> flags;
        const char* moved;
    };
    const Case cases[] = {
        {{}, {}, "C#  Asus4  B\n"},
        {{{"ALLCHORDS", 1}}, {}, "C#  A#sus4  B\n"},
        {{}, {"--all-chords"}, "C#  A#sus4  B\n"},
        {{{"SPELLING", 2}}, {}, "Db  Asus4  B\n"},
        {{{"SPELLING", 2}}, {"--spelling", "sharps"}, "C#  Asus4  B\n"},
        {{{"SPELLING", 9}}, {}, "C#  Asus4  B\n"},
        {{{"KEEPCOLUMNS", 1}}, {}, "C# Asus4  B\n"},
        {{{"ALLCHORDS", 1}, {"SPELLING", 3}, {"KEEPCOLUMNS", 1}}, {}, "C# A#sus4 B\n"},
        {{{"ALLCHORDS", 0}}, {"--keep-columns", "--all-chords"}, "C# A#sus4 B\n"},
        // In German notation B is B flat, written back as a German sheet writes it.
        {{}, {"--notation", "german"}, "C#  Asus4  H\n"},
        {{{"NOTATION", 1}, {"ALLCHORDS", 1}}, {}, "C#  Bsus4  H\n"},
    };
    for (const Case& c : cases) {
        store.Clear();
        for (const auto& [name, value] : c.stored)
            store.WriteInt(kSettingsSection, name, value);
        std::vector<std::string> args{"transpose", "--by", "1"};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        args.push_back(song);
        ASSERT_EQ(Run(args), kExitSuccess) << err.str();
        EXPECT_EQ(out.str(), c.moved) << c.flags.size() << " " << c.stored.size();
    }
}

TEST_F(CliInProcess, InfoNamesTheUntouchedChordsAndTheKey) {
    const std::string song = Song("a.txt", "Em  Asus4 G Asus4 D7sus4\n");
    ASSERT_EQ(Run({"info", song}), kExitSuccess);
    EXPECT_NE(out.str().find("], \"untouched\": [\"Asus4\", \"D7sus4\"], \"key\": \"G\"}\n"), std::string::npos)
        << out.str();
    ASSERT_EQ(Run({"info", "--by", "-2", "--all-chords", song}), kExitSuccess);
    EXPECT_NE(out.str().find("{\"name\": \"Gsus4\", \"offset\": 4}"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\"untouched\": [], \"key\": \"Dm\"}\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\"distinct\": [\"F\", \"Dm\", \"G\", \"C\"]"), std::string::npos) << out.str();
    ASSERT_EQ(Run({"info", Song("none.txt", "la la\n")}), kExitSuccess);
    EXPECT_NE(out.str().find("\"untouched\": [], \"key\": null}\n"), std::string::npos) << out.str();
    // A legend whose shape cannot move to the shift is left as written, after the names.
    const std::string legend = Song("legend.txt", "B7 (x21202)  Em (022000)\nEm  Asus4  B7\n");
    ASSERT_EQ(Run({"info", "--by", "2", "--chord-lines", legend}), kExitSuccess);
    EXPECT_NE(out.str().find("\"untouched\": [\"Asus4\", \"B7 (x21202)\"]"), std::string::npos) << out.str();
    ASSERT_EQ(Run({"info", "--chord-lines", legend}), kExitSuccess);
    EXPECT_NE(out.str().find("\"untouched\": [\"Asus4\"]"), std::string::npos) << out.str();
}

TEST_F(CliInProcess, ConvertsBetweenTextAndChordProAndMovesOnlyChordProChords) {
    const std::string text = Song("a.txt", "A Night\r\nAm      G/B\r\nA man walks\r\n");
    const std::string chordPro = Song("a.cho", "{title: A Night}\r\n{key: Am}\r\n[Am]A man [G/B]walks\r\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;
    } kCases[] = {
        {{"convert", "--to", "chordpro", text}, 0, "{title: A Night}\r\n[Am]A man wa[G/B]lks\r\n"},
        {{"convert", "--to", "text", chordPro}, 0, "A Night\r\nKey: Am\r\nAm    G/B\r\nA man walks\r\n"},
        {{"convert", "--to", "chordpro", chordPro}, 0, ReadFile(chordPro)},
        {{"convert", "--to", "text", Song("a.html", "<p>A</p>")}, 1, ""},
        {{"convert", text}, 2, ""},
        {{"convert", "--to", "pdf", text}, 2, ""},
        {{"transpose", "--by", "2", chordPro}, 0, "{title: A Night}\r\n{key: Bm}\r\n[Bm]A man [A/C#]walks\r\n"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Run(c.args), c.status) << c.args.back();
        EXPECT_EQ(out.str(), c.out) << c.args.back();
    }
    // The converted song is written to OUT as well.
    EXPECT_EQ(Run({"convert", "--to", "chordpro", "-o", work / "b.cho", text}), 0);
    EXPECT_EQ(ReadFile(work / "b.cho"), "{title: A Night}\r\n[Am]A man wa[G/B]lks\r\n");
}
