#include "render/ChordProPage.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "base/TextHelpers.h"
#include "engine/ChordPro.h"
#include "engine/Tablature.h"
#include "render/ChordWrapping.h"
#include "render/Highlight.h"
#include "render/SongPage.h"

namespace {

// The page's own look: chords in a row over their syllables, the lyrics as
// written (blanks kept), a chorus set in.
constexpr const char* kStyle = "<style type=\"text/css\">\n"
                               "body { font-family: sans-serif; }\n"
                               ".cp-meta { color: #444; }\n"
                               ".cp-line { margin: 0; white-space: nowrap; }\n"
                               ".cp-seg { display: inline-block; vertical-align: bottom; }\n"
                               ".cp-chord { display: block; min-height: 1.2em; padding-right: 0.4em; "
                               "white-space: pre; }\n"
                               ".cp-lyrics { display: block; white-space: pre; }\n"
                               ".cp-blank { height: 1em; }\n"
                               ".cp-comment { font-style: italic; margin: 0.5em 0; }\n"
                               ".cp-box { border: 1px solid #888; padding: 0 0.3em; }\n"
                               ".cp-chorus { margin-left: 2em; padding-left: 0.6em; border-left: 2px solid #aaa; }\n"
                               ".cp-label { font-weight: bold; margin: 0.5em 0 0 0; }\n"
                               "</style>\n";

// Writes stretches of the song's text, its chords wrapped in the highlight
// tags, everything else escaped.
class CChordWriter final {
public:
    CChordWriter(const CTablature& song, const HighlightSettings* highlight, const std::string& otherPicturePrefix)
        : m_text(song.text) {
        if (highlight)
            m_tags.emplace(*highlight, otherPicturePrefix);
        ScanChordPro(m_text, song.Rules(),
                     [this](std::size_t pos, const ChordMatch& match) { m_chords.emplace_back(pos, match); });
    }

    // The bytes [begin, end) of the song's text.
    void Append(std::string& page, std::size_t begin, std::size_t end) {
        auto chord = std::lower_bound(m_chords.begin(), m_chords.end(), begin,
                                      [](const auto& found, std::size_t at) { return found.first < at; });
        for (; chord != m_chords.end() && chord->first + chord->second.length <= end; ++chord) {
            AppendHtmlEscaped(page, std::string_view(m_text).substr(begin, chord->first - begin));
            if (m_tags)
                m_tags->AppendWrapped(page, m_text, chord->first, chord->second);
            else
                AppendHtmlEscaped(page, std::string_view(m_text).substr(chord->first, chord->second.length));
            begin = chord->first + chord->second.length;
        }
        AppendHtmlEscaped(page, std::string_view(m_text).substr(begin, end - begin));
    }

    std::string OtherPopupLines() const { return m_tags ? m_tags->OtherPopupLines() : std::string(); }

private:
    const std::string& m_text;
    std::optional<chordwrap::CChordTags> m_tags;
    std::vector<std::pair<std::size_t, ChordMatch>> m_chords;
};

// One line of the song with where it starts.
struct PlacedLine {
    std::size_t offset;
    std::string_view text;
    ChordProLine read;
};

std::vector<PlacedLine> ReadLines(const std::string& text) {
    std::vector<PlacedLine> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = FindLineEnd(text, start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        lines.push_back({start, line, ReadChordProLine(line)});
        if (end < text.size())
            end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        start = end;
    }
    return lines;
}

bool IsHeaderDirective(const std::string& name) {
    return name == "title" || name == "subtitle" || name == "key" || name == "capo" || name == "artist" ||
           name == "composer" || name == "lyricist" || name == "album" || name == "year" || name == "tempo" ||
           name == "time";
}

std::string Label(const std::string& name) {
    std::string label = name;
    label[0] = static_cast<char>(label[0] - 'a' + 'A');
    return label;
}

// A lyric line: each chord over the lyrics from its syllable to the next chord.
void AppendLyricLine(std::string& page, const PlacedLine& line, CChordWriter& writer) {
    const ChordProLine& read = line.read;
    if (read.chords.empty()) {
        if (read.lyrics.find_first_not_of(" \t") == std::string::npos) {
            page += "<div class=\"cp-blank\"></div>\n";
            return;
        }
        page += "<div class=\"cp-line\"><span class=\"cp-lyrics\">";
        AppendHtmlEscaped(page, read.lyrics);
        page += "</span></div>\n";
        return;
    }
    page += "<div class=\"cp-line\">";
    if (read.chords.front().at > 0) {
        page += "<span class=\"cp-seg\"><span class=\"cp-chord\"></span><span class=\"cp-lyrics\">";
        AppendHtmlEscaped(page, std::string_view(read.lyrics).substr(0, read.chords.front().at));
        page += "</span></span>";
    }
    for (std::size_t k = 0; k < read.chords.size(); ++k) {
        const ChordProChord& chord = read.chords[k];
        const std::size_t until = k + 1 < read.chords.size() ? read.chords[k + 1].at : read.lyrics.size();
        page += "<span class=\"cp-seg\"><span class=\"cp-chord\">";
        if (chord.annotation) {
            page += "<i>";
            AppendHtmlEscaped(page, chord.text);
            page += "</i>";
        } else {
            const std::size_t begin = line.offset + chord.source;
            writer.Append(page, begin, begin + chord.text.size());
        }
        page += "</span><span class=\"cp-lyrics\">";
        // A chord after the last syllable still keeps its row above the lyrics.
        if (until == chord.at)
            page += "<br>";
        AppendHtmlEscaped(page, std::string_view(read.lyrics).substr(chord.at, until - chord.at));
        page += "</span></span>";
    }
    page += "</div>\n";
}

} // namespace

