#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Json.h"

TEST(CliShift, AcceptsWholeNumbersFromMinusSixToPlusSix) {
    const struct {
        const char* text;
        std::optional<int> shift;
    } cases[] = {
        {"0", 0},
        {"+0", 0},
        {"-0", 0},
        {"3", 3},
        {"+3", 3},
        {"-3", -3},
        {"6", 6},
        {"-6", -6},
        {"+6", 6},
        {"06", 6},
        {"7", std::nullopt},
        {"-7", std::nullopt},
        {"12", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"x", std::nullopt},
        {"3x", std::nullopt},
        {" 3", std::nullopt},
        {"3.0", std::nullopt},
        {"--3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseShift(c.text), c.shift) << "'" << c.text << "'";
}

TEST(CliArguments, ReadsEveryOptionOfEachCommand) {
    CliOptions options;
    std::string error;

    ASSERT_TRUE(ParseCommandArguments(CliCommand::Info, {"song.txt"}, options, error)) << error;
    EXPECT_EQ(options.filePath, "song.txt");
    EXPECT_FALSE(options.shift);
    EXPECT_FALSE(options.easiest);

    ASSERT_TRUE(ParseCommandArguments(CliCommand::Info, {"--by", "-3", "--default-levels", "a.htm"}, options, error));
    EXPECT_EQ(options.shift, -3);
    EXPECT_TRUE(options.defaultLevels);

    ASSERT_TRUE(ParseCommandArguments(CliCommand::Transpose, {"--by=+2", "-o", "out.txt", "a.txt"}, options, error));
    EXPECT_EQ(options.shift, 2);
    EXPECT_EQ(options.outputPath, "out.txt");
    EXPECT_EQ(options.filePath, "a.txt");

    ASSERT_TRUE(ParseCommandArguments(CliCommand::Transpose, {"a.txt", "--easiest"}, options, error));
    EXPECT_TRUE(options.easiest);

    ASSERT_TRUE(ParseCommandArguments(CliCommand::Render, {"--plain", "a.txt"}, options, error));
    EXPECT_EQ(options.highlighted, false);
    ASSERT_TRUE(ParseCommandArguments(CliCommand::Render, {"--highlighted", "a.txt"}, options, error));
    EXPECT_EQ(options.highlighted, true);

    // "--" ends the options, so a song may be named like one.
    ASSERT_TRUE(ParseCommandArguments(CliCommand::Info, {"--", "--by"}, options, error));
    EXPECT_EQ(options.filePath, "--by");

    ASSERT_TRUE(ParseCommandArguments(CliCommand::Render, {"a.txt", "--help", "--by", "99"}, options, error));
    EXPECT_TRUE(options.help);
}

TEST(CliArguments, ReadsTheSongOptionsAndTheCapoCommand) {
    CliOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandArguments(CliCommand::Info, {"a.txt"}, options, error));
    EXPECT_TRUE(!options.allChords && !options.spelling && !options.keepColumns) << "all off unless asked";
    const char* const words[] = {"as-written", "sharps", "flats", "key"};
    for (int s = 0; s < 4; ++s) {
        const std::vector<std::string> args = {"--all-chords", "--spelling", words[s], "--keep-columns", "a.txt"};
        ASSERT_TRUE(ParseCommandArguments(CliCommand::Render, args, options, error)) << error;
        EXPECT_EQ(options.spelling, static_cast<Spelling>(s));
        EXPECT_TRUE(options.allChords && options.keepColumns);
    }
    EXPECT_EQ(CommandOfName("capo"), CliCommand::Capo);
    ASSERT_TRUE(ParseCommandArguments(CliCommand::Capo, {"--all-chords", "--spelling=flats", "s.htm"}, options, error));
    EXPECT_EQ(options.spelling, Spelling::Flats);
    EXPECT_EQ(options.filePath, "s.htm");
}

TEST(CliArguments, RejectsMisuseWithOneLineReason) {
    const struct {
        CliCommand command;
        std::vector<std::string> args;
    } cases[] = {
        {CliCommand::Info, {}},
        {CliCommand::Info, {"--by", "7", "a.txt"}},
        {CliCommand::Info, {"--by", "x", "a.txt"}},
        {CliCommand::Info, {"--by=", "a.txt"}},
        {CliCommand::Info, {"a.txt", "--by"}},
        {CliCommand::Info, {"--by", "1", "--by", "2", "a.txt"}},
        {CliCommand::Info, {"--by", "1", "--easiest", "a.txt"}},
        {CliCommand::Info, {"-o", "out", "a.txt"}},
        {CliCommand::Info, {"--plain", "a.txt"}},
        {CliCommand::Info, {"a.txt", "b.txt"}},
        {CliCommand::Info, {"--easiest=1", "a.txt"}},
        {CliCommand::Transpose, {"a.txt"}},
        {CliCommand::Transpose, {"--by", "1", "-o", "a.txt"}},
        {CliCommand::Transpose, {"--by", "1", "-o", "", "a.txt"}},
        {CliCommand::Render, {"--plain", "--highlighted", "a.txt"}},
        {CliCommand::Render, {"--bold", "a.txt"}},
        {CliCommand::Info, {"--spelling", "sharp", "a.txt"}},
        {CliCommand::Info, {"--spelling", "Sharps", "a.txt"}},
        {CliCommand::Info, {"--spelling", "flats", "--spelling", "key", "a.txt"}},
        {CliCommand::Info, {"a.txt", "--spelling"}},
        {CliCommand::Info, {"--all-chords=1", "a.txt"}},
        {CliCommand::Capo, {"--by", "2", "a.txt"}},
        {CliCommand::Capo, {"--easiest", "a.txt"}},
        {CliCommand::Capo, {"--keep-columns", "a.txt"}},
        {CliCommand::Capo, {"-o", "out", "a.txt"}},
        {CliCommand::Capo, {"--plain", "a.txt"}},
        {CliCommand::Capo, {}},
    };
    for (const auto& c : cases) {
        CliOptions options;
        std::string error;
        std::string joined;
        for (const std::string& a : c.args)
            joined += "[" + a + "]";
        EXPECT_FALSE(ParseCommandArguments(c.command, c.args, options, error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
        EXPECT_EQ(error.find('\n'), std::string::npos) << joined;
    }
}

TEST(CliArguments, NamesTheMisuseExactly) {
    const struct {
        CliCommand command;
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {CliCommand::Transpose, {"a.txt"}, "transpose needs '--by N' or '--easiest'"},
        {CliCommand::Info, {"--easiest", "--by", "1", "a.txt"}, "'--by' and '--easiest' cannot be used together"},
        {CliCommand::Render,
         {"--highlighted", "--plain", "a.txt"},
         "'--plain' and '--highlighted' cannot be used together"},
        {CliCommand::Capo, {"--by", "a.txt"}, "option '--by' does not apply to capo"},
        {CliCommand::Capo, {"--plain", "a.txt"}, "unknown option '--plain'"},
        {CliCommand::Info, {"-o", "out", "a.txt"}, "unknown option '-o'"},
        {CliCommand::Info, {"--version", "a.txt"}, "unknown option '--version'"},
        {CliCommand::Render, {"--bold=1", "a.txt"}, "option '--bold' takes no value"},
        {CliCommand::Render, {"-o", "x", "-o", "y", "a.txt"}, "option '-o' given twice"},
        {CliCommand::Render, {"a.txt", "-o"}, "option '-o' needs a value"},
        {CliCommand::Info, {"--spelling=x", "a.txt"}, "invalid spelling 'x': give as-written, sharps, flats or key"},
        {CliCommand::Info, {"a.txt", "b.txt"}, "too many arguments: 'b.txt' (one FILE only)"},
        {CliCommand::Capo, {"--all-chords"}, "missing FILE"},
        {CliCommand::Convert, {"a.txt"}, "convert needs '--to FORMAT'"},
    };
    for (const auto& c : cases) {
        CliOptions options;
        std::string error;
        EXPECT_FALSE(ParseCommandArguments(c.command, c.args, options, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(CliUsage, ListsEachCommandsOptionsAndWrapsLongLines) {
    EXPECT_EQ(
        UsageText(),
        "Usage: quavern-cli info [--by N | --easiest] [SONG OPTIONS] [--default-levels] FILE\n"
        "       quavern-cli transpose (--by N | --easiest) [SONG OPTIONS] [--default-levels] [-o OUT] FILE\n"
        "       quavern-cli render [--by N | --easiest] [--plain | --highlighted] [SONG OPTIONS] "
        "[--default-levels]\n"
        "                          [-o OUT] FILE\n"
        "       quavern-cli capo [--all-chords] [--spelling S] [--chord-lines] [--notation N] [--default-levels] FILE\n"
        "       quavern-cli chord [--notation N] [--picture FILE] NAME\n"
        "       quavern-cli convert (--to FORMAT) [-o OUT] FILE\n"
        "       quavern-cli --help | --version\n"
        "SONG OPTIONS: [--all-chords] [--spelling as-written|sharps|flats|key] [--keep-columns] [--chord-lines]\n"
        "              [--notation as-written|german]\n");
    // Every option of the table is explained in --help and in the manual page.
    const std::string manual = ManualOptionsText();
    for (const CliOptionRow& option : CliOptionTable()) {
        const std::string name = option.name;
        EXPECT_NE(HelpText().find("\n  " + (option.alias ? option.alias + std::string(", ") : "") + name),
                  std::string::npos)
            << name;
        std::string tag;
        for (const char c : name)
            tag += c == '-' ? "\\-" : std::string(1, c);
        EXPECT_NE(manual.find(tag + (option.value ? " \" " + std::string(option.value) + "\"\n" : "\n")),
                  std::string::npos)
            << name;
    }
}

TEST(CliJson, EscapesQuotesBackslashesAndControlBytes) {
    EXPECT_EQ(JsonString("C#m7"), "\"C#m7\"");
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(JsonString(std::string(1, '\0')), "\"\\u0000\"");
    EXPECT_EQ(JsonString("\xc3\xa9"), "\"\xc3\xa9\"");
}
