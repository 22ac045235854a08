#pragma once

#include <string>

/// How the core speaks to the user. The desktop program shows modal boxes,
/// the command-line tool writes to standard error, tests record the texts.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    /// Shows one message and returns when the user has acknowledged it.
    virtual void ShowMessage(const std::string& text) = 0;
    /// Shows the message of an unrecoverable error. The caller ends the
    /// process with status 1 right after it returns.
    virtual void ShowFatal(const std::string& text) = 0;
};

/// Installs the sink the core reports through; nullptr restores the default
/// one, which writes to standard error. Returns the previous sink.
IMessageSink* SetMessageSink(IMessageSink* sink);

/// Shows a message through the current sink.
void ShowMessage(const std::string& text);

/// While one exists, ShowMessage shows each text once and drops its repeats.
/// The programs hold one for each user command: a songbook past the chord
/// capacity then reports it once per command, not once for every chord name
/// of every detection (finding the easiest key detects 28 times). Scopes
/// nest; the outermost one decides what counts as a repeat.
class CMessageOnceScope final {
public:
    CMessageOnceScope();
    ~CMessageOnceScope();
    CMessageOnceScope(const CMessageOnceScope&) = delete;
    CMessageOnceScope& operator=(const CMessageOnceScope&) = delete;
};

/// Shows the message through the current sink, then ends the process with
/// status 1. Nothing changed in memory is saved.
[[noreturn]] void FatalError(const std::string& text);
