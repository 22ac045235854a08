#pragma once

#include <iosfwd>

#include "base/Messages.h"

/// Shows the core's messages on a stream, one per line, for as long as it
/// lives; the previous sink comes back afterwards.
class CStreamMessageSink final : public IMessageSink {
public:
    explicit CStreamMessageSink(std::ostream& stream);
    ~CStreamMessageSink() override;
    CStreamMessageSink(const CStreamMessageSink&) = delete;
    CStreamMessageSink& operator=(const CStreamMessageSink&) = delete;

    void ShowMessage(const std::string& text) override;
    void ShowFatal(const std::string& text) override;

private:
    std::ostream& m_stream;
    IMessageSink* m_previous;
};
