#include "render/DisplaySettings.h"

#include "base/SettingsStore.h"

DisplaySettings ReadDisplaySettings(const ISettingsStore& store) {
    const DisplaySettings defaults;
    const HighlightSettings& d = defaults.highlight;
    const auto get = [&store](const char* name, int defaultValue) {
        return store.GetInt(kSettingsSection, name, defaultValue);
    };
    DisplaySettings settings;
    HighlightSettings& h = settings.highlight;
    h.bold = get("BOLD", d.bold);
    h.italic = get("ITALIC", d.italic);
    h.underline = get("UNDERLINE", d.underline);
    h.useColor = get("USECOLOR", d.useColor);
    h.infobulle = get("INFOBULLE", d.infobulle);
    const int red = get("RED", RedOf(d.color));
    const int green = get("GREEN", GreenOf(d.color));
    const int blue = get("BLUE", BlueOf(d.color));
    h.color = PackColor(red, green, blue);
    settings.highlighted = get("AREHIGHLIGHTED", defaults.highlighted);
    settings.lastDirectory = store.GetString(kSettingsSection, "LASTDIRECTORY", defaults.lastDirectory);
    const SongOptions& o = defaults.options;
    settings.options.allChords = get("ALLCHORDS", o.allChords ? 1 : 0) != 0;
    settings.options.spelling = SpellingOfValue(get("SPELLING", static_cast<int>(o.spelling)));
    settings.options.keepColumns = get("KEEPCOLUMNS", o.keepColumns ? 1 : 0) != 0;
    settings.options.chordLines = get("CHORDLINES", o.chordLines ? 1 : 0) != 0;
    settings.options.notation = NotationOfValue(get("NOTATION", static_cast<int>(o.notation)));
    return settings;
}

void WriteDisplaySettings(ISettingsStore& store, const DisplaySettings& settings) {
    const auto put = [&store](const char* name, int value) { store.WriteInt(kSettingsSection, name, value); };
    const HighlightSettings& h = settings.highlight;
    put("BOLD", h.bold);
    put("ITALIC", h.italic);
    put("UNDERLINE", h.underline);
    put("USECOLOR", h.useColor);
    put("INFOBULLE", h.infobulle);
    put("BLUE", BlueOf(h.color));
    put("RED", RedOf(h.color));
    put("GREEN", GreenOf(h.color));
    put("AREHIGHLIGHTED", settings.highlighted);
    store.WriteString(kSettingsSection, "LASTDIRECTORY", settings.lastDirectory);
    put("ALLCHORDS", settings.options.allChords ? 1 : 0);
    put("SPELLING", static_cast<int>(settings.options.spelling));
    put("KEEPCOLUMNS", settings.options.keepColumns ? 1 : 0);
    // Written once it was ever on, so that a settings file of a user who
    // never asked for it stays as it was.
    if (settings.options.chordLines || store.GetInt(kSettingsSection, "CHORDLINES", 0) != 0)
        put("CHORDLINES", settings.options.chordLines ? 1 : 0);
    if (settings.options.notation != Notation::AsWritten || store.GetInt(kSettingsSection, "NOTATION", 0) != 0)
        put("NOTATION", static_cast<int>(settings.options.notation));
}

bool ReadLeftHanded(const ISettingsStore& store) {
    return store.GetInt(kSettingsSection, "LEFTHANDED", 0) != 0;
}

void WriteLeftHanded(ISettingsStore& store, bool leftHanded) {
    store.WriteInt(kSettingsSection, "LEFTHANDED", leftHanded ? 1 : 0);
}
