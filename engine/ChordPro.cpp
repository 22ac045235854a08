#include "engine/ChordPro.h"

#include <optional>
#include <utility>

#include "base/TextHelpers.h"
#include "engine/ChordLine.h"

namespace {

// One line of a text and the line end after it ("", "\n", "\r\n" or "\r").
struct SourceLine {
    std::string_view text;
    std::string_view end;
    std::size_t offset = 0;
};

std::vector<SourceLine> SplitLines(std::string_view text) {
    std::vector<SourceLine> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = FindLineEnd(text, start);
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t next = end;
        if (next < text.size())
            next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
        lines.push_back({text.substr(start, end - start), text.substr(end, next - end), start});
        start = next;
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view line) {
    return Trimmed(line).empty();
}

// Whether the bytes are UTF-8: then a letter's continuation bytes take no
// column of their own. Any other text is one byte a column.
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80                 ? 1
                                   : c >= 0xc2 && c <= 0xdf ? 2
                                   : c >= 0xe0 && c <= 0xef ? 3
                                   : c >= 0xf0 && c <= 0xf4 ? 4
                                                            : 0;
        if (length == 0 || text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

constexpr std::size_t kTabWidth = 8;

// The column after the byte c written at column.
std::size_t ColumnAfter(char c, std::size_t column, bool utf8) {
    if (c == '\t')
        return (column / kTabWidth + 1) * kTabWidth;
    if (utf8 && (static_cast<unsigned char>(c) & 0xc0) == 0x80)
        return column;
    return column + 1;
}

std::size_t WidthOf(std::string_view text, bool utf8) {
    std::size_t column = 0;
    for (const char c : text)
        column = ColumnAfter(c, column, utf8);
    return column;
}

// Converting reads lines as moving the table's names does: no root E#, B#, Fb
// or Cb, no E7+.
bool IsWideChordName(std::string_view word) {
    return ChordName::Read(word, true, Notation::AsWritten, false).has_value();
}

bool IsOneOf(char c, std::string_view marks) {
    return marks.find(c) != std::string_view::npos;
}

// The chord of a bracket ("G", "G/B", and with the marks of a sheet around
// it "(Em)", "|C"), calling onChord for the name and the bass note; nothing
// for an annotation or a text that is no chord.
void ReportChord(std::string_view inside, std::size_t at, const ChordRules& rules,
                 const std::function<void(std::size_t, const ChordMatch&)>& onChord) {
    while (!inside.empty() && IsOneOf(inside.front(), "(|:.")) {
        inside.remove_prefix(1);
        ++at;
    }
    while (!inside.empty() && IsOneOf(inside.back(), ")|:.,;"))
        inside.remove_suffix(1);
    ReadBracketedChord(inside, at, rules, onChord);
}

bool StartsBlock(const std::string& directive) {
    return directive == "start_of_tab" || directive == "start_of_grid";
}

bool EndsBlock(const std::string& directive) {
    return directive == "end_of_tab" || directive == "end_of_grid";
}

} // namespace

std::string ChordProDirectiveName(std::string_view written) {
    std::string name;
    for (const char c : written)
        name += LowerAscii(c);
    static const std::pair<const char*, const char*> kShortNames[] = {
        {"t", "title"},          {"st", "subtitle"},           {"c", "comment"},         {"ci", "comment_italic"},
        {"cb", "comment_box"},   {"soc", "start_of_chorus"},   {"eoc", "end_of_chorus"}, {"sov", "start_of_verse"},
        {"eov", "end_of_verse"}, {"sob", "start_of_bridge"},   {"eob", "end_of_bridge"}, {"sot", "start_of_tab"},
        {"eot", "end_of_tab"},   {"sog", "start_of_grid"},     {"eog", "end_of_grid"},   {"ns", "new_song"},
        {"np", "new_page"},      {"npp", "new_physical_page"}, {"colb", "column_break"}, {"g", "grid"},
        {"ng", "no_grid"},
    };
    for (const auto& [shortName, longName] : kShortNames) {
        if (name == shortName)
            return longName;
    }
    return name;
}

bool IsChordProType(std::string_view type) {
    return type == "CHO" || type == "CHOPRO" || type == "CHORDPRO" || type == "CRD" || type == "PRO";
}

ChordProLine ReadChordProLine(std::string_view line) {
    ChordProLine read;
    const std::string_view trimmed = Trimmed(line);
    const std::size_t close = trimmed.rfind('}');
    if (!trimmed.empty() && trimmed.front() == '{' && close != std::string_view::npos) {
        read.kind = ChordProLineKind::Directive;
        const std::size_t open = static_cast<std::size_t>(trimmed.data() - line.data());
        const std::string_view inside = trimmed.substr(1, close - 1);
        std::size_t nameEnd = 0;
        while (nameEnd < inside.size() && inside[nameEnd] != ':' && !IsBlank(inside[nameEnd]))
            ++nameEnd;
        read.directive = ChordProDirectiveName(Trimmed(inside.substr(0, nameEnd)));
        std::size_t valueStart = nameEnd;
        while (valueStart < inside.size() && IsBlank(inside[valueStart]))
            ++valueStart;
        if (valueStart < inside.size() && inside[valueStart] == ':')
            ++valueStart;
        const std::string_view value = Trimmed(inside.substr(valueStart));
        read.value = std::string(value);
        read.valueAt = value.empty() ? open + 1 + valueStart : static_cast<std::size_t>(value.data() - line.data());
        return read;
    }
    if (!trimmed.empty() && trimmed.front() == '#') {
        read.kind = ChordProLineKind::Comment;
        return read;
    }
    std::size_t from = 0;
    for (std::size_t open = line.find('['); open != std::string_view::npos; open = line.find('[', from)) {
        const std::size_t close = line.find(']', open + 1);
        if (close == std::string_view::npos)
            break;
        read.lyrics.append(line.substr(from, open - from));
        ChordProChord chord;
        chord.at = read.lyrics.size();
        chord.source = open + 1;
        chord.text = std::string(line.substr(open + 1, close - open - 1));
        if (!chord.text.empty() && chord.text.front() == '*') {
            chord.annotation = true;
            chord.text.erase(0, 1);
        }
        read.chords.push_back(std::move(chord));
        from = close + 1;
    }
    read.lyrics.append(line.substr(from));
    return read;
}

void ScanChordPro(std::string_view text, const ChordRules& rules,
                  const std::function<void(std::size_t, const ChordMatch&)>& onChord) {
    bool inBlock = false;
    for (const SourceLine& line : SplitLines(text)) {
        const ChordProLine read = ReadChordProLine(line.text);
        if (read.kind == ChordProLineKind::Directive) {
            if (StartsBlock(read.directive))
                inBlock = true;
            else if (EndsBlock(read.directive))
                inBlock = false;
            else if (read.directive == "key" && !read.value.empty())
                ReportChord(read.value, line.offset + read.valueAt, rules, onChord);
            continue;
        }
        // A tab or a grid is written as it is played: no brackets there.
        if (read.kind != ChordProLineKind::Lyrics || inBlock)
            continue;
        for (const ChordProChord& chord : read.chords) {
            if (!chord.annotation)
                ReportChord(chord.text, line.offset + chord.source, rules, onChord);
        }
    }
}

namespace {

// The dominant line end of a text, for the lines a conversion adds.
std::string_view LineEndOf(const std::vector<SourceLine>& lines) {
    for (const SourceLine& line : lines) {
        if (!line.end.empty())
            return line.end;
    }
    return "\n";
}

// What a chord line puts into the lyrics below it: at a column, a bracket.
struct Insertion {
    std::size_t column;
    std::string bracket;
};

std::vector<Insertion> InsertionsOf(std::string_view chordLine, bool utf8) {
    const ChordLineReading reading = ReadChordLine(chordLine, IsWideChordName);
    const std::vector<LineSpan>& chords = reading.chords;
    std::vector<Insertion> insertions;
    // The line is walked once: its columns, chords and bass notes in step.
    std::size_t column = 0;
    std::size_t columnAt = 0;
    const auto columnOf = [&](std::size_t offset) {
        for (; columnAt < offset; ++columnAt)
            column = ColumnAfter(chordLine[columnAt], column, utf8);
        return column;
    };
    std::size_t chord = 0;
    std::size_t bass = 0;
    std::size_t i = 0;
    while (i < chordLine.size()) {
        while (i < chordLine.size() && IsBlank(chordLine[i]))
            ++i;
        const std::size_t begin = i;
        while (i < chordLine.size() && !IsBlank(chordLine[i]))
            ++i;
        if (begin == i)
            break;
        const std::string_view word = chordLine.substr(begin, i - begin);
        while (chord < chords.size() && chords[chord].offset < begin)
            ++chord;
        // A word goes in whole, with the marks around its chords (|C,
        // (Am)); a word without a chord as an annotation. Of a word that
        // would close its bracket early only the chords go in.
        const bool hasChord = chord < chords.size() && chords[chord].offset < i;
        if (word.find_first_of("[]") == std::string_view::npos && (!hasChord || word.front() != '*')) {
            insertions.push_back({columnOf(begin), (hasChord ? "[" : "[*") + std::string(word) + "]"});
            continue;
        }
        for (; chord < chords.size() && chords[chord].offset < i; ++chord) {
            const LineSpan& span = chords[chord];
            std::string name(chordLine.substr(span.offset, span.length));
            while (bass < reading.basses.size() && reading.basses[bass].offset <= span.offset + span.length)
                ++bass;
            if (bass < reading.basses.size() && reading.basses[bass].offset == span.offset + span.length + 1)
                name += "/" + std::string(chordLine.substr(reading.basses[bass].offset, reading.basses[bass].length));
            insertions.push_back({columnOf(span.offset), "[" + name + "]"});
        }
    }
    return insertions;
}

// The lyrics with the brackets put in at their columns, and blanks up to
// the columns past the lyrics' end.
std::string Merge(const std::vector<Insertion>& insertions, std::string_view lyrics, bool utf8) {
    std::string merged;
    std::size_t column = 0;
    std::size_t i = 0;
    for (const Insertion& insertion : insertions) {
        // A letter's continuation bytes stay with it.
        while (i < lyrics.size() && (ColumnAfter(lyrics[i], column, utf8) <= insertion.column ||
                                     (utf8 && (static_cast<unsigned char>(lyrics[i]) & 0xc0) == 0x80))) {
            column = ColumnAfter(lyrics[i], column, utf8);
            merged += lyrics[i++];
        }
        if (i == lyrics.size() && column < insertion.column) {
            merged.append(insertion.column - column, ' ');
            column = insertion.column;
        }
        merged += insertion.bracket;
    }
    merged.append(lyrics.substr(i));
    return merged;
}

// Whether ChordPro would read a line without chords as something else than
// these words: a directive, a comment or brackets.
bool NeedsComment(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    return !trimmed.empty() &&
           (trimmed.front() == '{' || trimmed.front() == '#' || line.find('[') != std::string_view::npos);
}

} // namespace

std::string TextToChordPro(std::string_view text) {
    const std::vector<SourceLine> lines = SplitLines(text);
    const bool utf8 = IsUtf8(text);
    std::vector<bool> chordLine(lines.size());
    for (std::size_t k = 0; k < lines.size(); ++k)
        chordLine[k] = ReadChordLine(lines[k].text, IsWideChordName).isChordLine;
    std::string song;
    song.reserve(text.size() + text.size() / 4);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const SourceLine& line = lines[k];
        if (chordLine[k]) {
            const bool lyricsBelow = k + 1 < lines.size() && !chordLine[k + 1] && !IsBlankLine(lines[k + 1].text) &&
                                     !NeedsComment(lines[k + 1].text);
            const std::vector<Insertion> insertions = InsertionsOf(line.text, utf8);
            if (lyricsBelow) {
                ++k;
                song += Merge(insertions, lines[k].text, utf8);
                song += lines[k].end;
            } else {
                song += Merge(insertions, std::string_view(), utf8);
                song += line.end;
            }
            continue;
        }
        if (k == 0 && !IsBlankLine(line.text))
            song += "{title: " + std::string(Trimmed(line.text)) + "}";
        else if (NeedsComment(line.text))
            song += "{comment: " + std::string(Trimmed(line.text)) + "}";
        else
            song += line.text;
        song += line.end;
    }
    return song;
}

