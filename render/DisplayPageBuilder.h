#pragma once

#include <string>

#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/SongPage.h"

/// The display page of a working song, as the program shows it and
/// `quavern-cli render` writes it: a large song in parts, any other one
/// whole, highlighted with these settings, or plain without (nullptr).
/// added says what opening the song put around its own bytes. With an
/// otherPicturePrefix the names outside the table get pop-ups too (see
/// HighlightedPage). A ChordPro song gets its own page (ChordProPage).
std::string BuildDisplayPage(const CTablature& working, const AddedText& added, const HighlightSettings* highlight,
                             const std::string& picturePrefix, const std::string& otherPicturePrefix = std::string());
