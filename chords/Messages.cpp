#include "chords/Messages.h"

#include <cstdio>
#include <cstdlib>

namespace {

class StderrSink final : public IMessageSink {
public:
    void ShowMessage(const std::string& text) override { Write(text); }
    void ShowFatal(const std::string& text) override { Write(text); }

private:
    static void Write(const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), stderr);
        if (text.empty() || text.back() != '\n')
            std::fputc('\n', stderr);
        std::fflush(stderr);
    }
};

StderrSink g_stderrSink;
IMessageSink* g_sink = &g_stderrSink;

} // namespace

IMessageSink* SetMessageSink(IMessageSink* sink) {
    IMessageSink* previous = g_sink;
    g_sink = sink ? sink : &g_stderrSink;
    return previous;
}

void ShowMessage(const std::string& text) {
    g_sink->ShowMessage(text);
}

void FatalError(const std::string& text) {
    g_sink->ShowFatal(text);
    std::exit(1);
}
