#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class ISettingsStore;

// The subcommands of quavern-cli. Each takes the arguments after its own
// name, writes its result to out and its messages to err, and returns the
// exit status: 0 success, 1 a file or setting problem, 2 a usage error.
// With a null store the desktop program's settings are read.

/// info: one line of JSON about the song moved by the shift.
int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   ISettingsStore* store = nullptr);
/// transpose: the song moved by the shift, as Save writes it.
int RunTransposeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                        ISettingsStore* store = nullptr);
/// render: the display page of the song moved by the shift.
int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     ISettingsStore* store = nullptr);

/// capo: one line of JSON, the shapes and score for a capo on each fret 0..7.
int RunCapoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   ISettingsStore* store = nullptr);

/// chord: a fingering of one chord name, as "x02210".
int RunChordCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    ISettingsStore* store = nullptr);

/// convert: a text song as ChordPro, or a ChordPro song as text.
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      ISettingsStore* store = nullptr);

/// The whole tool: args are the arguments after the program's name.
int RunQuavernCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  ISettingsStore* store = nullptr);

/// The exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