namespace {

// How a directive reads on a sheet of chords over lyrics; nothing for one
// that only lays the song out.
std::optional<std::string> DirectiveAsText(const ChordProLine& line) {
    const std::string& name = line.directive;
    if (name == "title" || name == "subtitle" || name == "comment" || name == "comment_italic" || name == "comment_box")
        return line.value;
    if (name == "start_of_chorus")
        return line.value.empty() ? std::string("Chorus:") : line.value;
    if (name == "start_of_verse" || name == "start_of_bridge")
        return line.value.empty() ? std::nullopt : std::optional<std::string>(line.value);
    if (line.value.empty())
        return std::nullopt;
    if (name == "meta" || name.empty())
        return line.value;
    // {key: G} reads "Key: G", {time_signature: 3/4} "Time signature: 3/4".
    std::string label = name;
    for (char& c : label) {
        if (c == '_')
            c = ' ';
    }
    if (label[0] >= 'a' && label[0] <= 'z')
        label[0] = static_cast<char>(label[0] - 'a' + 'A');
    return label + ": " + line.value;
}

// The chord line over a lyric line: each chord at its syllable's column, or
// one blank after the chord before it.
std::string ChordLineOver(const ChordProLine& line, bool utf8) {
    std::string chords;
    std::size_t column = 0;
    // The lyrics' columns, walked once along the chords.
    std::size_t lyricsColumn = 0;
    std::size_t lyricsAt = 0;
    for (const ChordProChord& chord : line.chords) {
        for (; lyricsAt < chord.at; ++lyricsAt)
            lyricsColumn = ColumnAfter(line.lyrics[lyricsAt], lyricsColumn, utf8);
        std::size_t at = lyricsColumn;
        if (!chords.empty() && at < column + 1)
            at = column + 1;
        chords.append(at - column, ' ');
        chords += chord.text;
        column = at + WidthOf(chord.text, utf8);
    }
    return chords;
}

} // namespace

