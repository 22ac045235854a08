#pragma once

// The tags a display page wraps around one chord name. Both the whole page
// (Highlight) and the page in parts (ChordWrapping) build on them, so they
// sit below both.

#include <string>

#include "render/DisplaySettings.h"

/// Six lower-case hexadecimal digits, red then green then blue.
std::string ColorText(int color);

/// The opening and closing tags wrapped around one chord name.
std::string HighlightOpening(const std::string& name, const HighlightSettings& settings);
std::string HighlightClosing(const HighlightSettings& settings);
