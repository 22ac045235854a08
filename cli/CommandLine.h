#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/SongOptions.h"

/// The things quavern-cli does to a song.
enum class CliCommand { Info, Transpose, Render, Capo };

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
    /// -o OUT; empty writes to standard output.
    std::string outputPath;
    /// The song file as given.
    std::string filePath;
    /// --help anywhere among the arguments.
    bool help = false;
};

/// The shift of "--by": a whole number -6..+6, with or without a sign.
std::optional<int> ParseShift(const std::string& text);

/// Reads the arguments that follow the subcommand's name. On a usage error
/// returns false with a one-line reason.
bool ParseCommandArguments(CliCommand command, const std::vector<std::string>& args, CliOptions& options,
                           std::string& error);

/// The command's name as typed ("info", "transpose", "render", "capo"), or nothing.
std::optional<CliCommand> CommandOfName(const std::string& name);

/// The short usage printed after a usage error.
const char* UsageText();
/// The full explanation printed by --help.
const char* HelpText();
