#pragma once

#include <string>

/// The bytes as a JSON string literal, quotes included: quote, backslash and
/// control bytes escaped; other bytes are copied unchanged.
std::string JsonString(const std::string& bytes);
