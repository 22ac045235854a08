#include "cli/StreamMessageSink.h"

#include <ostream>

CStreamMessageSink::CStreamMessageSink(std::ostream& stream) : m_stream(stream), m_previous(SetMessageSink(this)) {}

CStreamMessageSink::~CStreamMessageSink() {
    SetMessageSink(m_previous);
}

void CStreamMessageSink::ShowMessage(const std::string& text) {
    m_stream << text;
    if (text.empty() || text.back() != '\n')
        m_stream << '\n';
    m_stream.flush();
}

void CStreamMessageSink::ShowFatal(const std::string& text) {
    // The process ends right after this returns: the text must be out by then.
    ShowMessage(text);
}