std::string ChordProToText(std::string_view text) {
    const std::vector<SourceLine> lines = SplitLines(text);
    const bool utf8 = IsUtf8(text);
    const std::string_view defaultEnd = LineEndOf(lines);
    bool inBlock = false;
    std::string sheet;
    sheet.reserve(text.size());
    for (const SourceLine& source : lines) {
        const std::string_view end = source.end;
        const ChordProLine line = ReadChordProLine(source.text);
        if (line.kind == ChordProLineKind::Comment)
            continue;
        if (line.kind == ChordProLineKind::Directive) {
            inBlock = StartsBlock(line.directive) || (inBlock && !EndsBlock(line.directive));
            if (const std::optional<std::string> shown = DirectiveAsText(line)) {
                sheet += *shown;
                sheet += end;
            }
            continue;
        }
        if (inBlock || line.chords.empty()) {
            sheet += inBlock ? source.text : std::string_view(line.lyrics);
            sheet += end;
            continue;
        }
        sheet += ChordLineOver(line, utf8);
        // The blanks that put a chord past the lyrics' end are no lyrics.
        std::string_view lyrics = line.lyrics;
        const std::size_t written = line.lyrics.find_last_not_of(" \t") + 1;
        if (line.chords.back().at >= written)
            lyrics = lyrics.substr(0, written);
        // A line of chords alone has no lyrics under it.
        if (IsBlankLine(line.lyrics)) {
            sheet += end;
            continue;
        }
        sheet += end.empty() ? defaultEnd : end;
        sheet += lyrics;
        sheet += end;
    }
    return sheet;
}
