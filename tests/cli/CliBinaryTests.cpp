#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/SettingsStore.h"
#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "tests/cli/CliTestSupport.h"

using namespace clitest;

namespace {

// A text song with what real songs hold: UTF-8 lyrics, tabs, CRLF line
// ends, slash chords, both spellings of one chord, "Maj7", chords the rule
// refuses (followed by a comma) and lyrics it takes for chords ("A man").
const char kTextSong[] = "Intro: [Am] (G) {Fmaj7}\r\n"
                         "C\tG/B\tAm7\tCMaj7\r\n"
                         "Caf\xc3\xa9 au lait, A man walks by, Am, then Em\r\n"
                         "Db  C#  Bb  Eb7  F#m7/E\n"
                         "Dm7 & <b>E7</b>\n";

// An HTML song with its own title, chords between tags, an entity before a
// chord and chord names in the markup: in a link, in a comment.
const char kHtmlSong[] = "<html><head><title>Song (G)</title></head><body>\n"
                         "<table><tr><td>G</td><td>D/F#</td><td>Em</td></tr></table>\n"
                         "<a href=\"chords/G/index.html\">G</a> <!-- capo 2: play (C) -->\n"
                         "<p>&nbsp;Am <b>C</b> Gmaj7 BbMaj7</p>\n"
                         "<pre>G   D   Em   C\nWords over chords</pre></body></html>\n";

class CliBinary : public ::testing::Test {
protected:
    void SetUp() override { theChordCatalog.ResetAll(); }
    void TearDown() override { theChordCatalog.ResetAll(); }

    ProcessResult Run(const std::vector<std::string>& args) const { return RunCli(args, work.Path(), config.Path()); }
    std::string Song(const std::string& name, const std::string& bytes) const {
        WriteFile(work / name, bytes);
        return work / name;
    }
    std::string PicturePrefix() const { return work.Path() + "/Pics/"; }

    TempFolder config;
    TempFolder work;
};

} // namespace

TEST_F(CliBinary, MatchesTheCoreForTextAndHtmlSongsAtEveryShift) {
    const std::string songs[] = {Song("song.txt", kTextSong), Song("song.HTML", kHtmlSong),
                                 Song("declared.htm", std::string(" <!DOCTYPE html>\n") + kHtmlSong),
                                 Song("no-extension", "C G Am F\n")};
    const HighlightSettings defaults;
    for (const std::string& path : songs) {
        for (int shift = -6; shift <= 7; ++shift) {
            // Shift 7 stands for --easiest.
            const std::optional<int> asked = shift == 7 ? std::nullopt : std::optional<int>(shift);
            const std::vector<std::string> how =
                asked ? std::vector<std::string>{"--by", std::to_string(shift)} : std::vector<std::string>{"--easiest"};
            const CoreSong expected = PrepareWithCore(path, asked);
            const std::string where = path + " shift " + std::to_string(shift);

            std::vector<std::string> args{"info"};
            args.insert(args.end(), how.begin(), how.end());
            args.push_back(path);
            ProcessResult info = Run(args);
            ASSERT_EQ(info.status, 0) << where << info.err;
            EXPECT_EQ(info.out, expected.InfoJson()) << where;

            args[0] = "transpose";
            const ProcessResult saved = Run(args);
            ASSERT_EQ(saved.status, 0) << where << saved.err;
            EXPECT_EQ(saved.out, expected.Saved()) << where;
            // Each offset points at its chord in the song as transpose writes it.
            const std::vector<long> offsets = OffsetsOf(info.out);
            ASSERT_EQ(offsets.size(), static_cast<std::size_t>(expected.working->OccurrenceCount())) << where;
            for (std::size_t i = 0; i < offsets.size(); ++i) {
                const std::string name = expected.working->ChordAt(static_cast<int>(i)).GetName();
                ASSERT_GE(offsets[i], 0) << where;
                EXPECT_EQ(saved.out.substr(static_cast<std::size_t>(offsets[i]), name.size()), name) << where;
            }

            args[0] = "render";
            const ProcessResult page = Run(args);
            ASSERT_EQ(page.status, 0) << where << page.err;
            EXPECT_EQ(page.out, expected.Page(true, defaults, PicturePrefix())) << where;
            EXPECT_EQ(page.err, "") << where;
        }
    }
}

