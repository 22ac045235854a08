#include "cli/CommandLine.h"

#include "engine/Shift.h"

std::optional<int> ParseShift(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kMaxShift) // also keeps a long run of digits from overflowing
            return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<CliCommand> CommandOfName(const std::string& name) {
    if (name == "info")
        return CliCommand::Info;
    if (name == "transpose")
        return CliCommand::Transpose;
    if (name == "render")
        return CliCommand::Render;
    return std::nullopt;
}

namespace {

bool IsHelpOption(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

bool ParseCommandArguments(CliCommand command, const std::vector<std::string>& args, CliOptions& options,
                           std::string& error) {
    options = CliOptions{};
    options.command = command;
    for (const std::string& arg : args) {
        if (IsHelpOption(arg)) {
            options.help = true;
            return true;
        }
        if (arg == "--")
            break;
    }

    bool haveFile = false;
    bool haveOutput = false;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !onlyFiles && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (haveFile) {
                error = "too many arguments: '" + arg + "' (one FILE only)";
                return false;
            }
            options.filePath = arg;
            haveFile = true;
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }

        // Options with a value take it from "--by=N" or from the next argument,
        // which may start with "-" ("--by -3").
        std::string name = arg;
        std::optional<std::string> value;
        const std::size_t equals = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const bool takesValue = name == "--by" || (name == "-o" && command != CliCommand::Info);
        if (!takesValue && value) {
            error = "option '" + name + "' takes no value";
            return false;
        }
        if (takesValue && !value) {
            if (i + 1 >= args.size()) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            value = args[++i];
        }

        if (name == "--by") {
            if (options.shift) {
                error = "option '--by' given twice";
                return false;
            }
            options.shift = ParseShift(*value);
            if (!options.shift) {
                error = "invalid shift '" + *value + "': give a whole number from -6 to +6";
                return false;
            }
        } else if (name == "--easiest") {
            options.easiest = true;
        } else if (name == "--default-levels") {
            options.defaultLevels = true;
        } else if (name == "-o" && takesValue) {
            if (haveOutput) {
                error = "option '-o' given twice";
                return false;
            }
            if (value->empty()) {
                error = "option '-o' needs a file name";
                return false;
            }
            options.outputPath = *value;
            haveOutput = true;
        } else if ((name == "--plain" || name == "--highlighted") && command == CliCommand::Render) {
            const bool highlighted = name == "--highlighted";
            if (options.highlighted && *options.highlighted != highlighted) {
                error = "'--plain' and '--highlighted' cannot be used together";
                return false;
            }
            options.highlighted = highlighted;
        } else {
            error = "unknown option '" + name + "'";
            return false;
        }
    }

    if (options.shift && options.easiest) {
        error = "'--by' and '--easiest' cannot be used together";
        return false;
    }
    if (command == CliCommand::Transpose && !options.shift && !options.easiest) {
        error = "transpose needs '--by N' or '--easiest'";
        return false;
    }
    if (!haveFile) {
        error = "missing FILE";
        return false;
    }
    return true;
}

const char* UsageText() {
    return "Usage: quavern-cli info [--by N | --easiest] [--default-levels] FILE\n"
           "       quavern-cli transpose (--by N | --easiest) [--default-levels] [-o OUT] FILE\n"
           "       quavern-cli render [--by N | --easiest] [--plain | --highlighted] [--default-levels] [-o OUT] "
           "FILE\n"
           "       quavern-cli --help\n";
}

const char* HelpText() {
    return R"(quavern-cli - find, score and transpose the chords of a song (Quavern 3.0)

Usage: quavern-cli info [--by N | --easiest] [--default-levels] FILE
       quavern-cli transpose (--by N | --easiest) [--default-levels] [-o OUT] FILE
       quavern-cli render [--by N | --easiest] [--plain | --highlighted] [--default-levels] [-o OUT] FILE
       quavern-cli --help

FILE is a song: a .htm or .html file is read as HTML, any other file as a
text song. It is prepared exactly as the desktop program opens it: a title
line built from the file's absolute path, and for a text song the page
header and footer around its bytes. Chords are the 85 names the program
knows (C, C#, Db, ... B with "", "m", "7", "m7", "maj7") standing between
delimiters; "Maj7" is read as "maj7".

Commands:
  info       Print one line of JSON about the song moved by the shift:
               {"shift": S, "score": N, "distinctCount": N, "distinct": [...],
                "count": N, "occurrences": [{"name": "Am", "offset": 12}, ...]}
             "score" is the sum of the difficulty levels of the distinct
             chords; "offset" is the byte offset of the chord in the song as
             transpose writes it (without the added title line and header).
             Without --by or --easiest the shift is 0.
  transpose  Write the song moved by the shift, byte for byte as the
             program's Save writes it: the song's own bytes with the chords
             moved, nothing added.
  render     Write the display page, byte for byte as the program writes its
             display file "QuavernFile.htm": highlighted (chords wrapped in
             the stored highlight tags, then the pop-up block) or plain. The
             chord pictures are referred to as "Pics/" in the current folder.

Options:
  --by N            Move every chord by N half-tones, N from -6 to +6 ("+3",
                    "3" and "-3" all work).
  --easiest         Move the song to the easiest shift: the lowest sum of
                    levels among 0, -1, +1, ... -6, +6 (the first tried wins
                    a tie). info reports the chosen shift.
  --plain           render: the page without highlighting.
  --highlighted     render: the page with highlighting.
                    Without either, the stored "AREHIGHLIGHTED" decides.
  --default-levels  Use the table's default difficulty levels instead of the
                    stored ones.
  -o OUT            Write to OUT instead of standard output. OUT is replaced
                    in one step through a temporary file in its folder; on
                    failure it is left as it was.
  -h, --help        Show this help.
  --                End of options; the next argument is FILE.

Settings: the difficulty levels ("ZDifficultyLevel.Q.S") and the highlight
settings (BOLD, ITALIC, UNDERLINE, USECOLOR, INFOBULLE, RED, GREEN, BLUE,
AREHIGHLIGHTED) are read, never written, from the desktop program's
settings file $XDG_CONFIG_HOME/KV20481733PW/KV20481733PW.ini (by default
under ~/.config), section [KV20481733PW]. Missing values take the
program's defaults: bold blue chords with pop-ups, highlighted.

Messages and exit status:
  0  success, whatever the number of chords in the song.
  1  FILE cannot be read, OUT cannot be written (OUT is left as it was), or
     a stored difficulty level lies outside 1..5 ("Error setting a
     difficulty : difficulty incorrect").
  2  usage error: unknown command or option, missing FILE, a shift that is
     not a whole number from -6 to +6. A one-line message and the usage go
     to standard error and nothing is written.

Examples:
  quavern-cli info song.txt
  quavern-cli transpose --by -2 -o song-down2.txt song.txt
  quavern-cli transpose --easiest song.htm > easy.htm
  quavern-cli render --by +3 --plain -o page.htm song.txt
)";
}
