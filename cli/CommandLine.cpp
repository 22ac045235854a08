#include "cli/CommandLine.h"

#include <cstdlib>
#include <initializer_list>

#include "cli/Commands.h"
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

namespace {

// Groups of options that exclude each other.
constexpr int kShiftGroup = 1;
constexpr int kPageGroup = 2;
// One option alone, which its command needs.
constexpr int kFormatGroup = 3;

bool SetHighlighted(bool highlighted, CliOptions& options, std::string& error) {
    if (options.highlighted && *options.highlighted != highlighted) {
        error = "'--plain' and '--highlighted' cannot be used together";
        return false;
    }
    options.highlighted = highlighted;
    return true;
}

} // namespace

const std::vector<CliOptionRow>& CliOptionTable() {
    static const std::vector<CliOptionRow> table = {
        {"--by", nullptr, "N", nullptr, kShiftGroup, false,
         [](const std::string& value, CliOptions& options, std::string& error) {
             options.shift = ParseShift(value);
             if (!options.shift)
                 error = "invalid shift '" + value + "': give a whole number from -6 to +6";
             return options.shift.has_value();
         },
         "Move every chord by N half-tones, N from -6 to +6 (\"+3\",\n"
         "\"3\" and \"-3\" all work).",
         "Move every chord by\n"
         ".I N\n"
         "half-tones, from \\-6 to +6;\n"
         ".BR +3 \", \" 3 \" and \" \\-3\n"
         "all work."},
        {"--easiest", nullptr, nullptr, nullptr, kShiftGroup, false,
         [](const std::string&, CliOptions& options, std::string&) { return options.easiest = true; },
         "Move the song to the easiest shift: the lowest sum of\n"
         "levels among 0, -1, +1, ... -6, +6 (the first tried wins\n"
         "a tie), scored as the song options write it. info reports\n"
         "the chosen shift.",
         "Move the song to the easiest shift: the lowest sum of levels among 0, \\-1,\n"
         "+1, ... \\-6, +6, the first tried winning a tie."},
        {"--plain", nullptr, nullptr, nullptr, kPageGroup, false,
         [](const std::string&, CliOptions& options, std::string& error) {
             return SetHighlighted(false, options, error);
         },
         "render: the page without highlighting.",
         ".BR render :\n"
         "the page without highlighting."},
        {"--highlighted", nullptr, nullptr, nullptr, kPageGroup, false,
         [](const std::string&, CliOptions& options, std::string& error) {
             return SetHighlighted(true, options, error);
         },
         "render: the page with highlighting.\n"
         "Without either, the stored \"AREHIGHLIGHTED\" decides.",
         ".BR render :\n"
         "the page with highlighting."},
        {"--all-chords", nullptr, nullptr, nullptr, 0, true,
         [](const std::string&, CliOptions& options, std::string&) { return options.allChords = true; },
         "Every chord name: also a root followed by a suffix the\n"
         "table lacks (Asus4, Dsus2, Cadd9, Bm7b5, Em(add9), G6,\n"
         "C#dim7, D+). Such a name moves by its root and keeps its\n"
         "suffix, and counts in the score as its base chord: the\n"
         "root, with \"m\" when the suffix starts with \"m\" but not\n"
         "\"maj\" (Bm7b5 counts as Bm, Asus4 as A). It is highlighted\n"
         "without a pop-up.",
         "Every chord name: also a root followed by a suffix the table lacks\n"
         ".RB ( Asus4 \", \" Cadd9 \", \" Bm7b5 \", \" G6 \", \" C#dim7 ).\n"
         "Such a name moves by its root and keeps its suffix, and counts in the score\n"
         "as its base chord.\n"
         "Overrides\n"
         ".BR ALLCHORDS ."},
        {"--spelling", nullptr, "S", "as-written|sharps|flats|key", 0, true,
         [](const std::string& value, CliOptions& options, std::string& error) {
             options.spelling = SpellingOfName(value);
             if (!options.spelling)
                 error = "invalid spelling '" + value + "': give as-written, sharps, flats or key";
             return options.spelling.has_value();
         },
         "How the moved names are spelled, at any shift but 0:\n"
         "as-written  each in the family of its own root: C up\n"
         "            one is C#, Db up one is D and up two Eb\n"
         "            (the default);\n"
         "sharps      C C# D D# E F F# G G# A A# B;\n"
         "flats       C Db D Eb E F Gb G Ab A Bb B;\n"
         "key         each root as the scale degree it is in the\n"
         "            key the song moves to: the key's letters for\n"
         "            its own notes, flats for bII bIII bVI bVII,\n"
         "            sharps for #IV and a minor key's leading\n"
         "            note; the key as \"key\" of info says.",
         "How the moved names are written:\n"
         ".B as\\-written\n"
         "(each in the family of its own root, the default),\n"
         ".BR sharps ,\n"
         ".B flats\n"
         "or\n"
         ".B key\n"
         "(each root as the scale degree it is in the key the song moves to, the key\n"
         "being the one the key finder hears in the song's chords).\n"
         "Overrides\n"
         ".BR SPELLING ."},
        {"--keep-columns", nullptr, nullptr, nullptr, 0, true,
         [](const std::string&, CliOptions& options, std::string&) { return options.keepColumns = true; },
         "Keep chords over the syllables they belong to: a name\n"
         "that grew by d bytes takes up to d spaces from the run\n"
         "of two or more spaces after it, leaving one; a name that\n"
         "shrank by d bytes and is followed by a space gets d\n"
         "spaces after it. Nothing else moves.",
         "Keep the chords over the syllables they belong to: a name that grew takes\n"
         "spaces from a run of two or more after it, a name that shrank gets spaces\n"
         "after it.\n"
         "Overrides\n"
         ".BR KEEPCOLUMNS ;\n"
         "not for\n"
         ".BR capo ."},
        {"--chord-lines", nullptr, nullptr, nullptr, 0, true,
         [](const std::string&, CliOptions& options, std::string&) { return options.chordLines = true; },
         "Read the song as a guitarist does: chord names count\n"
         "only on chord lines (and in [brackets]), where bar lines\n"
         "and beats part them; lyrics, titles and prose are never\n"
         "touched; a slash chord's bass note moves as a note and\n"
         "scores nothing.",
         "Read the song as a guitarist does: chord names count only on chord lines\n"
         "(lines of chords, bar lines, beats, repeats and fingerings, with at most a\n"
         "word or two besides) and in ChordPro brackets; lyrics, titles and prose are\n"
         "never touched, and a slash chord's bass note moves with it as a note that\n"
         "scores nothing.\n"
         "Overrides\n"
         ".BR CHORDLINES ."},
        {"--notation", nullptr, "N", "as-written|german", 0, true,
         [](const std::string& value, CliOptions& options, std::string& error) {
             Notation notation = Notation::AsWritten;
             if (!NotationOfName(value, notation)) {
                 error = "invalid notation '" + value + "': give as-written or german";
                 return false;
             }
             options.notation = notation;
             return true;
         },
         "How the song writes its roots: as-written (the default)\n"
         "or german, where H is B, B is B flat and \"mi\" or \"moll\"\n"
         "says minor (Ami, Hmi7, Cmoll); moved names are written\n"
         "the same way (--notation german --by 2: Ami is Hmi, H is\n"
         "C#) and score as the table's matching chords.",
         "How the song writes its roots:\n"
         ".B as\\-written\n"
         "(the default) or\n"
         ".BR german ,\n"
         "where H is B, B is B flat and \"mi\" or \"moll\" says minor; moved names are\n"
         "written the same way\n"
         ".RB ( \"\\-\\-notation german \\-\\-by 2\"\n"
         "moves Ami to Hmi).\n"
         "Overrides\n"
         ".BR NOTATION ."},
        {"--default-levels", nullptr, nullptr, nullptr, 0, false,
         [](const std::string&, CliOptions& options, std::string&) { return options.defaultLevels = true; },
         "Use the table's default difficulty levels instead of the\n"
         "stored ones.",
         "Use the table's default difficulty levels instead of the stored ones."},
        {"--to", nullptr, "FORMAT", nullptr, kFormatGroup, false,
         [](const std::string& value, CliOptions& options, std::string& error) {
             if (value != "chordpro" && value != "text")
                 error = "invalid format '" + value + "': give chordpro or text";
             options.convertTo = value;
             return error.empty();
         },
         "convert: the form to write, chordpro or text.",
         ".BR convert :\n"
         "the form to write,\n"
         ".B chordpro\n"
         "or\n"
         ".BR text ."},
        {"-o", nullptr, "OUT", nullptr, 0, false,
         [](const std::string& value, CliOptions& options, std::string& error) {
             if (value.empty())
                 error = "option '-o' needs a file name";
             options.outputPath = value;
             return !value.empty();
         },
         "Write to OUT instead of standard output. OUT is replaced\n"
         "in one step through a temporary file in its folder; on\n"
         "failure it is left as it was.",
         "Write to\n"
         ".I OUT\n"
         "instead of standard output.\n"
         ".I OUT\n"
         "is replaced in one step through a temporary file in its folder and a rename;\n"
         "on failure it is left as it was.\n"
         "A device or a named pipe (such as\n"
         ".BR /dev/stdout )\n"
         "is written through and never replaced; a folder is refused.\n"
         ".I OUT\n"
         "may be\n"
         ".I FILE\n"
         "itself."},
        {"--picture", nullptr, "FILE", nullptr, 0, false,
         [](const std::string& value, CliOptions& options, std::string& error) {
             if (value.empty())
                 error = "option '--picture' needs a file name";
             options.picturePath = value;
             return !value.empty();
         },
         "chord: also write the fingering's picture, as the\n"
         "pop-ups show it, to FILE as a GIF image.",
         ".BR chord :\n"
         "also write the fingering's picture, as the pop-ups show it, to\n"
         ".I FILE\n"
         "as a GIF image."},
        // Answered before any command looks at its arguments.
        {"--help", "-h", nullptr, nullptr, 0, false, nullptr, "Show this help.", "Show the full explanation."},
        {"--version", nullptr, nullptr, nullptr, 0, false, nullptr, "Show the version (as the only argument).",
         "Show the version (as the only argument)."},
        {"--", nullptr, nullptr, nullptr, 0, false, nullptr, "End of options; the next argument is FILE.",
         "End of options; the next argument is\n"
         ".IR FILE ."},
    };
    return table;
}

