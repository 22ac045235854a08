#pragma once

#include <string>
#include <vector>

#include "base/Messages.h"

/// Records every message the core shows instead of showing it, in order; a
/// fatal message is recorded as kFatalPrefix + its text. Installs itself as
/// the message sink for its lifetime and puts the previous sink back when
/// it goes, so recorders nest as scopes do.
class CRecordingMessageSink final : public IMessageSink {
public:
    static constexpr const char* kFatalPrefix = "FATAL: ";

    CRecordingMessageSink();
    ~CRecordingMessageSink() override;
    CRecordingMessageSink(const CRecordingMessageSink&) = delete;
    CRecordingMessageSink& operator=(const CRecordingMessageSink&) = delete;

    void ShowMessage(const std::string& text) override;
    void ShowFatal(const std::string& text) override;

    const std::vector<std::string>& Messages() const { return messages; }
    /// The messages recorded so far; the record starts empty again.
    std::vector<std::string> Take();
    void Clear() { messages.clear(); }

    /// The record itself, for tests that count or clear it in place.
    std::vector<std::string> messages;

private:
    IMessageSink* m_previous;
};
