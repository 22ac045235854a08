#pragma once

#include "base/Messages.h"

/// Shows the program's messages as modal boxes captioned "Quavern 3.0",
/// owned by the window the user is working in.
class CQtMessageSink final : public IMessageSink {
public:
    void ShowMessage(const std::string& text) override;
    void ShowFatal(const std::string& text) override;
};

inline constexpr const char* kApplicationName = "Quavern 3.0";