TEST_F(CliBinary, GivesTheObviousResultsOfSmallSongs) {
    const std::string cgaf = Song("cgaf.txt", "C G Am F");
    EXPECT_EQ(Run({"transpose", "--by", "+2", cgaf}).out, "D A Bm G");
    EXPECT_EQ(Run({"transpose", "--by", "2", cgaf}).out, "D A Bm G");
    EXPECT_EQ(Run({"transpose", "--by", "+1", cgaf}).out, "C# G# A#m F#");
    EXPECT_EQ(Run({"transpose", "--by", "-0", cgaf}).out, "C G Am F");

    const std::string fbbc = Song("fbbc.txt", "F Bb C");
    EXPECT_EQ(Run({"transpose", "--easiest", "--default-levels", fbbc}).out, "A D E");
    EXPECT_EQ(Run({"info", "--easiest", fbbc}).out.substr(0, 25), "{\"shift\": 4, \"score\": 5, ");

    const std::string am = Song("am.htm", "Am");
    EXPECT_EQ(Run({"info", am}).out, "{\"shift\": 0, \"score\": 1, \"distinctCount\": 1, \"distinct\": [\"Am\"], "
                                     "\"count\": 1, \"occurrences\": [{\"name\": \"Am\", \"offset\": 0}], "
                                     "\"untouched\": [], \"key\": \"Am\"}\n");
    const std::string none = Song("none.txt", "no chords here");
    EXPECT_EQ(Run({"info", none}).out, "{\"shift\": 0, \"score\": 0, \"distinctCount\": 0, \"distinct\": [], "
                                       "\"count\": 0, \"occurrences\": [], \"untouched\": [], "
                                       "\"key\": null}\n");
}

TEST_F(CliBinary, TransposingAnHtmlSongLeavesItsMarkupAlone) {
    const std::string path = Song("song.html", kHtmlSong);
    const ProcessResult saved = Run({"transpose", "--by", "+2", path});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(saved.out.find("<a href=\"chords/G/index.html\">A</a> <!-- capo 2: play (C) -->"), std::string::npos)
        << saved.out;
    // A declaration keeps its place in front of the title line, which Save takes away.
    const std::string declared = Song("declared.html", std::string("<!doctype html>\r\n") + kHtmlSong);
    const ProcessResult standards = Run({"render", "--plain", declared});
    EXPECT_EQ(standards.out.rfind("<!doctype html>" + TitleLine(declared) + "\r\n<html><head>", 0), 0u)
        << standards.out;
    std::string asRead = ReadFile(declared);
    NormalizeMaj7(asRead);
    EXPECT_EQ(Run({"transpose", "--by", "0", declared}).out, asRead);
    // The same bytes as a text song follow the lexical rule.
    const ProcessResult text = Run({"transpose", "--by", "+2", Song("song.txt", kHtmlSong)});
    EXPECT_NE(text.out.find("<a href=\"chords/A/index.html\">A</a> <!-- capo 2: play (D) -->"), std::string::npos);
    const ProcessResult page = Run({"render", "--highlighted", path});
    EXPECT_NE(page.out.find("<a href=\"chords/G/index.html\"><font"), std::string::npos);
}

