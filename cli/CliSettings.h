#pragma once

#include "render/DisplaySettings.h"

class ISettingsStore;

/// The settings of the desktop program that shape the display page.
struct CliSettings {
    HighlightSettings highlight;
    /// "AREHIGHLIGHTED": whether the page is highlighted or plain.
    bool highlighted = true;
};

/// The display settings as the desktop program reads them; any stored
/// "AREHIGHLIGHTED" other than 0 means highlighted.
CliSettings ReadCliSettings(const ISettingsStore& store);
