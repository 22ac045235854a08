#pragma once

#include <string>
#include <vector>

#include "engine/ChordRules.h"
#include "render/DisplaySettings.h"

class CTablature;

/// The picture prefix of the pop-up block that the programs form in a
/// folder: the absolute path of "Pics/" there, ending with "/", or "" when
/// that is longer than 1000 bytes. An empty prefix gives image sources
/// relative to the page.
std::string PicturePrefixFor(const std::string& folder);

/// The file name of the picture of a chord name outside the table: the
/// name's letters and digits as they are and every other byte as "_" and two
/// hexadecimal digits ("D/F#" -> "D_2FF_23.gif"), so no two names share a
/// file and none needs escaping in a path or an image source.
std::string OtherPictureName(const std::string& name);

/// The pop-up lines of names outside the table, in the form of the 85 lines,
/// their pictures named by OtherPictureName after picturePrefix.
std::string OtherPopupLines(const std::vector<std::string>& names, const std::string& picturePrefix);

/// The style, the script and the 85 picture lines appended to every
/// highlighted page; picturePrefix ends with "/" or is empty.
std::string PopupBlock(const std::string& picturePrefix);
/// PopupBlock(picturePrefix), built once for the prefix in use.
const std::string& CachedPopupBlock(const std::string& picturePrefix);

/// The highlighted page of a text read with these rules: every chord name
/// wrapped in the chosen tags, then the pop-up block with this picture prefix.
/// With an otherPicturePrefix, a name outside the table gets its pop-up too,
/// its picture named by OtherPictureName there, and its line after the block.
std::string HighlightedPage(const std::string& text, const ChordRules& rules, const HighlightSettings& settings,
                            const std::string& picturePrefix, const std::string& otherPicturePrefix = std::string());

/// Wraps every chord name of the tablature's text (as its rules read the
/// text) in the chosen tags, then appends the pop-up block with this
/// picture prefix.
void HighlightChords(CTablature& tablature, const HighlightSettings& settings, const std::string& picturePrefix);

/// The display page of a working song: the highlighted rendering of a copy
/// when highlighted is set, the text itself otherwise.
std::string RenderDisplayPage(const CTablature& working, bool highlighted, const HighlightSettings& settings,
                              const std::string& picturePrefix);