std::string ChordProPage(const CTablature& song, const HighlightSettings* highlight, const std::string& picturePrefix,
                         const std::string& otherPicturePrefix) {
    const std::vector<PlacedLine> lines = ReadLines(song.text);
    CChordWriter writer(song, highlight, otherPicturePrefix);

    std::string title;
    std::string header;
    std::string meta;
    for (const PlacedLine& line : lines) {
        const ChordProLine& read = line.read;
        if (read.kind != ChordProLineKind::Directive || !IsHeaderDirective(read.directive) || read.value.empty())
            continue;
        if (read.directive == "title") {
            if (title.empty())
                title = read.value;
            header += "<h1 class=\"cp-title\">" + HtmlEscaped(read.value) + "</h1>\n";
        } else if (read.directive == "subtitle") {
            header += "<h2 class=\"cp-subtitle\">" + HtmlEscaped(read.value) + "</h2>\n";
        } else {
            // The key moves with the song: it is written with its chord tags.
            meta += meta.empty() ? "" : " &nbsp; ";
            meta += "<span class=\"cp-" + read.directive + "\">" + Label(read.directive) + ": ";
            const std::size_t begin = line.offset + read.valueAt;
            if (read.directive == "key")
                writer.Append(meta, begin, begin + read.value.size());
            else
                AppendHtmlEscaped(meta, read.value);
            meta += "</span>";
        }
    }

    std::string page = "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=";
    page += IsUtf8WithNonAscii(song.text) ? "utf-8" : "iso-8859-1";
    page += "\">\n<meta name=\"GENERATOR\" content=\"Quavern 3.0\">\n<title>";
    page += HtmlEscaped(title.empty() ? std::string("ChordPro song") : title);
    page += "</title>\n";
    page += kStyle;
    page += "</head>\n<body>\n<div class=\"cp-header\">\n" + header;
    if (!meta.empty())
        page += "<p class=\"cp-meta\">" + meta + "</p>\n";
    page += "</div>\n<div class=\"cp-song\">\n";

    bool inChorus = false;
    bool inBlock = false;
    for (const PlacedLine& line : lines) {
        const ChordProLine& read = line.read;
        if (inBlock) {
            if (read.kind == ChordProLineKind::Directive &&
                (read.directive == "end_of_tab" || read.directive == "end_of_grid")) {
                page += "</pre>\n";
                inBlock = false;
            } else {
                AppendHtmlEscaped(page, line.text);
                page += '\n';
            }
            continue;
        }
        if (read.kind == ChordProLineKind::Comment)
            continue;
        if (read.kind == ChordProLineKind::Lyrics) {
            AppendLyricLine(page, line, writer);
            continue;
        }
        const std::string& name = read.directive;
        if (name == "comment" || name == "comment_italic" || name == "comment_box") {
            page += name == "comment_box" ? "<p class=\"cp-comment\"><span class=\"cp-box\"><i>"
                                          : "<p class=\"cp-comment\"><span><i>";
            AppendHtmlEscaped(page, read.value);
            page += "</i></span></p>\n";
        } else if (name == "start_of_chorus") {
            if (inChorus)
                page += "</div>\n";
            page += "<div class=\"cp-chorus\">\n";
            if (!read.value.empty())
                page += "<p class=\"cp-label\">" + HtmlEscaped(read.value) + "</p>\n";
            inChorus = true;
        } else if (name == "end_of_chorus") {
            if (inChorus)
                page += "</div>\n";
            inChorus = false;
        } else if ((name == "start_of_verse" || name == "start_of_bridge") && !read.value.empty()) {
            page += "<p class=\"cp-label\">" + HtmlEscaped(read.value) + "</p>\n";
        } else if (name == "start_of_tab" || name == "start_of_grid") {
            page += "<pre class=\"cp-tab\">";
            inBlock = true;
        }
        // The header's directives are shown above; layout directives show nothing.
    }
    if (inBlock)
        page += "</pre>\n";
    if (inChorus)
        page += "</div>\n";
    page += "</div>\n";
    if (highlight) {
        page += CachedPopupBlock(picturePrefix);
        page += writer.OtherPopupLines();
    }
    page += "</body></html>\n";
    return page;
}
