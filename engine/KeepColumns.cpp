#include "engine/KeepColumns.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chords/ByteClass.h"
#include "chords/ChordName.h"
#include "engine/ChordLine.h"

namespace {

constexpr std::size_t kTabStop = 8;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const std::size_t extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
        if (extra == 0 || c == 0xC0 || c == 0xC1 || i + extra >= bytes.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

// How the bytes of one line advance the column.
struct ColumnCounter {
    bool utf8 = false;
    bool html = false;

    // The column after bytes written from column; inTag carries an HTML tag
    // that is open across them.
    std::size_t Advance(std::size_t column, std::string_view bytes, bool& inTag) const {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (html && (inTag || c == '<')) {
                inTag = c != '>';
            } else if (c == '\t') {
                column = (column / kTabStop + 1) * kTabStop;
            } else if (utf8 && (static_cast<unsigned char>(c) & 0xC0) == 0x80) {
                // A continuation byte: its character is counted already.
            } else {
                if (html && c == '&')
                    i += EntityLength(bytes.substr(i));
                ++column;
            }
        }
        return column;
    }

    // The bytes after the "&" of an entity (&amp; &#233;), none when it is none.
    static std::size_t EntityLength(std::string_view text) {
        std::size_t end = 1;
        while (end < text.size() && end < 10 &&
               (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '#'))
            ++end;
        return end > 1 && end < text.size() && text[end] == ';' ? end : 0;
    }
};

// The end of the line that goes on at from, and whether the line holds a
// tab or a byte beyond ASCII (plain stays true when it holds neither).
std::size_t LineEnd(std::string_view text, std::size_t from, bool& plain) {
    std::size_t end = from;
#if defined(__SSE2__)
    // Sixteen bytes at a time: chord lines are most of a songbook's lines.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (; end + 16 <= text.size(); end += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + end));
        const __m128i ends =
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
        const auto endMask = static_cast<std::uint32_t>(_mm_movemask_epi8(ends));
        const auto unusual =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')))));
        if (endMask != 0) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(endMask));
            plain = plain && (unusual & ((1u << at) - 1)) == 0;
            return end + at;
        }
        plain = plain && unusual == 0;
    }
#endif
    for (; end < text.size() && !IsLineEnd(text[end]); ++end)
        plain = plain && text[end] != '\t' && static_cast<unsigned char>(text[end]) < 0x80;
    return end;
}

// An element that starts a new line in the browser, so that the text line
// is not the line the reader sees.
bool BreaksLine(std::string_view line) {
    static constexpr std::string_view kBreaking[] = {"br", "p",  "div", "tr", "li", "hr", "pre", "table",     "h1",
                                                     "h2", "h3", "h4",  "h5", "h6", "dd", "dt",  "blockquote"};
    for (std::size_t open = line.find('<'); open != std::string_view::npos; open = line.find('<', open + 1)) {
        std::size_t name = open + 1 + (open + 1 < line.size() && line[open + 1] == '/' ? 1 : 0);
        std::size_t end = name;
        while (end < line.size() && std::isalnum(static_cast<unsigned char>(line[end])))
            ++end;
        std::string lower(line.substr(name, end - name));
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::find(std::begin(kBreaking), std::end(kBreaking), lower) != std::end(kBreaking))
            return true;
    }
    return false;
}

// A ChordPro name written inside the lyrics: "[G]Amazing".
bool HasInlineName(std::string_view line, std::size_t offset, std::size_t length) {
    return offset > 0 && line[offset - 1] == '[' && offset + length + 1 < line.size() && line[offset + length] == ']' &&
           !IsBlank(line[offset + length + 1]);
}

// The text being written: a buffer with room to spare, so that the many
// small pieces of a line go in without a check of their own.
class COutput {
public:
    explicit COutput(std::size_t capacity) : m_bytes(capacity, '\0') {}