namespace {

std::optional<std::size_t> IndexOfOption(const std::string& name) {
    const std::vector<CliOptionRow>& table = CliOptionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (name == table[i].name)
            return i;
    }
    return std::nullopt;
}

// A command's set of options from their names; "SONG-OPTIONS" stands for
// every song option, so a new one reaches each command that takes them all.
unsigned Options(std::initializer_list<const char*> names) {
    unsigned set = 0;
    for (const std::string name : names) {
        if (name == "SONG-OPTIONS") {
            const std::vector<CliOptionRow>& table = CliOptionTable();
            for (std::size_t i = 0; i < table.size(); ++i)
                set |= table[i].songOption ? OptionBit(i) : 0;
        } else if (const std::optional<std::size_t> index = IndexOfOption(name)) {
            set |= OptionBit(*index);
        } else {
            std::abort(); // a command names an option the table lacks
        }
    }
    return set;
}

} // namespace

const std::vector<CliCommandRow>& CliCommandTable() {
    static const std::vector<CliCommandRow> table = {
        {CliCommand::Info, "info", RunInfoCommand, "FILE",
         Options({"--by", "--easiest", "SONG-OPTIONS", "--default-levels"}), 0, 0,
         "Print one line of JSON about the song moved by the shift:\n"
         "  {\"shift\": S, \"score\": N, \"distinctCount\": N, \"distinct\": [...],\n"
         "   \"count\": N, \"occurrences\": [{\"name\": \"Am\", \"offset\": 12}, ...],\n"
         "   \"untouched\": [...], \"key\": \"G\"}\n"
         "\"score\" is the sum of the difficulty levels of the distinct\n"
         "chords; \"offset\" is the byte offset of the chord in the song as\n"
         "transpose writes it (without the added title line and header).\n"
         "\"untouched\" lists the chord names outside the 85 (Asus4,\n"
         "Bm7b5, ...) that stay as written, each once, none with\n"
         "--all-chords; then, with --chord-lines, each fingering legend\n"
         "the shift leaves as written, name and shapes, because a shape\n"
         "would leave the neck or take more than a hand (\"B7 (x21202)\").\n"
         "\"key\" is the key of the song at the shift as\n"
         "heard from its chords (how often each comes, the first and the\n"
         "last, how well they fit each major and minor key; with\n"
         "--chord-lines those on chord lines only): its tonic, with \"m\"\n"
         "for a minor key; null for a song without chords. Without --by or\n"
         "--easiest the shift is 0."},
        {CliCommand::Transpose, "transpose", RunTransposeCommand, "FILE",
         Options({"--by", "--easiest", "SONG-OPTIONS", "--default-levels", "-o"}), kShiftGroup, 0,
         "Write the song moved by the shift, byte for byte as the\n"
         "program's Save writes it: the song's own bytes with the chords\n"
         "moved, nothing added."},
        {CliCommand::Render, "render", RunRenderCommand, "FILE",
         Options({"--by", "--easiest", "--plain", "--highlighted", "SONG-OPTIONS", "--default-levels", "-o"}), 0, 0,
         "Write the display page, byte for byte as the program writes its\n"
         "display file \"QuavernFile.htm\": highlighted (chords wrapped in\n"
         "the stored highlight tags, then the pop-up block) or plain. The\n"
         "chord pictures are referred to as \"Pics/\" in the current folder."},
        // The song is looked at from every fret, so a shift, the columns and
        // an output file mean nothing here; they are named as such.
        {CliCommand::Capo, "capo", RunCapoCommand, "FILE",
         Options({"--all-chords", "--spelling", "--chord-lines", "--notation", "--default-levels"}), 0,
         Options({"--by", "--easiest", "--keep-columns", "-o"}),
         "Print one line of JSON: for a capo on fret 0 to 7, the shapes\n"
         "played (the song moved down that many half-tones, down 7 being\n"
         "up 5) and their score, as info gives \"distinct\" and \"score\" at\n"
         "that shift; \"best\" is the capo with the lowest score, the lowest\n"
         "one on a tie:\n"
         "  {\"capos\": [{\"capo\": 0, \"score\": N, \"shapes\": [\"G\", \"C\"]}, ...],\n"
         "   \"best\": B}"},
        // A chord, not a song: no settings, and of the song options only how roots are written.
        {CliCommand::Chord, "chord", RunChordCommand, "NAME", Options({"--notation", "--picture"}), 0, 0,
         "Print a fingering of the chord NAME in standard tuning, from the\n"
         "low E string up, \"x\" for a string not played: x02210 for Am.\n"
         "The 85 names of the table keep their own fingering. Any other\n"
         "root with a suffix (Asus4, Bm7b5, Cadd9, G6, E7sus4) and an\n"
         "optional bass after a slash (D/F#) gets the first of its\n"
         "playable fingerings: the lowest position, then the most open\n"
         "strings, then the fewest fingers. A name it cannot read exits 2.\n"
         "With --notation german NAME is read the German way (Hmi, H7, B,\n"
         "Cmoll: B minor, B7, B flat, C minor). With --picture FILE it also\n"
         "writes the picture of the fingering."},
        {CliCommand::Convert, "convert", RunConvertCommand, "FILE", Options({"--to", "-o"}), kFormatGroup, 0,
         "Write a text song (chords over lyrics) as a ChordPro song, or a\n"
         "ChordPro song (.cho .chopro .chordpro .crd .pro) as chords over\n"
         "lyrics. To ChordPro, each chord goes into the lyric line below\n"
         "it at its column, a line of chords alone stays a line of\n"
         "bracketed chords and the first line becomes the title. To text,\n"
         "each chord stands over its syllable, and the title, subtitle,\n"
         "comments, key and capo become lines of their own. A song already\n"
         "in the asked form is written as it is; an HTML song is refused."},
    };
    return table;
}

