#pragma once

#include "render/DisplaySettings.h"

class ISettingsStore;

/// The settings of the desktop program that shape the display page and
/// how songs are read and written.
struct CliSettings {
    HighlightSettings highlight;
    /// "AREHIGHLIGHTED": whether the page is highlighted or plain.
    bool highlighted = true;
    /// "ALLCHORDS", "SPELLING", "KEEPCOLUMNS".
    SongOptions options;
};

/// The display settings as the desktop program reads them; any stored
/// "AREHIGHLIGHTED" other than 0 means highlighted.
CliSettings ReadCliSettings(const ISettingsStore& store);
