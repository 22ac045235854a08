#pragma once

#include <string>

#include "render/Highlight.h"

class ISettingsStore;

/// The settings of the desktop program that shape the display page.
struct CliSettings {
    HighlightSettings highlight;
    /// "AREHIGHLIGHTED": whether the page is highlighted or plain.
    bool highlighted = true;
};

/// Reads "BOLD", "ITALIC", "UNDERLINE", "USECOLOR", "INFOBULLE", "RED",
/// "GREEN", "BLUE" and "AREHIGHLIGHTED" with the program's defaults. Each
/// colour value is masked to 8 bits, as the program does.
CliSettings ReadCliSettings(const ISettingsStore& store);

/// The picture prefix the program forms in this folder: the absolute path of
/// "Pics/", ending with "/", or empty when it is longer than 1000 characters.
std::string PicturePrefixFor(const std::string& currentFolder);
