#include "render/PartedPage.h"

#include <algorithm>
#include <array>
#include <vector>

#include "chords/ChordCatalog.h"
#include "engine/ChordScanner.h"
#include "render/ChordWrapping.h"
#include "render/PartedPageScript.h"

namespace {

// A part ends at the first line end after this many song bytes, or anywhere
// outside a chord name after kLongestPart bytes of a text without line ends.
constexpr std::size_t kPartBytes = 64 * 1024;
constexpr std::size_t kLongestPart = 256 * 1024;

constexpr char kChordStart = '\x02';
constexpr char kChordEnd = '\x03';

// The part script, inline for a browser that runs the page's scripts; the
// program runs the same script from its own world.
const std::string kPartScript = std::string("<script type=\"text/javascript\">\n") + kPartedPageScript + "</script>";

// Bytes of a part's raw text that are written as %XX: the parser would end
// the script at "<", and would drop or replace NUL; "%" and the two chord
// marks are escaped so decoding gives every byte back.
constexpr std::array<std::uint8_t, 256> kEscaped = chordscan::MakeByteClass("%<\x02\x03");

// Writes the song bytes into parts.
class CPartWriter final {
public:
    /// leadingBreak: the bytes start with a line end. cuts: the positions
    /// in the text where a part may end, ascending; nullptr lets a part end
    /// after any line end, and inside a very long line.
    CPartWriter(std::string& page, bool leadingBreak, const std::vector<std::size_t>* cuts)
        : m_page(page), m_leadingBreak(leadingBreak), m_cuts(cuts) {}

    /// The size bytes at offset in the text, outside chord names.
    void Text(const std::string& text, std::size_t offset, std::size_t size) {
        const char* bytes = text.data() + offset;
        for (std::size_t i = 0; i < size; ++i) {
            if (!m_open)
                Begin();
            const auto c = static_cast<unsigned char>(bytes[i]);
            Escaped(c);
            ++m_bytes;
            // A browser ends a line at LF, CR LF and a lone CR. A chord
            // name starts with a letter, so a CR that ends this stretch
            // of text is a lone one.
            if (c == '\n' || (c == '\r' && (i + 1 == size || bytes[i + 1] != '\n'))) {
                ++m_lines;
                if (m_bytes >= kPartBytes && MayEndAt(offset + i + 1))
                    End();
            } else if (!m_cuts && m_bytes >= kLongestPart) {
                End();
            }
        }
    }

    void Chord(const std::string& name) {
        if (!m_open)
            Begin();
        m_page += kChordStart;
        m_page += name;
        m_page += kChordEnd;
        m_bytes += name.size();
    }

    /// A name outside the chord table, which the part script has no tags
    /// for: its tags are written out, escaped as the text is. A part never
    /// ends inside them.
    void Wrapped(const std::string& opening, const std::string& name, const std::string& closing) {
        if (!m_open)
            Begin();
        Escaped(opening);
        Escaped(name);
        Escaped(closing);
        m_bytes += name.size();
    }

    void Finish() {
        if (m_open)
            End();
    }

private:
    void Escaped(unsigned char c) {
        static const char kHex[] = "0123456789ABCDEF";
        if (kEscaped[c] || c == 0) {
            m_page += '%';
            m_page += kHex[c >> 4];
            m_page += kHex[c & 15];
        } else {
            m_page += static_cast<char>(c);
        }
    }

    void Escaped(const std::string& bytes) {
        for (char c : bytes)
            Escaped(static_cast<unsigned char>(c));
    }

    bool MayEndAt(std::size_t pos) {
        if (!m_cuts)
            return true;
        while (m_nextCut < m_cuts->size() && (*m_cuts)[m_nextCut] < pos)
            ++m_nextCut;
        return m_nextCut < m_cuts->size() && (*m_cuts)[m_nextCut] == pos;
    }

    void Begin() {
        m_page += "<script type=\"text/x-quavern-part\">";
        m_open = true;
        m_bytes = 0;
        m_lines = 0;
    }

    void End() {
        // A last line without its line end still takes a line. The parser
        // drops a line end right after "<pre>"; the part script drops it
        // from the first part as well.
        const char last = m_page.back();
        std::size_t lines = m_lines + (last == '\n' || last == '\r' ? 0 : 1);
        if (m_parts++ == 0 && m_leadingBreak && lines > 0)
            --lines;
        m_page += "</script><div class=\"qvpart\" data-lines=\"" + std::to_string(lines) + "\"></div>";
        m_open = false;
    }