    void Append(std::string_view bytes) {
        Reserve(bytes.size());
        std::memcpy(m_bytes.data() + m_size, bytes.data(), bytes.size());
        m_size += bytes.size();
    }
    // A line comes in pieces of a few bytes, whose lengths no branch
    // foresees: a short piece is copied as sixteen bytes, of which the rest
    // is written over next, when the text it comes from (up to limit) holds
    // as many.
    void AppendPiece(std::string_view bytes, const char* limit) {
        if (bytes.size() <= kPiece && limit - bytes.data() >= static_cast<std::ptrdiff_t>(kPiece)) {
            Reserve(kPiece);
            std::memcpy(m_bytes.data() + m_size, bytes.data(), kPiece);
            m_size += bytes.size();
        } else {
            Append(bytes);
        }
    }
    void Spaces(std::size_t count) {
        Reserve(std::max(count, kPiece));
        if (count <= kPiece)
            std::memcpy(m_bytes.data() + m_size, "                ", kPiece);
        else
            std::memset(m_bytes.data() + m_size, ' ', count);
        m_size += count;
    }
    std::size_t Size() const { return m_size; }
    std::string_view Since(std::size_t mark) const { return std::string_view(m_bytes).substr(mark, m_size - mark); }
    void Truncate(std::size_t size) { m_size = size; }
    std::string Take() {
        m_bytes.resize(m_size);
        return std::move(m_bytes);
    }

private:
    static constexpr std::size_t kPiece = 16;

    void Reserve(std::size_t count) {
        if (m_size + count > m_bytes.size())
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + count));
    }

    std::string m_bytes;
    std::size_t m_size = 0;
};

// The spaces of a line as bits, so that the ends of its words and gaps are
// found without a loop over their bytes, whose lengths no branch foresees.
class CBlankBits {
public:
    void Set(std::string_view line) {
        m_size = line.size();
        m_bits.assign(m_size / 64 + 1, 0);
        std::size_t i = 0;
#if defined(__SSE2__)
        for (; i + 16 <= m_size; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + i));
            const auto spaces = static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
            m_bits[i / 64] |= spaces << (i % 64);
        }
#endif
        for (; i < m_size; ++i)
            m_bits[i / 64] |= static_cast<std::uint64_t>(line[i] == ' ') << (i % 64);
    }

    // The first space (space) or other byte (!space) from i on; the line's
    // size when there is none.
    std::size_t Next(std::size_t i, bool space) const {
        while (i < m_size) {
            const std::uint64_t bits = (space ? m_bits[i / 64] : ~m_bits[i / 64]) >> (i % 64);
            if (bits != 0)
                return std::min(i + static_cast<std::size_t>(__builtin_ctzll(bits)), m_size);
            i = (i | 63) + 1;
        }
        return m_size;
    }

private:
    std::vector<std::uint64_t> m_bits;
    std::size_t m_size = 0;
};

// One line that holds names: its old and its new bytes, the names on it
// (first..last in names and occurrences) and where both lines start.
struct Line {
    std::string_view before;
    std::string_view after;
    std::size_t beforeStart = 0;
    std::size_t afterStart = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    // The ends of the whole old and new texts.
    const char* beforeLimit = nullptr;
    const char* afterLimit = nullptr;
};

class CLayout {
public:
    CLayout(const std::vector<NameBefore>& names, std::vector<ChordOccurrence>& occurrences, COutput& out)
        : m_names(names), m_occurrences(occurrences), m_out(out) {}

    // Appends the line as rewritten, its names moved to where out puts them.
    void Copy(const Line& line) {
        const std::size_t base = m_out.Size();
        m_out.Append(line.after);
        for (std::size_t k = line.first; k < line.last; ++k)
            m_occurrences[k].position = static_cast<std::uint32_t>(base + m_occurrences[k].position - line.afterStart);
    }