std::optional<CliCommand> CommandOfName(const std::string& name) {
    for (const CliCommandRow& row : CliCommandTable()) {
        if (name == row.name)
            return row.command;
    }
    return std::nullopt;
}

namespace {

const CliCommandRow& RowOf(CliCommand command) {
    for (const CliCommandRow& row : CliCommandTable()) {
        if (row.command == command)
            return row;
    }
    std::abort(); // every command has its row
}

bool IsHelpOption(const std::string& arg) {
    const CliOptionRow& help = CliOptionTable()[*IndexOfOption("--help")];
    return arg == help.name || arg == help.alias;
}

// How one option of a group is written where the group is asked for: "--by N".
std::string Form(const CliOptionRow& option) {
    return option.value ? std::string(option.name) + ' ' + option.value : std::string(option.name);
}

// The reason when options of one group were mixed or the command's needed
// group is missing; empty when the given set is fine.
std::string GroupError(const CliCommandRow& row, unsigned given) {
    const std::vector<CliOptionRow>& table = CliOptionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            if (table[i].group != 0 && table[i].group == table[j].group && (given & OptionBit(i)) &&
                (given & OptionBit(j)))
                return "'" + std::string(table[i].name) + "' and '" + table[j].name + "' cannot be used together";
        }
    }
    if (row.requiredGroup == 0)
        return {};
    std::string forms;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].group != row.requiredGroup || !(row.options & OptionBit(i)))
            continue;
        if (given & OptionBit(i))
            return {};
        forms += (forms.empty() ? "'" : " or '") + Form(table[i]) + "'";
    }
    return std::string(row.name) + " needs " + forms;
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

    const CliCommandRow& row = RowOf(command);
    const std::vector<CliOptionRow>& table = CliOptionTable();
    unsigned given = 0;
    bool haveFile = false;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !onlyFiles && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (haveFile) {
                error = "too many arguments: '" + arg + "' (one " + row.operand + " only)";
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
        std::optional<std::size_t> index = IndexOfOption(name);
        if (index && (row.refused & OptionBit(*index))) {
            error = "option '" + name + "' does not apply to " + row.name;
            return false;
        }
        if (index && !(row.options & OptionBit(*index)))
            index.reset();
        // An option this command does not know takes no value either.
        const bool takesValue = index && table[*index].value;
        if (!takesValue && value) {
            error = "option '" + name + "' takes no value";
            return false;
        }
        if (!index) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (takesValue && !value) {
            if (i + 1 >= args.size()) {
                error = "option '" + name + "' needs a value";
                return false;
            }
            value = args[++i];
        }
        if (takesValue && (given & OptionBit(*index))) {
            error = "option '" + name + "' given twice";
            return false;
        }
        given |= OptionBit(*index);
        if (!table[*index].apply(value.value_or(std::string()), options, error))
            return false;
    }

    error = GroupError(row, given);
    if (!error.empty())
        return false;
    if (!haveFile) {
        error = std::string("missing ") + row.operand;
        return false;
    }
    return true;
}
