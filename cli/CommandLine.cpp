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
    if (name == "capo")
        return CliCommand::Capo;
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
        const bool capo = command == CliCommand::Capo;
        if (capo && (name == "--by" || name == "--easiest" || name == "--keep-columns" || name == "-o")) {
            error = "option '" + name + "' does not apply to capo";
            return false;
        }
        const bool takesValue = name == "--by" || name == "--spelling" || (name == "-o" && command != CliCommand::Info);
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
        } else if (name == "--all-chords") {
            options.allChords = true;
        } else if (name == "--keep-columns") {
            options.keepColumns = true;
        } else if (name == "--spelling") {
            if (options.spelling) {
                error = "option '--spelling' given twice";
                return false;
            }
            options.spelling = SpellingOfName(*value);
            if (!options.spelling) {
                error = "invalid spelling '" + *value + "': give as-written, sharps, flats or key";
                return false;
            }
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
    return "Usage: quavern-cli info [--by N | --easiest] [SONG OPTIONS] [--default-levels] FILE\n"
           "       quavern-cli transpose (--by N | --easiest) [SONG OPTIONS] [--default-levels] [-o OUT] FILE\n"
           "       quavern-cli render [--by N | --easiest] [--plain | --highlighted] [SONG OPTIONS] "
           "[--default-levels]\n"
           "                          [-o OUT] FILE\n"
           "       quavern-cli capo [--all-chords] [--spelling S] [--default-levels] FILE\n"
           "       quavern-cli --help | --version\n"
           "SONG OPTIONS: [--all-chords] [--spelling as-written|sharps|flats|key] [--keep-columns]\n";
}