    // Appends the line with its words at their old columns where they fit;
    // with keepWide, a gap wide enough to part two columns of a sheet stays
    // so and a narrower one stays narrower. Returns whether a gap between
    // words changed from one to the other.
    bool LayOut(const Line& line, const ColumnCounter& counter, bool& inTag, bool keepWide) {
        const std::string_view before = line.before;
        std::size_t k = line.first;
        std::size_t i = 0;            // in the old line
        std::size_t beforeColumn = 0; // of the old line at i
        std::size_t afterColumn = 0;  // of the new line as written so far
        std::ptrdiff_t grown = 0;     // bytes the names before i grew by
        bool anyWord = false;
        bool crossed = false;
        for (;;) {
            const std::size_t gapStart = i;
            while (i < before.size() && !inTag && IsBlank(before[i]))
                ++i;
            const std::string_view gap = before.substr(gapStart, i - gapStart);
            bool gapTag = false;
            const std::size_t wordColumn = counter.Advance(beforeColumn, gap, gapTag);
            if (i == before.size()) {
                // The blanks after the last word keep the old end of the line where they can.
                if (!gap.empty())
                    Blanks(gap, afterColumn, wordColumn, counter);
                return crossed;
            }
            std::size_t target = anyWord ? std::max(wordColumn, afterColumn + 1) : wordColumn;
            const bool wide = IsWide(gap);
            if (keepWide && anyWord && wide)
                target = std::max(target, afterColumn + kChordColumnGap);
            else if (keepWide && anyWord)
                target = std::max(std::min(target, afterColumn + kChordColumnGap - 1), afterColumn + 1);
            const std::size_t written = m_out.Size();
            Blanks(gap, afterColumn, target, counter);
            crossed = crossed || wide != IsWide(m_out.Since(written));
            anyWord = true;

            // The word: up to a blank outside a tag and outside a name (a
            // fingering may hold blanks).
            const bool tagAtWord = inTag;
            const std::size_t wordStart = i;
            const std::ptrdiff_t grownBefore = grown;
            const std::size_t outStart = m_out.Size();
            while (i < before.size()) {
                if (k < line.last && line.beforeStart + i == m_names[k].position) {
                    const std::size_t nameEnd = i + m_names[k].length;
                    const std::size_t afterName = m_occurrences[k].position - line.afterStart;
                    grown = static_cast<std::ptrdiff_t>(afterName + m_occurrences[k].length) -
                            static_cast<std::ptrdiff_t>(nameEnd);
                    m_occurrences[k].position =
                        static_cast<std::uint32_t>(outStart + afterName - (wordStart + grownBefore));
                    ++k;
                    i = nameEnd;
                    continue;
                }
                const char c = before[i];
                if (inTag)
                    inTag = c != '>';
                else if (counter.html && c == '<')
                    inTag = true;
                else if (IsBlank(c))
                    break;
                ++i;
            }
            bool tag = tagAtWord;
            beforeColumn = counter.Advance(wordColumn, before.substr(wordStart, i - wordStart), tag);
            const std::string_view word = line.after.substr(
                static_cast<std::size_t>(static_cast<std::ptrdiff_t>(wordStart) + grownBefore),
                static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i - wordStart) + grown - grownBefore));
            m_out.Append(word);
            tag = tagAtWord;
            afterColumn = counter.Advance(target, word, tag);
        }
    }

    // LayOut for a line of text without tabs and with one byte a
    // character, where a column is a byte: what the line has grown by so far
    // (drift) goes into the next gap, and between there and the next name
    // the line is copied as it is.
    bool LayOutPlain(const Line& line, bool keepWide) {
        const std::string_view before = line.before;
        const std::string_view after = line.after;
        const std::size_t size = before.size();
        m_blanks.Set(before);
        std::size_t k = line.first;
        std::size_t i = 0; // in the old line
        std::size_t j = 0; // the same place in the new one
        std::ptrdiff_t drift = 0;
        bool crossed = false;
        for (;;) {
            if (drift == 0) {
                if (k == line.last) {
                    m_out.AppendPiece(after.substr(j), line.afterLimit);
                    return crossed;
                }
                const std::size_t name = m_names[k].position - line.beforeStart;
                m_out.AppendPiece(after.substr(j, name - i), line.afterLimit);
                j += name - i;
                i = name;
            }
            // The rest of a word, names and all (a fingering may hold blanks).
            std::size_t end = m_blanks.Next(i, true);
            while (k < line.last && m_names[k].position - line.beforeStart < end) {
                const std::size_t name = m_names[k].position - line.beforeStart;
                m_out.AppendPiece(before.substr(i, name - i), line.beforeLimit);
                j += name - i;
                const std::size_t length = m_occurrences[k].length;
                m_occurrences[k].position = static_cast<std::uint32_t>(m_out.Size());
                m_out.AppendPiece(after.substr(j, length), line.afterLimit);
                drift += static_cast<std::ptrdiff_t>(length) - static_cast<std::ptrdiff_t>(m_names[k].length);
                i = name + m_names[k].length;
                j += length;
                ++k;
                end = m_blanks.Next(i, true);
            }
            m_out.AppendPiece(before.substr(i, end - i), line.beforeLimit);
            j += end - i;
            i = end;
            const std::size_t gap = m_blanks.Next(i, false) - i;
            const auto old = static_cast<std::ptrdiff_t>(gap);
            std::ptrdiff_t blanks = old - drift;
            if (i + gap == size) {
                // The blanks after the last word keep the old end of the line where they can.
                if (gap > 0)
                    m_out.Spaces(static_cast<std::size_t>(std::max<std::ptrdiff_t>(blanks, 0)));
                return crossed;
            }
            const auto columnGap = static_cast<std::ptrdiff_t>(kChordColumnGap);
            blanks = std::max<std::ptrdiff_t>(blanks, 1);
            if (keepWide && old >= columnGap)
                blanks = std::max(blanks, columnGap);
            else if (keepWide)
                blanks = std::min(blanks, columnGap - 1);
            crossed = crossed || (old >= columnGap) != (blanks >= columnGap);
            m_out.Spaces(static_cast<std::size_t>(blanks));
            drift += blanks - old;
            i += gap;
            j += gap;
        }
    }