    std::string& m_page;
    const bool m_leadingBreak;
    const std::vector<std::size_t>* m_cuts;
    std::size_t m_nextCut = 0;
    std::size_t m_parts = 0;
    bool m_open = false;
    std::size_t m_bytes = 0;
    std::size_t m_lines = 0;
};

// A JavaScript string literal holding the bytes of a tag.
std::string ScriptString(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            literal += '\\';
        literal += c;
    }
    return literal + "\"";
}

// The tags around each chord name, as the part script reads them.
std::string OpeningTable(chordwrap::CChordTags& tags) {
    std::string table = "<script type=\"text/javascript\">\nvar qvOpen = {";
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        if (i > 0)
            table += ", ";
        table += ScriptString(tags.Name(i)) + ": " + ScriptString(tags.Opening(i));
    }
    table += "};\nvar qvClose = " + ScriptString(tags.Closing()) + ";\n</script>";
    return table;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the text holds the lower-case word at pos, in any case.
bool HasWordAt(const std::string& text, std::size_t pos, const char* word) {
    for (; *word; ++word, ++pos) {
        if (pos >= text.size() || Lower(text[pos]) != *word)
            return false;
    }
    return true;
}

std::size_t FindNoCase(const std::string& text, const char* word, std::size_t from, std::size_t to) {
    for (std::size_t at = text.find('<', from); at != std::string::npos && at < to; at = text.find('<', at + 1)) {
        if (HasWordAt(text, at, word))
            return at;
    }
    return std::string::npos;
}

// The content of the largest <pre> block of an HTML page.
bool LargestPreformattedBlock(const std::string& text, std::size_t& start, std::size_t& end) {
    bool found = false;
    for (std::size_t open = FindNoCase(text, "<pre", 0, text.size()); open != std::string::npos;) {
        const std::size_t after = open + 4;
        if (after >= text.size())
            break;
        const char next = text[after];
        if (next != '>' && next != ' ' && next != '\t' && next != '\n' && next != '\r') {
            open = FindNoCase(text, "<pre", after, text.size());
            continue;
        }
        const std::size_t contentStart = text.find('>', open);
        if (contentStart == std::string::npos)
            break;
        const std::size_t close = FindNoCase(text, "</pre", contentStart, text.size());
        if (close == std::string::npos)
            break;
        if (!found || close - contentStart - 1 > end - start) {
            start = contentStart + 1;
            end = close;
            found = true;
        }
        open = FindNoCase(text, "<pre", close, text.size());
    }
    return found;
}

// The content of the <body> element of an HTML page.
bool BodyContent(const std::string& text, std::size_t& start, std::size_t& end) {
    for (std::size_t open = FindNoCase(text, "<body", 0, text.size()); open != std::string::npos;
         open = FindNoCase(text, "<body", open + 5, text.size())) {
        const char next = open + 5 < text.size() ? text[open + 5] : '\0';
        if (next != '>' && next != ' ' && next != '\t' && next != '\n' && next != '\r')
            continue;
        const std::size_t contentStart = text.find('>', open);
        std::size_t close = std::string::npos;
        for (std::size_t at = FindNoCase(text, "</body", open, text.size()); at != std::string::npos;
             at = FindNoCase(text, "</body", at + 6, text.size()))
            close = at;
        if (contentStart == std::string::npos || close == std::string::npos || close <= contentStart)
            return false;
        start = contentStart + 1;
        end = close;
        return true;
    }
    return false;
}

