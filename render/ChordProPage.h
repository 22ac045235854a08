#pragma once

#include <string>

#include "render/DisplaySettings.h"

class CTablature;

/// The display page of a ChordPro song (CTablature::IsChordPro), as a
/// guitarist reads it: the title and subtitle as headings and the key, capo
/// and credits in a header line; each lyric line with its chords set above
/// the syllables they were written before; comments in italics, a chorus
/// indented, a tab or grid as written. Highlighted with these settings (the
/// same tags and pop-up block as every song's page), or plain without
/// (nullptr). Every text of the song is escaped: the page holds no markup
/// of the song's own.
std::string ChordProPage(const CTablature& song, const HighlightSettings* highlight, const std::string& picturePrefix,
                         const std::string& otherPicturePrefix = std::string());