private:
    // Whether blanks part two columns as a sheet is read (engine/ChordLine.h).
    static bool IsWide(std::string_view gap) {
        std::size_t blanks = 0;
        for (const char c : gap)
            blanks += c == '\t' ? kChordColumnGap : 1;
        return blanks >= kChordColumnGap;
    }

    // Appends the blanks of gap, written from column, when they reach
    // target as they are (tabs kept), or else spaces up to target.
    void Blanks(std::string_view gap, std::size_t& column, std::size_t target, const ColumnCounter& counter) {
        bool inTag = false;
        if (counter.Advance(column, gap, inTag) == target)
            m_out.Append(gap);
        else if (target > column)
            m_out.Spaces(target - column);
        column = std::max(column, target);
    }

    const std::vector<NameBefore>& m_names;
    std::vector<ChordOccurrence>& m_occurrences;
    COutput& m_out;
    CBlankBits m_blanks;
};

// Blanks and the marks a sheet writes around and between chords.
constexpr ByteClass kBlankOrMark = MakeByteClass(" \t()[]{}|:./*%-~");

// Whether the line holds nothing but names, blanks and marks. Read as a
// sheet, every part of such a line that holds a name is chord line, and each
// word reads alone, so no gap changes how the line reads.
bool OnlyNamesAndMarks(const Line& line, const std::vector<NameBefore>& names) {
    std::size_t i = 0;
    for (std::size_t k = line.first; k <= line.last; ++k) {
        const std::size_t stop = k < line.last ? names[k].position - line.beforeStart : line.before.size();
        for (; i < stop; ++i) {
            if (!kBlankOrMark[static_cast<unsigned char>(line.before[i])])
                return false;
        }
        if (k < line.last)
            i += names[k].length;
    }
    return true;
}

bool IsChordName(std::string_view word) {
    return ChordName::Read(word, true).has_value();
}

// Whether two versions of a line read alike as a sheet: as a chord line or
// not, with as many names, bass notes and fingerings.
bool ReadsAlike(std::string_view one, std::string_view other) {
    thread_local ChordLineReading first;
    thread_local ChordLineReading second;
    ReadChordLine(one, IsChordName, first);
    ReadChordLine(other, IsChordName, second);
    return first.isChordLine == second.isChordLine && first.chords.size() == second.chords.size() &&
           first.basses.size() == second.basses.size() && first.fingerings.size() == second.fingerings.size();
}

} // namespace