TEST_F(CliBinary, TransposeByZeroGivesTheFileBackByteForByte) {
    // NUL bytes, and text equal to what opening adds, are the song's own.
    const std::string bytes = std::string("G\0Am\0\0D\n", 8) + "</pre> </body> </html> <!-- Quavern 3.0 // -->";
    std::string own = kTextSong;
    own.replace(own.find("CMaj7"), 5, "Cmaj7");
    const std::string songs[] = {Song("nul.txt", bytes), Song("nul.htm", bytes), Song("own.txt", own)};
    for (const std::string& path : songs) {
        const ProcessResult saved = Run({"transpose", "--by", "0", path});
        ASSERT_EQ(saved.status, 0) << saved.err;
        EXPECT_EQ(saved.out, ReadFile(path)) << path;
    }
    // Only the "Maj7" spelling changes, as on opening.
    EXPECT_EQ(Run({"transpose", "--by", "0", Song("maj7.txt", "CMaj7 F#Maj7 CM7")}).out, "Cmaj7 F#maj7 CM7");
}

TEST_F(CliBinary, PathsWithDelimitersAndSharpsStayOutOfTheChords) {
    std::filesystem::create_directories(work / "Capo (G)/C#m7 [A]");
    const std::string path = Song("Capo (G)/C#m7 [A]/Em.txt", "Em");
    ASSERT_EQ(Run({"info", "--by", "2", path}).out,
              "{\"shift\": 2, \"score\": " + std::to_string(theChordCatalog.Find("F#m")->GetDifficulty()) +
                  ", \"distinctCount\": 1, \"distinct\": [\"F#m\"], \"count\": 1, \"occurrences\": "
                  "[{\"name\": \"F#m\", \"offset\": 0}], \"untouched\": [], \"key\": \"F#m\"}\n");
    EXPECT_EQ(Run({"transpose", "--by", "-1", path}).out, "D#m");

    // The picture prefix is formed from the current folder; "#" in an image
    // source is written so the browser does not read it as a fragment.
    const ProcessResult page = RunCli({"render", path}, work / "Capo (G)/C#m7 [A]", config.Path());
    ASSERT_EQ(page.status, 0) << page.err;
    EXPECT_NE(page.out.find("<img src=\"" + work.Path() + "/Capo (G)/C%23m7 [A]/Pics/C%23m7.gif\" />"),
              std::string::npos);
    EXPECT_EQ(page.out.rfind("<title>", 0), 0u);

    // A relative name is made absolute against the current folder, with "."
    // and ".." taken out, as the title line of the program's Open holds it.
    std::filesystem::create_directories(work / "sub");
    Song("song.txt", "Am");
    const ProcessResult relative = Run({"render", "--plain", "./sub/../song.txt"});
    ASSERT_EQ(relative.status, 0) << relative.err;
    EXPECT_EQ(relative.out.rfind(TitleLine(work / "song.txt"), 0), 0u) << relative.out;
}

TEST_F(CliBinary, ReadsHighlightSettingsAndLevelsFromTheConfigurationHome) {
    const std::string path = Song("song.txt", kTextSong);
    struct Case {
        std::map<std::string, std::string> stored;
        std::vector<std::string> flags;
        bool highlighted;
        HighlightSettings settings;
    };
    const auto with = [](int bold, int italic, int underline, int useColor, int infobulle, int color) {
        HighlightSettings s;
        s.bold = bold;
        s.italic = italic;
        s.underline = underline;
        s.useColor = useColor;
        s.infobulle = infobulle;
        s.color = color;
        return s;
    };
    const Case cases[] = {
        {{}, {}, true, with(1, 0, 0, 1, 1, 0xff0000)},
        {{{"BLUE", "300"}}, {}, true, with(1, 0, 0, 1, 1, 0x2c0000)},
        {{{"RED", "255"}, {"GREEN", "128"}, {"BLUE", "0"}}, {}, true, with(1, 0, 0, 1, 1, 0x0080ff)},
        {{{"RED", "-1"}, {"GREEN", "256"}, {"BLUE", "511"}}, {}, true, with(1, 0, 0, 1, 1, 0xff00ff)},
        {{{"BOLD", "0"}, {"ITALIC", "1"}, {"UNDERLINE", "7"}, {"USECOLOR", "0"}, {"INFOBULLE", "0"}},
         {},
         true,
         with(0, 1, 7, 0, 0, 0xff0000)},
        {{{"BOLD", "not a number"}}, {}, true, with(1, 0, 0, 1, 1, 0xff0000)},
        {{{"AREHIGHLIGHTED", "0"}}, {}, false, HighlightSettings{}},
        {{{"AREHIGHLIGHTED", "0"}}, {"--highlighted"}, true, HighlightSettings{}},
        {{{"AREHIGHLIGHTED", "1"}}, {"--plain"}, false, HighlightSettings{}},
    };
    const CoreSong expected = PrepareWithCore(path, 3);
    for (const Case& c : cases) {
        WriteSettings(config.Path(), c.stored);
        std::vector<std::string> args{"render", "--by", "3"};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        args.push_back(path);
        const ProcessResult page = Run(args);
        ASSERT_EQ(page.status, 0) << page.err;
        EXPECT_EQ(page.out, expected.Page(c.highlighted, c.settings, PicturePrefix()))
            << (c.stored.empty() ? "" : c.stored.begin()->first);
    }
    // Two colours spelled out: orange, and a stored 300 that counts as 44.
    WriteSettings(config.Path(), {{"RED", "255"}, {"GREEN", "128"}, {"BLUE", "0"}});
    EXPECT_NE(Run({"render", path}).out.find("<font color=\"#ff8000\">"), std::string::npos);
    WriteSettings(config.Path(), {{"BLUE", "300"}});
    EXPECT_NE(Run({"render", path}).out.find("<font color=\"#00002c\">"), std::string::npos);
}

