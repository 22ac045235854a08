#include "tests/support/RecordingMessageSink.h"

CRecordingMessageSink::CRecordingMessageSink() : m_previous(SetMessageSink(this)) {}

CRecordingMessageSink::~CRecordingMessageSink() {
    SetMessageSink(m_previous);
}

void CRecordingMessageSink::ShowMessage(const std::string& text) {
    m_messages.push_back(text);
}

void CRecordingMessageSink::ShowFatal(const std::string& text) {
    m_fatalMessages.push_back(text);
}

void CRecordingMessageSink::Clear() {
    m_messages.clear();
    m_fatalMessages.clear();
}
