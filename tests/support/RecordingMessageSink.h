#pragma once

#include <string>
#include <vector>

#include "chords/Messages.h"

/// Records every message the core shows instead of showing it. Installs
/// itself as the message sink for its lifetime and puts the previous sink
/// back when it goes.
class CRecordingMessageSink final : public IMessageSink {
public:
    CRecordingMessageSink();
    ~CRecordingMessageSink() override;
    CRecordingMessageSink(const CRecordingMessageSink&) = delete;
    CRecordingMessageSink& operator=(const CRecordingMessageSink&) = delete;

    void ShowMessage(const std::string& text) override;
    void ShowFatal(const std::string& text) override;

    const std::vector<std::string>& Messages() const { return m_messages; }
    const std::vector<std::string>& FatalMessages() const { return m_fatalMessages; }
    void Clear();

private:
    IMessageSink* m_previous;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_fatalMessages;
};