TEST_F(CliBinary, StoredLevelsChangeScoresAndEasiestAndBadLevelsAreFatal) {
    const std::string path = Song("song.txt", "G D G Em C");
    // G made very hard: the scores and the easiest shift follow the stored level.
    WriteSettings(config.Path(), {{CChordCatalog::LevelValueName(Major, 10), "5"}});
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, CChordCatalog::LevelValueName(Major, 10), 5);
    theChordCatalog.LoadLevels(store);
    for (const std::optional<int> shift : {std::optional<int>(0), std::optional<int>(-2), std::optional<int>()}) {
        const CoreSong expected = PrepareWithCore(path, shift);
        std::vector<std::string> args{"info"};
        if (shift) {
            args.insert(args.end(), {"--by", std::to_string(*shift)});
        } else {
            args.emplace_back("--easiest");
        }
        args.push_back(path);
        EXPECT_EQ(Run(args).out, expected.InfoJson());
    }
    theChordCatalog.ResetAll();
    EXPECT_EQ(Run({"info", "--easiest", "--default-levels", path}).out, PrepareWithCore(path, {}).InfoJson());

    for (const char* bad : {"6", "0", "-3", "100"}) {
        WriteSettings(config.Path(), {{CChordCatalog::LevelValueName(MajorSeventh, 16), bad}});
        const std::string target = work / "out.txt";
        WriteFile(target, "before");
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"info", path}, {"transpose", "--by", "1", "-o", target, path}, {"render", "-o", target, path}}) {
            const ProcessResult result = Run(args);
            const std::string& command = args[0];
            EXPECT_EQ(result.status, 1) << bad << command;
            EXPECT_EQ(result.err, "Error setting a difficulty : difficulty incorrect\n") << bad << command;
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(ReadFile(target), "before");
        }
        EXPECT_EQ(Run({"info", "--default-levels", path}).status, 0) << "default levels read no stored level";
    }
}