std::string KeepColumns(std::string_view before, std::string_view after, const std::vector<NameBefore>& names,
                        std::vector<ChordOccurrence>& occurrences, const ChordRules& rules) {
    const bool html = rules.html;
    thread_local std::vector<std::uint32_t> saved;
    COutput out(after.size() + after.size() / 8 + 64);
    CLayout layout(names, occurrences, out);
    std::size_t afterCursor = 0; // copied from after up to here
    std::size_t tagScanned = 0;  // in before, HTML only
    bool inTag = false;
    for (std::size_t k = 0; k < names.size();) {
        Line line;
        line.beforeLimit = before.data() + before.size();
        line.afterLimit = after.data() + after.size();
        const std::size_t position = names[k].position;
        std::size_t start = position;
        while (start > 0 && !IsLineEnd(before[start - 1]))
            --start;
        // Tabs and bytes beyond ASCII ask for columns counted one by one.
        bool plain = !html;
        const std::size_t end = LineEnd(before, start, plain);
        line.first = k;
        while (k < names.size() && names[k].position < end)
            ++k;
        line.last = k;
        line.before = before.substr(start, end - start);
        line.beforeStart = start;
        line.afterStart = start + occurrences[line.first].position - position;
        const ChordOccurrence& lastName = occurrences[line.last - 1];
        const NameBefore& lastBefore = names[line.last - 1];
        const std::size_t afterEnd =
            end + lastName.position + lastName.length - lastBefore.position - lastBefore.length;
        line.after = after.substr(line.afterStart, afterEnd - line.afterStart);

        out.Append(after.substr(afterCursor, line.afterStart - afterCursor));
        afterCursor = afterEnd;
        if (html) {
            // The last "<" or ">" before the line says whether a tag is open at its start.
            const std::size_t mark = before.substr(tagScanned, start - tagScanned).find_last_of("<>");
            if (mark != std::string_view::npos)
                inTag = before[tagScanned + mark] == '<';
            tagScanned = end;
        }

        bool inline_ = false;
        for (std::size_t n = line.first; n < line.last && !inline_; ++n)
            inline_ = HasInlineName(line.before, names[n].position - start, names[n].length);
        // Read by its chord lines, an HTML song's markup reads as blanks,
        // which the columns here do not count: such a line is left as it is.
        const bool markup = html && (inTag || line.before.find_first_of("<>&") != std::string_view::npos);
        if (inline_ || (html && BreaksLine(line.before)) || (rules.chordLines && markup)) {
            const std::size_t mark = html ? line.before.find_last_of("<>") : std::string_view::npos;
            if (mark != std::string_view::npos)
                inTag = line.before[mark] == '<';
            layout.Copy(line);
            continue;
        }
        const ColumnCounter counter{!plain && IsValidUtf8(line.before), html};
        const auto layOut = [&](bool keepWide) {
            return plain ? layout.LayOutPlain(line, keepWide) : layout.LayOut(line, counter, inTag, keepWide);
        };
        if (!rules.chordLines) {
            layOut(false);
            continue;
        }
        // A gap wide enough to part two columns of a sheet changes how the
        // line reads: the line laid out must read as the line rewritten.
        const std::size_t mark = out.Size();
        saved.clear();
        for (std::size_t n = line.first; n < line.last; ++n)
            saved.push_back(occurrences[n].position);
        const auto undo = [&] {
            out.Truncate(mark);
            for (std::size_t n = line.first; n < line.last; ++n)
                occurrences[n].position = saved[n - line.first];
        };
        if (!layOut(false) || OnlyNamesAndMarks(line, names) || ReadsAlike(line.after, out.Since(mark)))
            continue;
        undo();
        layOut(true);
        if (ReadsAlike(line.after, out.Since(mark)))
            continue;
        undo();
        layout.Copy(line);
    }
    out.Append(after.substr(afterCursor));
    return out.Take();
}