bool IsVoidElement(const std::string& name) {
    static const char* const kVoid[] = {"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                        "input", "link", "meta", "param", "source", "track", "wbr"};
    for (const char* element : kVoid) {
        if (name == element)
            return true;
    }
    return false;
}

// Elements whose end the browser shows as a line end.
bool EndsWithBreak(const std::string& name) {
    static const char* const kBlocks[] = {"p",  "div", "h1", "h2",    "h3",  "h4",     "h5",         "h6", "li",
                                          "ul", "ol",  "tr", "table", "pre", "center", "blockquote", "dl", "dd"};
    for (const char* element : kBlocks) {
        if (name == element)
            return true;
    }
    return false;
}

// Where the HTML between start and end may be cut into parts: after a line
// end outside every element opened there, and, outside a <pre> block, only
// where the line ended with <br> or the end of a block, so the cut shows no
// break the whole page does not. False when the HTML holds a comment, a
// script or a style, which a cut could fall into.
bool SafeCuts(const std::string& text, std::size_t start, std::size_t end, bool preformatted,
              std::vector<std::size_t>& cuts) {
    std::vector<std::string> open;
    bool lineBroken = false;
    for (std::size_t pos = start; pos < end; ++pos) {
        const char c = text[pos];
        if (c == '<') {
            if (HasWordAt(text, pos, "<!--") || HasWordAt(text, pos, "<script") || HasWordAt(text, pos, "<style"))
                return false;
            std::size_t at = pos + 1;
            const bool closing = at < end && text[at] == '/';
            if (closing)
                ++at;
            std::string name;
            while (at < end && ((text[at] >= 'a' && text[at] <= 'z') || (text[at] >= 'A' && text[at] <= 'Z') ||
                                (text[at] >= '0' && text[at] <= '9')))
                name += Lower(text[at++]);
            if (name.empty() || name[0] < 'a' || name[0] > 'z')
                continue; // a "<" of the text
            const std::size_t tagEnd = text.find('>', at);
            if (tagEnd == std::string::npos || tagEnd >= end)
                break;
            if (closing) {
                for (std::size_t i = open.size(); i-- > 0;) {
                    if (open[i] == name) {
                        open.resize(i);
                        break;
                    }
                }
                lineBroken = EndsWithBreak(name);
            } else {
                if (!IsVoidElement(name) && text[tagEnd - 1] != '/')
                    open.push_back(name);
                lineBroken = name == "br";
            }
            pos = tagEnd;
        } else if (c == '\n' || (c == '\r' && (pos + 1 >= end || text[pos + 1] != '\n'))) {
            if (open.empty() && (preformatted || lineBroken))
                cuts.push_back(pos + 1);
        } else if (c != ' ' && c != '\t' && c != '\r') {
            lineBroken = false;
        }
    }
    return true;
}

// The bytes a parted page puts into parts, and where it may cut them.
struct PartedBytes {
    std::size_t start = 0;
    std::size_t end = 0;
    bool everyLine = true; // any line end, or cuts
    std::vector<std::size_t> cuts;
};

bool FindPartedBytes(const std::string& text, const AddedText& added, PartedBytes& bytes) {
    if (added.header.empty() && added.footer.empty()) {
        // An HTML song: its largest <pre> block when that holds most of the
        // page, else its body.
        std::size_t start = 0;
        std::size_t end = 0;
        const bool pre = LargestPreformattedBlock(text, start, end) && end - start >= text.size() / 2;
        if (!pre && !BodyContent(text, start, end))
            return false;
        bytes.start = start;
        bytes.end = end;
        bytes.everyLine = false;
        return SafeCuts(text, start, end, pre, bytes.cuts) && !bytes.cuts.empty();
    }
    const std::size_t prefix = added.titleLine.size() + added.header.size();
    if (text.size() < prefix + added.footer.size() || text.compare(0, added.titleLine.size(), added.titleLine) != 0 ||
        text.compare(added.titleLine.size(), added.header.size(), added.header) != 0 || !EndsWith(text, added.footer))
        return false;
    bytes.start = prefix;
    bytes.end = text.size() - added.footer.size();
    return true;
}

} // namespace

bool PartedRange(const std::string& text, const AddedText& added, std::size_t& start, std::size_t& end) {
    PartedBytes bytes;
    if (!FindPartedBytes(text, added, bytes))
        return false;
    start = bytes.start;
    end = bytes.end;
    return true;
}

namespace {

bool IsLargeEnough(const std::string& text, const PartedBytes& range) {
    return text.size() >= kPartedPageBytes && range.end - range.start >= kPartedPageBytes / 2;
}

std::string PagedInParts(const std::string& text, const PartedBytes& range, const HighlightSettings* highlight,
                         const std::string& picturePrefix, const ChordRules& rules,
                         const std::string& otherPicturePrefix = std::string());

} // namespace

bool UsesPartedPage(const std::string& text, const AddedText& added) {
    PartedBytes range;
    return text.size() >= kPartedPageBytes && FindPartedBytes(text, added, range) && IsLargeEnough(text, range);
}