TEST_F(CliBinary, OutputFileIsReplacedWholeOrLeftAsItWas) {
    const std::string path = Song("song.txt", kTextSong);
    const std::string target = work / "out.txt";
    const std::string expected = PrepareWithCore(path, -2).Saved();

    // A new file, then replacing an existing one keeps its permissions.
    ProcessResult result = Run({"transpose", "--by", "-2", "-o", target, path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadFile(target), expected);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(Run({"render", "--plain", "-o", target, path}).status, 0);
    EXPECT_EQ(ReadFile(target), PrepareWithCore(path, 0).Page(false, HighlightSettings{}, PicturePrefix()));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // The song itself may be the output: the result of a batch in place.
    const std::string inPlace = Song("in-place.txt", "C G Am F");
    ASSERT_EQ(Run({"transpose", "--by", "2", "-o", inPlace, inPlace}).status, 0);
    EXPECT_EQ(ReadFile(inPlace), "D A Bm G");

    // Failures: OUT unchanged, no temporary file left, the file named.
    WriteFile(target, "before");
    std::filesystem::create_directories(work / "full-folder");
    WriteFile(work / "full-folder/keep", "x");
    const std::vector<std::string> entriesBefore = FolderEntries(work.Path());
    const std::string unwritable[] = {work / "missing-folder/out.txt", work / "full-folder"};
    for (const std::string& out : unwritable) {
        result = Run({"transpose", "--by", "1", "-o", out, path});
        EXPECT_EQ(result.status, 1) << out;
        EXPECT_NE(result.err.find(out), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    result = Run({"transpose", "--by", "1", "-o", target, work / "missing.txt"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("missing.txt"), std::string::npos);
    EXPECT_EQ(ReadFile(target), "before");
    EXPECT_EQ(FolderEntries(work.Path()), entriesBefore);
    EXPECT_EQ(FolderEntries(work / "full-folder"), std::vector<std::string>{"keep"});

    // A read-only folder stops everyone but the superuser.
    if (::geteuid() != 0) {
        std::filesystem::create_directories(work / "locked");
        const std::string locked = work / "locked/out.txt";
        WriteFile(locked, "before");
        ASSERT_EQ(::chmod((work / "locked").c_str(), 0555), 0);
        result = Run({"render", "-o", locked, path});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("Permission denied"), std::string::npos) << result.err;
        EXPECT_EQ(ReadFile(locked), "before");
        EXPECT_EQ(FolderEntries(work / "locked"), std::vector<std::string>{"out.txt"});
    }
}

TEST_F(CliBinary, UsageErrorsExitTwoAndLongSongsSucceedSilently) {
    const std::string path = Song("song.txt", "C G");
    const std::string target = work / "out.txt";
    const std::vector<std::vector<std::string>> usage = {
        {},
        {"tanspose", path},
        {"render"},
        {"info", "--by", "+7", path},
        {"transpose", "-o", target, path},
        {"render", "--by", "1.5", "-o", target, path},
    };
    for (const auto& args : usage) {
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("quavern-cli: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find("\nUsage: quavern-cli info"), std::string::npos) << result.err;
        EXPECT_FALSE(FileExists(target));
    }

    std::string many;
    for (int i = 0; i < 700; ++i)
        many += "Am E7 ";
    const std::string big = Song("big.txt", many);
    const ProcessResult result = Run({"transpose", "--by", "-1", big});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, PrepareWithCore(big, -1).Saved());
    EXPECT_EQ(result.out.substr(result.out.size() - 8), "G#m D#7 ") << "the last of 1,400 chords moved too";
    EXPECT_EQ(result.err, "");

    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: quavern-cli"), std::string::npos);
}

TEST_F(CliBinary, ExampleSongAndCorpusMatchTheCore) {
    std::vector<std::string> songs{QUAVERN_EXAMPLE_SONG};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(QUAVERN_CORPUS_DIR, ec)) {
        if (entry.is_regular_file())
            songs.push_back(entry.path().string());
    }
    const SongOptions everyOption{true, Spelling::Key, true};
    for (const std::string& song : songs) {
        for (const std::optional<int> shift : {std::optional<int>(0), std::optional<int>(5), std::optional<int>()}) {
            for (const bool options : {false, true}) {
                const CoreSong expected = PrepareWithCore(song, shift, options ? everyOption : SongOptions());
                std::vector<std::string> args{"transpose"};
                if (shift)
                    args.insert(args.end(), {"--by", std::to_string(*shift)});
                else
                    args.push_back("--easiest");
                if (options)
                    args.insert(args.end(), {"--all-chords", "--spelling", "key", "--keep-columns"});
                args.push_back(song);
                EXPECT_EQ(Run(args).out, expected.Saved()) << song;
                args[0] = "info";
                EXPECT_EQ(Run(args).out, expected.InfoJson()) << song;
            }
        }
    }
    if (songs.size() == 1)
        GTEST_SKIP() << "no corpus at " << QUAVERN_CORPUS_DIR << "; only the example song was checked";
}

namespace {

// The text of a field of a line of JSON, from after its name to the end of
// its value: a number, null, a string or an array of strings.
std::string FieldOf(const std::string& json, const std::string& name, std::size_t from = 0) {
    const std::size_t at = json.find("\"" + name + "\": ", from);
    if (at == std::string::npos)
        return "(missing)";
    const std::size_t value = at + name.size() + 4;
    const std::size_t end = json[value] == '[' ? json.find(']', value) + 1 : json.find_first_of(",}", value);
    return json.substr(value, end - value);
}

} // namespace

TEST_F(CliBinary, CapoRowsAreInfoAtEachShiftOfTheExampleSong) {
    const std::vector<std::vector<std::string>> optionSets = {{}, {"--all-chords"}, {"--spelling", "flats"}};
    for (const auto& options : optionSets) {
        std::vector<std::string> args{"capo", "--default-levels"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(QUAVERN_EXAMPLE_SONG);
        const ProcessResult capo = Run(args);
        ASSERT_EQ(capo.status, 0) << capo.err;
        ASSERT_EQ(capo.out.rfind("{\"capos\": [{\"capo\": 0, ", 0), 0u) << capo.out;
        ASSERT_EQ(capo.out.back(), '\n');
        int best = 0;
        int bestScore = 0;
        std::size_t row = 0;
        for (int fret = 0; fret <= 7; ++fret) {
            row = capo.out.find("{\"capo\": " + std::to_string(fret) + ", ", row);
            ASSERT_NE(row, std::string::npos) << fret << capo.out;
            // The shapes are spelled by their key, whatever the song's spelling.
            std::vector<std::string> info{"info", "--default-levels", "--by", std::to_string(fret == 7 ? 5 : -fret)};
            if (options.empty() || options.front() != "--spelling")
                info.insert(info.end(), options.begin(), options.end());
            info.insert(info.end(), {"--spelling", "key", QUAVERN_EXAMPLE_SONG});
            const std::string line = Run(info).out;
            // Names outside the table follow those of the table, in full.
            const std::string shapes = FieldOf(capo.out, "shapes", row);
            const std::string distinct = FieldOf(line, "distinct");
            if (options.empty() || options.front() != "--all-chords")
                EXPECT_EQ(shapes, distinct) << fret;
            else
                EXPECT_EQ(shapes.rfind(distinct.substr(0, distinct.size() - 1) + ", \"", 0), 0u) << shapes << fret;
            EXPECT_EQ(FieldOf(capo.out, "key", row), FieldOf(line, "key")) << fret;
            const int score = std::stoi(FieldOf(capo.out, "score", row));
            EXPECT_EQ(score, std::stoi(FieldOf(line, "score"))) << fret;
            if (fret == 0 || score < bestScore) {
                best = fret;
                bestScore = score;
            }
        }
        const std::string end = "}], \"best\": " + std::to_string(best) + "}\n";
        EXPECT_EQ(capo.out.substr(capo.out.size() - end.size()), end);
    }
    // Capo 7 plays the song five half-tones up: the easiest shift of the example, in C.
    const ProcessResult plain = Run({"capo", "--default-levels", QUAVERN_EXAMPLE_SONG});
    EXPECT_NE(plain.out.find("{\"capo\": 7, \"score\": 15, \"shapes\": [\"C\", \"E\", \"F\", \"G\", \"Dm\", \"Am\", "
                             "\"G7\"], \"key\": \"C\"}], \"best\": 7}"),
              std::string::npos)
        << plain.out;
}
