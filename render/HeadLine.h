#pragma once

#include <string>

/// The song with a line of the player's (the capo the shapes are for) put
/// at its top, as Save writes it: for a text song the first line, after a
/// byte-order mark and ended as the song's first line is (CRLF or LF); for
/// an HTML song a paragraph of its own right inside the body, escaped
/// (after the document type when there is no body tag). An empty line
/// leaves the song as it is.
std::string WithHeadLine(const std::string& song, bool html, const std::string& line);
