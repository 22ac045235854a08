#pragma once

#include <cstddef>
#include <string>

#include "engine/ChordRules.h"
#include "render/Highlight.h"
#include "render/SongPage.h"

/// Pages from this many bytes on are shown in parts when their song's text
/// allows it. A browser lays out a preformatted block of several megabytes,
/// or a page with a hundred thousand highlighted chords, far too slowly for
/// a program that reloads its page at every transposition.
inline constexpr std::size_t kPartedPageBytes = 256 * 1024;

/// The bytes of a working text that a parted page puts into parts: for a
/// text song (a header and a footer were added around its bytes) the song's
/// own bytes; for an HTML song the content of its largest <pre> block when
/// that holds at least half the page, else the content of its body. An HTML
/// range is cut only after a line end outside every element opened in it,
/// and outside <pre> only after a line that ends with <br> or the end of a
/// block. False when there is no such range, when it holds a comment, a
/// script or a style, or when it has no place to cut.
bool PartedRange(const std::string& text, const AddedText& added, std::size_t& start, std::size_t& end);

/// Whether the display page of this working text is a parted page: a page
/// of at least kPartedPageBytes whose parted range holds at least half that.
bool UsesPartedPage(const std::string& text, const AddedText& added);

/// PartedDisplayPage into page when UsesPartedPage holds, finding the parted
/// range once; false, page untouched, otherwise.
bool BuildPartedDisplayPage(const std::string& text, const AddedText& added, const HighlightSettings* highlight,
                            std::string& page, const std::string& picturePrefix, const ChordRules& rules = ChordRules(),
                            const std::string& otherPicturePrefix = std::string());

/// The display page of a large song, in parts.
///
/// Everything outside the parted range is written as on the whole page. The
/// bytes of the range are cut at line ends (LF, CR LF or a lone CR, as the
/// browser reads them, and in HTML where PartedRange allows) into parts of
/// about 64 KB; a line of a text song longer than 256 KB is cut inside as
/// well, and shows as two lines there.
/// Each part is kept as the raw text of an inert script element,
/// where the browser's parser only looks for its end, followed by an empty
/// placeholder as tall as its lines. A small script turns the parts near the
/// visible area into page content as the user scrolls, and window.qvShowAll()
/// turns every part into content (before printing). A part shown gives the
/// same content as the whole page: the same bytes, and with highlight the
/// same tags around the same chord names. The pop-up block, with
/// picturePrefix, ends the page as on a whole highlighted page. Without highlight (nullptr) the parts hold
/// the plain text. Without a parted range, or with an empty one, the whole page is
/// returned. rules are the working song's (CTablature::Rules()), so that
/// the parts wrap the names its detection found; the default reads the
/// text as a text song.
///
/// In a part's raw text "%", "<", NUL and the bytes 2 and 3 are written as
/// %25, %3C, %00, %02 and %03, and a highlighted chord name as byte 2, the
/// name, byte 3.
std::string PartedDisplayPage(const std::string& text, const AddedText& added, const HighlightSettings* highlight,
                              const std::string& picturePrefix, const ChordRules& rules = ChordRules());
