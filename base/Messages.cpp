#include "base/Messages.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

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

// The texts shown since the outermost CMessageOnceScope began.
int g_onceDepth = 0;
std::vector<std::string> g_shownOnce;

} // namespace

IMessageSink* SetMessageSink(IMessageSink* sink) {
    IMessageSink* previous = g_sink;
    g_sink = sink ? sink : &g_stderrSink;
    return previous;
}

void ShowMessage(const std::string& text) {
    if (g_onceDepth > 0) {
        for (const std::string& shown : g_shownOnce) {
            if (shown == text)
                return;
        }
        g_shownOnce.push_back(text);
    }
    g_sink->ShowMessage(text);
}

CMessageOnceScope::CMessageOnceScope() {
    ++g_onceDepth;
}

CMessageOnceScope::~CMessageOnceScope() {
    if (--g_onceDepth == 0)
        g_shownOnce.clear();
}

void FatalError(const std::string& text) {
    g_sink->ShowFatal(text);
    std::exit(1);
}
