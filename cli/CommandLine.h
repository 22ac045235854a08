#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "engine/SongOptions.h"

class ISettingsStore;

/// The things quavern-cli does to a song.
enum class CliCommand { Info, Transpose, Render, Capo, Chord, Convert };

/// What the user asked for on the command line of one subcommand.
struct CliOptions {
    CliCommand command = CliCommand::Info;
    /// --by N; unset when no shift was given.
    std::optional<int> shift;
    /// --easiest: move the song to the shift the easiest search chooses.
    bool easiest = false;
    /// --plain or --highlighted; unset follows the stored "AREHIGHLIGHTED".
    std::optional<bool> highlighted;
    /// --default-levels: the table's default levels instead of the stored ones.
    bool defaultLevels = false;
    /// --all-chords: every chord name, whatever "ALLCHORDS" says.
    bool allChords = false;
    /// --spelling WORD; unset follows the stored "SPELLING".
    std::optional<Spelling> spelling;
    /// --keep-columns: keep chord columns, whatever "KEEPCOLUMNS" says.
    bool keepColumns = false;
    /// --chord-lines: read chord lines only, whatever "CHORDLINES" says.
    bool chordLines = false;
    /// --notation WORD; unset follows the stored "NOTATION".
    std::optional<Notation> notation;
    /// --to FORMAT of convert: "chordpro" or "text"; empty when not given.
    std::string convertTo;
    /// -o OUT; empty writes to standard output.
    std::string outputPath;
    /// --picture FILE of chord; empty writes no picture.
    std::string picturePath;
    /// The song file as given, or the chord name of chord.
    std::string filePath;
    /// --help anywhere among the arguments.
    bool help = false;
};

/// One option, declared once: the parser, the usage, --help and the manual
/// page's option list are all made from these rows.
struct CliOptionRow {
    /// As typed: "--by", "-o".
    const char* name;
    /// A shorter spelling shown before the name ("-h"), or nullptr.
    const char* alias;
    /// What follows it in the usage and the help ("N", "OUT"), or nullptr
    /// for an option that takes no value.
    const char* value;
    /// The words the value may be, for the SONG OPTIONS line, or nullptr.
    const char* choices;
    /// Options of one group exclude each other and share one bracket in the
    /// usage; 0 for an option of its own.
    int group;
    /// Listed under "Song options": how a song is read and written, like
    /// the desktop program's stored song options it goes before.
    bool songOption;
    /// Stores the value (empty for an option without one). On a bad value
    /// returns false with a one-line reason. Null for the options the
    /// program answers before any command.
    bool (*apply)(const std::string& value, CliOptions& options, std::string& error);
    /// Its explanation in --help; later lines are indented under the first.
    const char* help;
    /// Its paragraph in the manual page, in roff.
    const char* manual;
};

/// One subcommand: its name, the options it takes and what runs it.
struct CliCommandRow {
    CliCommand command;
    const char* name;
    /// Runs it on the arguments after its name (see Commands.h).
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore* store);
    /// What it works on, named in the usage and the errors: "FILE".
    const char* operand;
    /// The options it takes, a set of OptionBit(index into CliOptionTable).
    unsigned options;
    /// The group one of whose options it needs, 0 for none.
    int requiredGroup;
    /// Options of the other commands it names as not its own rather than unknown.
    unsigned refused;
    /// Its explanation in --help; later lines are indented under the first.
    const char* help;
};

/// Every option, in the order the usage, --help and the manual list them.
const std::vector<CliOptionRow>& CliOptionTable();
/// Every subcommand, in the order of the usage and --help.
const std::vector<CliCommandRow>& CliCommandTable();
/// The bit of the option at this index of CliOptionTable in a command's set.
constexpr unsigned OptionBit(std::size_t index) {
    return 1u << index;
}

/// The shift of "--by": a whole number -6..+6, with or without a sign.
std::optional<int> ParseShift(const std::string& text);

/// Reads the arguments that follow the subcommand's name. On a usage error
/// returns false with a one-line reason.
bool ParseCommandArguments(CliCommand command, const std::vector<std::string>& args, CliOptions& options,
                           std::string& error);

/// The command's name as typed ("info", "transpose", "render", "capo", "chord"), or nothing.
std::optional<CliCommand> CommandOfName(const std::string& name);

/// The short usage printed after a usage error.
const std::string& UsageText();
/// The full explanation printed by --help.
const std::string& HelpText();
/// The OPTIONS section of the manual page quavern-cli(1), in roff.
std::string ManualOptionsText();
