#pragma once

#include <string>

#include "engine/SongOptions.h"

class ISettingsStore;

/// Colour packing: red in bits 0-7, green 8-15, blue 16-23.
constexpr int PackColor(int red, int green, int blue) {
    return (red & 0xff) | (green & 0xff) << 8 | (blue & 0xff) << 16;
}
constexpr int RedOf(int color) {
    return color & 0xff;
}
constexpr int GreenOf(int color) {
    return (color >> 8) & 0xff;
}
constexpr int BlueOf(int color) {
    return (color >> 16) & 0xff;
}

/// How detected chords are highlighted on the display page. The flags are
/// integers used as booleans; color is packed as PackColor packs it.
struct HighlightSettings {
    int bold = 1;
    int italic = 0;
    int underline = 0;
    int useColor = 1;
    int infobulle = 1;
    int color = PackColor(0, 0, 255);

    bool operator==(const HighlightSettings& other) const {
        return bold == other.bold && italic == other.italic && underline == other.underline &&
               useColor == other.useColor && infobulle == other.infobulle && color == other.color;
    }
    bool operator!=(const HighlightSettings& other) const { return !(*this == other); }
};

/// Everything the programs keep in the settings store besides the levels.
struct DisplaySettings {
    HighlightSettings highlight;
    /// "AREHIGHLIGHTED": whether the page is highlighted, kept as the stored integer.
    int highlighted = 1;
    /// "LASTDIRECTORY": the folder the desktop program's file dialogs start in.
    std::string lastDirectory;
    /// "ALLCHORDS" (0 or 1), "SPELLING" (0 as written, 1 sharps, 2 flats,
    /// 3 by key) and "KEEPCOLUMNS" (0 or 1): how songs are read and written.
    SongOptions options;
};

/// Reads "BOLD", "ITALIC", "UNDERLINE", "USECOLOR", "INFOBULLE", "RED",
/// "GREEN", "BLUE", "AREHIGHLIGHTED", "LASTDIRECTORY", "ALLCHORDS",
/// "SPELLING" and "KEEPCOLUMNS" from the program's section; a missing or
/// unreadable value takes the default of a default-constructed
/// DisplaySettings. Each colour value is masked to 8 bits; ALLCHORDS and
/// KEEPCOLUMNS are on when not 0, and a SPELLING outside 0..3 is 0.
DisplaySettings ReadDisplaySettings(const ISettingsStore& store);

/// Writes every value ReadDisplaySettings reads, in the order BOLD, ITALIC,
/// UNDERLINE, USECOLOR, INFOBULLE, BLUE, RED, GREEN, AREHIGHLIGHTED,
/// LASTDIRECTORY, ALLCHORDS, SPELLING, KEEPCOLUMNS, even those at their
/// defaults.
void WriteDisplaySettings(ISettingsStore& store, const DisplaySettings& settings);

/// "LEFTHANDED" (0 or 1, off when missing): every chord picture and the
/// chord diagram drawn mirrored, for a left-handed player. Kept apart from
/// DisplaySettings so that the stored values are written only once the user
/// chooses it.
bool ReadLeftHanded(const ISettingsStore& store);
void WriteLeftHanded(ISettingsStore& store, bool leftHanded);
