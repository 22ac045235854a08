#include "cli/CliSettings.h"

CliSettings ReadCliSettings(const ISettingsStore& store) {
    const DisplaySettings stored = ReadDisplaySettings(store);
    CliSettings settings;
    settings.highlight = stored.highlight;
    settings.highlighted = stored.highlighted != 0;
    settings.options = stored.options;
    return settings;
}
