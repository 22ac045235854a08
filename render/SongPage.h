#pragma once

#include <string>

#include "base/SongFile.h"

/// The header put in front of a text song so the browser shows it as
/// preformatted text, and the footer put after it.
inline constexpr const char* kTextSongHeader =
    "<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"> <meta "
    "name=\"GENERATOR\" content=\"Quavern 3.0\"> <title>Converted Text File</title> </head> <body> <pre>";
/// The same header for a text song written in UTF-8.
inline constexpr const char* kTextSongHeaderUtf8 =
    "<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"> <meta "
    "name=\"GENERATOR\" content=\"Quavern 3.0\"> <title>Converted Text File</title> </head> <body> <pre>";
inline constexpr const char* kTextSongFooter = "</pre> </body> </html> <!-- Quavern 3.0 // -->";

/// The start page written when "Start.htm" is missing at start-up, and at the help command.
inline constexpr const char* kWelcomeText =
    "<center><h1>Welcome to the Quavern 3.0 !</h1></center>The original Start.htm file has not been found. Please "
    "reinstall the program.";
inline constexpr const char* kWelcomeTextAtHelp =
    "<center><h1>Welcome to the Quavern 3.0 !</h1></center> The original Start.htm file has not been found. Please "
    "reinstall the program.";

/// What opening put around the song's own bytes, so that saving can take
/// exactly that away again.
struct AddedText {
    std::string titleLine;
    std::string header;
    std::string footer;
    /// Where the title line (and the header after it) stands: 0, or right
    /// after the document type declaration an HTML song begins with.
    std::size_t titleAt = 0;

    /// The bytes before the song's own first line, for a text song (an HTML
    /// song's title line sits inside its document, after the declaration).
    std::size_t BytesBefore() const { return titleAt == 0 ? titleLine.size() + header.size() : 0; }
    std::size_t BytesAfter() const { return footer.size(); }
};

/// The page text of a song as opening builds it, and what was added.
struct SongPage {
    std::string text;
    AddedText added;
};

/// The upper-cased extension of the file name (after its last dot), or "".
std::string FileTypeOf(const std::string& path);
/// Whether a file type is shown as HTML ("HTM" or "HTML"); everything else is a text song.
bool IsHtmlType(const std::string& type);

/// The path as it is written into a title line: every delimiter byte and
/// "&", "<", ">" as a decimal character reference, so no chord is ever found
/// in a path.
std::string EscapeTitlePath(const std::string& path);
/// "<title>" + escaped path + " Transposed by Quavern 3.0</title>\n".
std::string TitleLine(const std::string& path);

/// Whether the bytes are valid UTF-8 holding at least one byte above 127.
bool IsUtf8WithNonAscii(const std::string& bytes);
/// The header a text song with these bytes gets.
std::string TextSongHeaderFor(const std::string& bytes);

/// Replaces each of the 17 root spellings followed by "Maj7" by the same root followed by "maj7".
void NormalizeMaj7(std::string& text);

/// Where the title line goes in an HTML page: right after the document type
/// declaration ("<!DOCTYPE" in any case up to the next ">") that the bytes
/// begin with, after optional white space; 0 when they begin with none. A
/// title line in front of the declaration would put the browser in quirks
/// mode.
std::size_t TitlePlaceOf(const std::string& htmlBytes);

/// The page of a song file opened by the user: title line, then header,
/// bytes and footer for a text song; for an HTML song its bytes with the
/// title line at TitlePlaceOf; with "Maj7" normalised. A ChordPro song
/// (IsChordProType) is its bytes alone, nothing added or normalised.
SongPage BuildSongPage(const std::string& path, const std::string& fileType, const std::string& fileBytes);
/// The page of the start page at start-up: the bytes with the title line at
/// TitlePlaceOf, as for an HTML song, nothing normalised.
SongPage BuildStartPage(const std::string& path, const std::string& fileBytes);

/// The working text without what opening added: the title line where it
/// was put (added.titleAt), the header right after it and the footer at the
/// very end. The song's own text is never removed.
std::string StripAddedText(const std::string& text, const AddedText& added);
/// Where the byte at position of the working text stands in
/// StripAddedText's result. position lies outside what opening added.
std::size_t SavedOffsetOf(const std::string& text, const AddedText& added, std::size_t position);

/// Why a song of these bytes is not opened: kUtf16SongReason for text that
/// begins with a UTF-16 byte-order mark; "" for every other song.
std::string UnreadableSongReason(const std::string& bytes);
inline constexpr const char* kUtf16SongReason = "UTF-16 text is not read; please save the song as UTF-8";