bool BuildPartedDisplayPage(const std::string& text, const AddedText& added, const HighlightSettings* highlight,
                            std::string& page, const std::string& picturePrefix, const ChordRules& rules,
                            const std::string& otherPicturePrefix) {
    PartedBytes range;
    if (text.size() < kPartedPageBytes || !FindPartedBytes(text, added, range) || !IsLargeEnough(text, range))
        return false;
    page = PagedInParts(text, range, highlight, picturePrefix, rules, otherPicturePrefix);
    return true;
}

std::string PartedDisplayPage(const std::string& text, const AddedText& added, const HighlightSettings* highlight,
                              const std::string& picturePrefix, const ChordRules& rules) {
    PartedBytes range;
    if (!FindPartedBytes(text, added, range) || range.start == range.end)
        return highlight ? HighlightedPage(text, rules, *highlight, picturePrefix) : text;
    return PagedInParts(text, range, highlight, picturePrefix, rules);
}

namespace {

std::string PagedInParts(const std::string& text, const PartedBytes& range, const HighlightSettings* highlight,
                         const std::string& picturePrefix, const ChordRules& rules,
                         const std::string& otherPicturePrefix) {
    std::string page;
    const std::size_t bodyStart = range.start;
    const std::size_t bodyEnd = range.end;
    page.reserve(text.size() + text.size() / 8 + 16 * 1024);
    const bool leadingBreak = bodyEnd > bodyStart && (text[bodyStart] == '\n' || text[bodyStart] == '\r');
    CPartWriter parts(page, leadingBreak, range.everyLine ? nullptr : &range.cuts);

    if (!highlight) {
        page.append(text, 0, bodyStart);
        parts.Text(text, bodyStart, bodyEnd - bodyStart);
        parts.Finish();
        page += kPartScript;
        page.append(text, bodyEnd, std::string::npos);
        return page;
    }

    chordwrap::CChordTags tags(*highlight, otherPicturePrefix);
    bool partsDone = false;
    // A stretch of text, split where the parted bytes begin and end. No
    // chord name crosses their edges: they follow a ">" and stand before a
    // "<", neither of which is part of a name. A chord at the very start of
    // the parted bytes belongs to them.
    auto copy = [&](std::size_t offset, std::size_t size) {
        const std::size_t end = offset + size;
        if (offset < bodyStart) {
            const std::size_t head = std::min(end, bodyStart);
            page.append(text, offset, head - offset);
            offset = head;
        }
        if (offset < bodyEnd && offset < end) {
            const std::size_t partsEnd = std::min(end, bodyEnd);
            parts.Text(text, offset, partsEnd - offset);
            offset = partsEnd;
        }
        if (!partsDone && end >= bodyEnd) {
            parts.Finish();
            page += OpeningTable(tags);
            page += kPartScript;
            partsDone = true;
        }
        if (offset < end)
            page.append(text, offset, end - offset);
    };
    // A bass note shows the picture of the chord before it.
    std::string lastOpening;
    std::string lastClosing;
    chordwrap::Walk(text, rules, copy, [&](std::size_t pos, const ChordMatch& chord) {
        if (pos < bodyStart || pos >= bodyEnd) {
            tags.AppendWrapped(page, text, pos, chord);
        } else if (chord.bass) {
            parts.Wrapped(lastOpening, text.substr(pos, chord.length), lastClosing);
            return;
        } else if (!chord.extended && text.compare(pos, chord.length, tags.Name(chord.index)) == 0) {
            parts.Chord(tags.Name(chord.index));
        } else if (!chord.extended) {
            // Written otherwise than the table's name (German notation).
            parts.Wrapped(tags.Opening(chord.index), text.substr(pos, chord.length), tags.Closing());
        } else {
            parts.Wrapped(tags.OtherOpening(text.substr(pos, chord.length)), text.substr(pos, chord.length),
                          tags.OtherClosing());
        }
        if (!chord.bass) {
            lastOpening =
                chord.extended ? tags.OtherOpening(text.substr(pos, chord.length)) : tags.Opening(chord.index);
            lastClosing = chord.extended ? tags.OtherClosing() : tags.Closing();
        }
    });
    page += CachedPopupBlock(picturePrefix);
    page += tags.OtherPopupLines();
    return page;
}

} // namespace
