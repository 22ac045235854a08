#include "tests/support/RecordingMessageSink.h"

CRecordingMessageSink::CRecordingMessageSink() : m_previous(SetMessageSink(this)) {}

CRecordingMessageSink::~CRecordingMessageSink() {
    SetMessageSink(m_previous);
}

void CRecordingMessageSink::ShowMessage(const std::string& text) {
    messages.push_back(text);
}

void CRecordingMessageSink::ShowFatal(const std::string& text) {
    messages.push_back(kFatalPrefix + text);
}

std::vector<std::string> CRecordingMessageSink::Take() {
    std::vector<std::string> taken;
    taken.swap(messages);
    return taken;
}
