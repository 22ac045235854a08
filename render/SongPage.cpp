#include "render/SongPage.h"

#include <algorithm>
#include <utility>

#include "base/TextHelpers.h"
#include "chords/NoteNames.h"
#include "engine/ChordPro.h"
#include "engine/Tablature.h"

std::string FileTypeOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string type = path.substr(dot + 1);
    for (char& c : type) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return type;
}

bool IsHtmlType(const std::string& type) {
    return type == "HTM" || type == "HTML";
}

std::string EscapeTitlePath(const std::string& path) {
    std::string escaped;
    escaped.reserve(path.size() + 16);
    for (char c : path) {
        if (CTablature::IsLeftDelimiter(c) || CTablature::IsRightDelimiter(c) || c == '&' || c == '<' || c == '>') {
            escaped += "&#";
            escaped += std::to_string(static_cast<unsigned char>(c));
            escaped += ';';
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string TitleLine(const std::string& path) {
    return "<title>" + EscapeTitlePath(path) + " Transposed by Quavern 3.0</title>\n";
}

bool IsUtf8WithNonAscii(const std::string& bytes) {
    bool nonAscii = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        nonAscii = true;
        int length;
        unsigned char low = 0x80, high = 0xbf; // allowed range of the second byte
        if (c >= 0xc2 && c <= 0xdf) {
            length = 2;
        } else if (c >= 0xe0 && c <= 0xef) {
            length = 3;
            if (c == 0xe0)
                low = 0xa0; // no overlong forms
            if (c == 0xed)
                high = 0x9f; // no surrogates
        } else if (c >= 0xf0 && c <= 0xf4) {
            length = 4;
            if (c == 0xf0)
                low = 0x90;
            if (c == 0xf4)
                high = 0x8f; // nothing above U+10FFFF
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i) {
            if (p[i] < 0x80 || p[i] > 0xbf)
                return false;
        }
        p += length;
    }
    return nonAscii;
}

std::string TextSongHeaderFor(const std::string& bytes) {
    return IsUtf8WithNonAscii(bytes) ? kTextSongHeaderUtf8 : kTextSongHeader;
}

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    std::size_t p = text.find(from);
    while (p != std::string::npos) {
        text.replace(p, from.size(), to);
        p = text.find(from, p + to.size());
    }
}

} // namespace

void NormalizeMaj7(std::string& text) {
    if (text.find("Maj7") == std::string::npos)
        return;
    for (const std::string& root : rootSpellings)
        ReplaceAll(text, root + "Maj7", root + "maj7");
}

std::size_t TitlePlaceOf(const std::string& htmlBytes) {
    std::size_t at = htmlBytes.find_first_not_of(" \t\n\r\f");
    static const char kDeclaration[] = "<!doctype";
    for (const char* c = kDeclaration; *c; ++c, ++at) {
        if (at >= htmlBytes.size())
            return 0;
        const char byte = htmlBytes[at];
        if ((byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte) != *c)
            return 0;
    }
    const std::size_t end = htmlBytes.find('>', at);
    return end == std::string::npos ? 0 : end + 1;
}

SongPage BuildSongPage(const std::string& path, const std::string& fileType, const std::string& fileBytes) {
    SongPage page;
    // A ChordPro song is its own source: its page is made from it anew
    // (ChordProPage), so nothing is added and every byte stays as written.
    if (IsChordProType(fileType)) {
        page.text = fileBytes;
        return page;
    }
    page.added.titleLine = TitleLine(path);
    if (IsHtmlType(fileType)) {
        page.added.titleAt = TitlePlaceOf(fileBytes);
    } else {
        page.added.header = TextSongHeaderFor(fileBytes);
        page.added.footer = kTextSongFooter;
    }
    page.text.assign(fileBytes, 0, page.added.titleAt);
    page.text += page.added.titleLine;
    page.text += page.added.header;
    page.text.append(fileBytes, page.added.titleAt, std::string::npos);
    page.text += page.added.footer;
    // "Maj7" changes into "maj7" in place, so the title line stays where it was put.
    NormalizeMaj7(page.text);
    // A path may hold "CMaj7": what opening added is the title line as it
    // stands after the normalisation, so that Save finds it again. The header
    // and footer hold no "Maj7" and cannot form one with the song's bytes.
    NormalizeMaj7(page.added.titleLine);
    return page;
}

SongPage BuildStartPage(const std::string& path, const std::string& fileBytes) {
    SongPage page;
    page.added.titleLine = TitleLine(path);
    page.added.titleAt = TitlePlaceOf(fileBytes);
    page.text.assign(fileBytes, 0, page.added.titleAt);
    page.text += page.added.titleLine;
    page.text.append(fileBytes, page.added.titleAt, std::string::npos);
    return page;
}

namespace {

// What StripAddedText takes away: the bytes from at on that opening put
// there (the title line, then the header), and the footer at the end.
struct AddedPlaces {
    std::size_t at = 0;
    std::size_t front = 0;
    std::size_t end = 0; // where the footer begins, or the size of the text
};

AddedPlaces PlacesOf(const std::string& text, const AddedText& added) {
    AddedPlaces places;
    places.at = added.titleAt <= text.size() ? added.titleAt : 0;
    if (!added.titleLine.empty() && StartsWithAt(text, places.at, added.titleLine))
        places.front += added.titleLine.size();
    if (!added.header.empty() && StartsWithAt(text, places.at + places.front, added.header))
        places.front += added.header.size();
    places.end = text.size();
    const std::size_t begin = places.at + places.front;
    if (!added.footer.empty() && places.end - begin >= added.footer.size() &&
        text.compare(places.end - added.footer.size(), added.footer.size(), added.footer) == 0)
        places.end -= added.footer.size();
    return places;
}

} // namespace

std::string StripAddedText(const std::string& text, const AddedText& added) {
    const AddedPlaces places = PlacesOf(text, added);
    const std::size_t begin = places.at + places.front;
    std::string saved;
    saved.reserve(places.end - places.front);
    saved.append(text, 0, places.at);
    saved.append(text, begin, places.end - begin);
    return saved;
}

std::size_t SavedOffsetOf(const std::string& text, const AddedText& added, std::size_t position) {
    const AddedPlaces places = PlacesOf(text, added);
    return position < places.at ? position : position - places.front;
}

std::string UnreadableSongReason(const std::string& bytes) {
    // Every letter of UTF-16 text is followed or led by a NUL byte, so no
    // chord name could ever be read in it, and a page of it would show
    // nothing of the song: refused from its byte-order mark.
    if (StartsWith(bytes, "\xff\xfe") || StartsWith(bytes, "\xfe\xff"))
        return kUtf16SongReason;
    return {};
}