const char* HelpText() {
    return R"(quavern-cli - find, score and transpose the chords of a song (Quavern 3.0)

Usage: quavern-cli info [--by N | --easiest] [SONG OPTIONS] [--default-levels] FILE
       quavern-cli transpose (--by N | --easiest) [SONG OPTIONS] [--default-levels] [-o OUT] FILE
       quavern-cli render [--by N | --easiest] [--plain | --highlighted] [SONG OPTIONS] [--default-levels]
                          [-o OUT] FILE
       quavern-cli capo [--all-chords] [--spelling S] [--default-levels] FILE
       quavern-cli --help | --version
SONG OPTIONS: [--all-chords] [--spelling as-written|sharps|flats|key] [--keep-columns]

FILE is a song: a .htm or .html file is read as HTML, any other file as a
text song. It is prepared exactly as the desktop program opens it: a title
line built from the file's absolute path, and for a text song the page
header and footer around its bytes. Chords are the 85 names the program
knows (C, C#, Db, ... B with "", "m", "7", "m7", "maj7") standing between
delimiters; "Maj7" is read as "maj7". In an HTML song a name inside a tag
(an attribute, a comment) is markup, not a chord.

Commands:
  info       Print one line of JSON about the song moved by the shift:
               {"shift": S, "score": N, "distinctCount": N, "distinct": [...],
                "count": N, "occurrences": [{"name": "Am", "offset": 12}, ...],
                "untouched": [...], "key": "G"}
             "score" is the sum of the difficulty levels of the distinct
             chords; "offset" is the byte offset of the chord in the song as
             transpose writes it (without the added title line and header).
             "untouched" lists the chord names outside the 85 (Asus4,
             Bm7b5, ...) that stay as written, each once; it is empty with
             --all-chords. "key" is the key guessed from the first chord as
             written at the shift: its root, with "m" when it is minor; null
             for a song without chords. Without --by or --easiest the shift
             is 0.
  transpose  Write the song moved by the shift, byte for byte as the
             program's Save writes it: the song's own bytes with the chords
             moved, nothing added.
  render     Write the display page, byte for byte as the program writes its
             display file "QuavernFile.htm": highlighted (chords wrapped in
             the stored highlight tags, then the pop-up block) or plain. The
             chord pictures are referred to as "Pics/" in the current folder.
  capo       Print one line of JSON: for a capo on fret 0 to 7, the shapes
             played (the song moved down that many half-tones, down 7 being
             up 5) and their score, as info gives "distinct" and "score" at
             that shift; "best" is the capo with the lowest score, the lowest
             one on a tie:
               {"capos": [{"capo": 0, "score": N, "shapes": ["G", "C"]}, ...],
                "best": B}

Options:
  --by N            Move every chord by N half-tones, N from -6 to +6 ("+3",
                    "3" and "-3" all work).
  --easiest         Move the song to the easiest shift: the lowest sum of
                    levels among 0, -1, +1, ... -6, +6 (the first tried wins
                    a tie), scored as the song options write it. info reports
                    the chosen shift.
  --plain           render: the page without highlighting.
  --highlighted     render: the page with highlighting.
                    Without either, the stored "AREHIGHLIGHTED" decides.
  --default-levels  Use the table's default difficulty levels instead of the
                    stored ones.
  -o OUT            Write to OUT instead of standard output. OUT is replaced
                    in one step through a temporary file in its folder; on
                    failure it is left as it was.
  -h, --help        Show this help.
  --version         Show the version (as the only argument).
  --                End of options; the next argument is FILE.

Song options (each off by default, and then every result is as above):
  --all-chords      Every chord name: also a root followed by a suffix the
                    table lacks (Asus4, Dsus2, Cadd9, Bm7b5, Em(add9), G6,
                    C#dim7, D+). Such a name moves by its root and keeps its
                    suffix, and counts in the score as its base chord: the
                    root, with "m" when the suffix starts with "m" but not
                    "maj" (Bm7b5 counts as Bm, Asus4 as A). It is highlighted
                    without a pop-up.
  --spelling S      How the moved names are spelled, at any shift but 0:
                    as-written  each in the family of its own root: C up
                                one is C#, Db up one is D and up two Eb
                                (the default);
                    sharps      C C# D D# E F F# G G# A A# B;
                    flats       C Db D Eb E F Gb G Ab A Bb B;
                    key         as the key the song moves to is written,
                                the key being guessed from its first chord:
                                F Bb Eb Ab Db and Dm Gm Cm Fm Bbm Ebm with
                                flats, G D A E B F# and Em Bm F#m C#m G#m
                                with sharps, C and Am as written.
  --keep-columns    Keep chords over the syllables they belong to: a name
                    that grew by d bytes takes up to d spaces from the run
                    of two or more spaces after it, leaving one; a name that
                    shrank by d bytes and is followed by a space gets d
                    spaces after it. Nothing else moves.

Settings: the difficulty levels ("ZDifficultyLevel.Q.S"), the highlight
settings (BOLD, ITALIC, UNDERLINE, USECOLOR, INFOBULLE, RED, GREEN, BLUE,
AREHIGHLIGHTED) and the song options (ALLCHORDS 0/1, SPELLING 0 as-written,
1 sharps, 2 flats, 3 key, KEEPCOLUMNS 0/1) are read, never written, from the
desktop program's settings file $XDG_CONFIG_HOME/KV20481733PW/KV20481733PW.ini
(by default under ~/.config), section [KV20481733PW]. Missing values take
the program's defaults: bold blue chords with pop-ups, highlighted, song
options off. The options given on the command line go before the stored
ones.

Messages and exit status:
  0  success, whatever the number of chords in the song.
  1  FILE cannot be read, OUT cannot be written (OUT is left as it was), or
     a stored difficulty level lies outside 1..5 ("Error setting a
     difficulty : difficulty incorrect").
  2  usage error: unknown command or option, missing FILE, a shift that is
     not a whole number from -6 to +6, an unknown spelling. A one-line
     message and the usage go to standard error and nothing is written.

Examples:
  quavern-cli info song.txt
  quavern-cli transpose --by -2 -o song-down2.txt song.txt
  quavern-cli transpose --easiest song.htm > easy.htm
  quavern-cli render --by +3 --plain -o page.htm song.txt
With the example song of the source tree, which holds a Dsus4 and a Cadd9:
  quavern-cli info data/example/mill-road.txt
      ... "untouched": ["Dsus4", "Cadd9"], "key": "G"}
  quavern-cli transpose --by -2 --all-chords data/example/mill-road.txt
      moves them to Csus4 and A#add9 with the rest of the song
  quavern-cli transpose --by 1 --spelling key --keep-columns data/example/mill-road.txt
      writes the song in Ab (Ab Db Eb, Fm), chords over their syllables
  quavern-cli capo data/example/mill-road.txt
      ... "best": 7}: capo on fret 7, shapes of C
)";
}
