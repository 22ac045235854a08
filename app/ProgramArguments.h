#pragma once

#include <QString>
#include <QStringList>

/// What the desktop program's command line asks for.
struct ProgramArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    /// The songs named, in order; the program opens the first.
    QStringList songs;
    /// For UsageError: what is wrong, in one line.
    QString error;
};

/// Reads the arguments after the program's name. "--help" (or "-h") and
/// "--version" anywhere before "--" win over everything else, so they can
/// be answered before Qt has taken its own options; any other argument
/// starting with "-" before "--" is a usage error, and every other one a song.
ProgramArguments ParseProgramArguments(const QStringList& arguments);

/// The text "quavern --help" prints, which the manual page quavern(1) follows.
const char* ProgramHelpText();
