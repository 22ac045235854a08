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
#include "engine/NameWriter.h"

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

// The end of the line that goes on at from, whether the line holds a tab or
// a byte beyond ASCII (plain stays true when it holds neither) and whether
// it holds a "[" (bracket).
std::size_t LineEnd(std::string_view text, std::size_t from, bool& plain, bool& bracket) {
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
        const auto brackets = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('['))));
        if (endMask != 0) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(endMask));
            plain = plain && (unusual & ((1u << at) - 1)) == 0;
            bracket = bracket || (brackets & ((1u << at) - 1)) != 0;
            return end + at;
        }
        plain = plain && unusual == 0;
        bracket = bracket || brackets != 0;
    }
#endif
    for (; end < text.size() && !IsLineEnd(text[end]); ++end) {
        plain = plain && text[end] != '\t' && static_cast<unsigned char>(text[end]) < 0x80;
        bracket = bracket || text[end] == '[';
    }
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
    static constexpr std::size_t kPiece = 16;

    explicit COutput(std::size_t capacity) : m_bytes(capacity, '\0') {}

    void Append(std::string_view bytes) {
        Reserve(bytes.size());
        std::memcpy(m_bytes.data() + m_size, bytes.data(), bytes.size());
        m_size += bytes.size();
    }
    void Spaces(std::size_t count) {
        Reserve(std::max(count, kPiece));
        if (count <= kPiece)
            std::memcpy(m_bytes.data() + m_size, "                ", kPiece);
        else
            std::memset(m_bytes.data() + m_size, ' ', count);
        m_size += count;
    }
    // Room for count more bytes and a piece beyond them, to be written from
    // the returned end and handed back by Commit.
    char* Room(std::size_t count) {
        Reserve(count + kPiece);
        return m_bytes.data() + m_size;
    }
    void Commit(const char* end) { m_size = static_cast<std::size_t>(end - m_bytes.data()); }
    std::size_t Size() const { return m_size; }
    std::string_view Since(std::size_t mark) const { return std::string_view(m_bytes).substr(mark, m_size - mark); }
    void Truncate(std::size_t size) { m_size = size; }
    std::string Take() {
        m_bytes.resize(m_size);
        return std::move(m_bytes);
    }

private:
    void Reserve(std::size_t count) {
        if (m_size + count > m_bytes.size())
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + count));
    }

    std::string m_bytes;
    std::size_t m_size = 0;
};

// Writes bytes at out and returns the end. A line comes in pieces of a few
// bytes, whose lengths no branch foresees: a short piece is copied as
// sixteen bytes, of which the rest is written over next, when roomy says
// the text it comes from holds as many.
char* PutPiece(char* out, const char* bytes, std::size_t size, bool roomy) {
    if (size <= COutput::kPiece && roomy)
        std::memcpy(out, bytes, COutput::kPiece);
    else
        std::memcpy(out, bytes, size);
    return out + size;
}

// The bytes between two names as most sheets write them: other bytes, a
// run of spaces, other bytes ("  ", "/", ")  (", "|  "), any part empty.
struct ShortPiece {
    std::size_t runStart = 0;
    std::size_t runEnd = 0;
};

// The spaces among the size bytes at bytes, sixteen or fewer, of which
// sixteen are readable: bit i for byte i.
std::uint32_t SpaceBits(const char* bytes, std::size_t size) {
    const std::uint32_t wanted = (std::uint32_t{1} << size) - 1;
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')))) & wanted;
#else
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < size; ++i)
        bits |= std::uint32_t{bytes[i] == ' '} << i;
    return bits;
#endif
}

// Whether the size bytes at bytes, as SpaceBits reads them, are spaces.
bool SpacesOnly(const char* bytes, std::size_t size) {
    return SpaceBits(bytes, size) == (std::uint32_t{1} << size) - 1;
}

// Reads the size bytes at bytes, as SpaceBits reads them, as a short
// piece: false when they hold more than one run of spaces.
bool ReadShortPiece(const char* bytes, std::size_t size, ShortPiece& piece) {
    const std::uint32_t end = std::uint32_t{1} << size;
    const std::uint32_t spaces = SpaceBits(bytes, size);
    piece.runStart = static_cast<std::size_t>(__builtin_ctz(spaces | end));
    const std::uint32_t after = ~spaces & ~((std::uint32_t{1} << piece.runStart) - 1);
    piece.runEnd = static_cast<std::size_t>(__builtin_ctz(after | end));
    return (spaces >> piece.runEnd) == 0;
}

// Writes the size bytes, sixteen or fewer, at out as sixteen: there is room
// for them, and bytes holds as many.
char* PutShort(char* out, const char* bytes, std::size_t size) {
    std::memcpy(out, bytes, COutput::kPiece);
    return out + size;
}

char* PutSpaces(char* out, std::size_t count) {
    if (count <= COutput::kPiece)
        std::memcpy(out, "                ", COutput::kPiece);
    else
        std::memset(out, ' ', count);
    return out + count;
}

// Where a name stood in the old text.
struct NameBefore {
    std::uint32_t position = 0;
    std::uint16_t length = 0;
};

// One line that holds names: its old bytes, where it starts in the old text
// and the names on it (first..last in occurrences). Its new bytes, the line
// as rewritten with no column kept, are written out only when a layout asks
// for them.
struct Line {
    std::string_view before;
    std::string_view after;
    std::size_t beforeStart = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    // The end of the whole old text.
    const char* beforeLimit = nullptr;
};

// Lays out the lines that hold names, one at a time. The moved names are
// written as a line is laid out, in text order; a line that is laid out
// more than once, or from its names as rewritten, has them written first
// and keeps them, with where each name stood, until the next line.
class CLayout {
public:
    CLayout(CNameWriter& writer, std::vector<ChordOccurrence>& occurrences, COutput& out)
        : m_writer(writer), m_occurrences(occurrences), m_out(out) {}

    // Makes room for where the names of the line stood: it holds no more
    // names than bytes, nor than there are from line.first on.
    void StartLine(const Line& line) {
        const std::size_t most = std::min(line.before.size(), m_occurrences.size() - line.first) + 1;
        if (m_names.size() < most)
            m_names.resize(most);
    }

    // Where the names of the line stood, from line.first on.
    const NameBefore* Names() const { return m_names.data(); }

    // Writes the moved names of the line into its own buffer.
    void WriteNames(const Line& line) {
        // A moved name is at most three times as long as the old one (a
        // fingering that takes a separator and two digits a string), and a
        // table name is written as its whole entry.
        std::size_t old = 0;
        for (std::size_t k = line.first; k < line.last; ++k)
            old += m_occurrences[k].length;
        MovedRoom(3 * old + CNameWriter::kTableNameBytes);
        std::size_t size = 0;
        for (std::size_t k = line.first; k < line.last; ++k) {
            m_names[k - line.first] = {m_occurrences[k].position, m_occurrences[k].length};
            size += m_writer.Write(m_occurrences, k, m_moved.data() + size);
        }
    }

    // Keeps the moved names of the line laid out last, from where they were written.
    void KeepNames(const Line& line) {
        std::size_t bytes = 0;
        for (std::size_t k = line.first; k < line.last; ++k)
            bytes += m_occurrences[k].length;
        MovedRoom(bytes);
        std::size_t size = 0;
        for (std::size_t k = line.first; k < line.last; ++k) {
            const std::string_view name = m_out.Since(m_occurrences[k].position).substr(0, m_occurrences[k].length);
            std::memcpy(m_moved.data() + size, name.data(), name.size());
            size += name.size();
        }
    }

    // Room for count bytes of moved names and a piece beyond them, which a
    // layout may read as it copies the last name.
    void MovedRoom(std::size_t count) {
        if (m_moved.size() < count + COutput::kPiece)
            m_moved.resize(count + COutput::kPiece);
    }

    // Points line.after at the line as rewritten, kept in buffer.
    void Rewrite(Line& line, std::string& buffer) const {
        buffer.clear();
        std::size_t i = 0;
        std::size_t moved = 0;
        for (std::size_t k = line.first; k < line.last; ++k) {
            const NameBefore& before = m_names[k - line.first];
            const std::size_t name = before.position - line.beforeStart;
            buffer.append(line.before, i, name - i);
            buffer.append(m_moved, moved, m_occurrences[k].length);
            moved += m_occurrences[k].length;
            i = name + before.length;
        }
        buffer.append(line.before, i);
        line.after = buffer;
    }

    // Appends the line as rewritten, its names moved to where out puts them.
    void Copy(const Line& line) {
        const std::size_t base = m_out.Size();
        m_out.Append(line.after);
        std::ptrdiff_t grown = 0;
        for (std::size_t k = line.first; k < line.last; ++k) {
            const NameBefore& before = m_names[k - line.first];
            m_occurrences[k].position = static_cast<std::uint32_t>(
                static_cast<std::ptrdiff_t>(base + before.position - line.beforeStart) + grown);
            grown += static_cast<std::ptrdiff_t>(m_occurrences[k].length) - static_cast<std::ptrdiff_t>(before.length);
        }
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
                if (k < line.last && line.beforeStart + i == m_names[k - line.first].position) {
                    const std::size_t nameEnd = i + m_names[k - line.first].length;
                    const auto afterName = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + grown);
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
    // character, where a column is a byte: the words between two names go
    // out as they stand while the line has not grown or shrunk so far;
    // else each gap between words is narrowed or widened by what the line
    // has grown or shrunk by so far (drift), keeping one blank (with
    // keepWide, a gap wide enough to part two columns of a sheet stays so
    // and a narrower one stays narrower), and the blanks after the last
    // word keep the old end of the line where they can.
    //
    // With write, the names on the line are found, written and kept as it
    // is laid out: line.last is set. Else they are the names written or
    // kept before.
    template <bool write> bool LayOutPlain(Line& line, bool keepWide) {
        const std::string_view before = line.before;
        const std::size_t lineEnd = line.beforeStart + before.size();
        // A moved name is at most three times as long as the old one (a
        // fingering that takes a separator and two digits a string), and
        // blanks grow by no more than names shrink: the line comes out
        // within five times its old bytes.
        const std::size_t start = m_out.Size();
        char* const begin = m_out.Room(5 * before.size() + 2 * COutput::kPiece);
        char* out = begin;
        const bool roomy = line.beforeLimit - (before.data() + before.size()) >= std::ptrdiff_t{COutput::kPiece};
        const char* moved = m_moved.data();
        const auto columnGap = static_cast<std::ptrdiff_t>(kChordColumnGap);
        std::size_t i = 0; // in the old line
        std::ptrdiff_t drift = 0;
        bool crossed = false;
        for (std::size_t k = line.first;; ++k) {
            // The bytes from i up to the next name or the end of the line.
            NameBefore& name = m_names[k - line.first];
            bool last = k == line.last;
            if constexpr (write) {
                last = k == m_occurrences.size() || m_occurrences[k].position >= lineEnd;
                if (!last)
                    name = {m_occurrences[k].position, m_occurrences[k].length};
            }
            const std::size_t stop = last ? before.size() : name.position - line.beforeStart;
            ShortPiece piece;
            const std::size_t size = stop - i;
            const bool shortPiece = roomy && size <= COutput::kPiece;
            if (shortPiece && SpacesOnly(before.data() + i, size)) {
                // Most often blanks alone come before a name: they take up
                // the drift at once, with no branch on whether there is any.
                const auto old = static_cast<std::ptrdiff_t>(size);
                // No blank stays none.
                const std::ptrdiff_t blanks = NewBlanks(old, drift, keepWide, last) & -std::ptrdiff_t{old != 0};
                crossed |= !last & ((old >= columnGap) != (blanks >= columnGap));
                out = PutSpaces(out, static_cast<std::size_t>(blanks));
                drift += blanks - old;
            } else if (shortPiece && ReadShortPiece(before.data() + i, size, piece)) {
                // Else most often other bytes and a run of blanks ("/",
                // ")  (", "|  "): the run takes up the drift.
                const char* const bytes = before.data() + i;
                const auto old = static_cast<std::ptrdiff_t>(piece.runEnd - piece.runStart);
                const bool lastRun = last && piece.runEnd == size;
                // No blank stays none.
                const std::ptrdiff_t blanks = NewBlanks(old, drift, keepWide, lastRun) & -std::ptrdiff_t{old != 0};
                crossed |= !lastRun & ((old >= columnGap) != (blanks >= columnGap));
                out = PutShort(out, bytes, piece.runStart);
                out = PutSpaces(out, static_cast<std::size_t>(blanks));
                out = PutShort(out, bytes + piece.runEnd, size - piece.runEnd);
                drift += blanks - old;
            } else {
                while (i < stop && drift != 0) {
                    // Between two names there are a few bytes: a loop finds the
                    // blank sooner than a call would.
                    std::size_t gap = i;
                    while (gap < stop && before[gap] != ' ')
                        ++gap;
                    out = PutPiece(out, before.data() + i, gap - i, roomy);
                    i = gap;
                    if (gap == stop)
                        break;
                    while (i < stop && before[i] == ' ')
                        ++i;
                    const auto old = static_cast<std::ptrdiff_t>(i - gap);
                    const std::ptrdiff_t blanks = NewBlanks(old, drift, keepWide, i == before.size());
                    crossed = crossed || (i != before.size() && (old >= columnGap) != (blanks >= columnGap));
                    out = PutSpaces(out, static_cast<std::size_t>(blanks));
                    drift += blanks - old;
                }
                out = PutPiece(out, before.data() + i, stop - i, roomy);
            }
            if (last) {
                line.last = k;
                break;
            }
            std::size_t length = m_occurrences[k].length;
            if constexpr (write) {
                length = m_writer.Write(m_occurrences, k, out);
            } else {
                // The buffer of names has room for a piece beyond them.
                PutPiece(out, moved, length, true);
                moved += length;
            }
            m_occurrences[k].position = static_cast<std::uint32_t>(start + static_cast<std::size_t>(out - begin));
            out += length;
            drift += static_cast<std::ptrdiff_t>(length) - static_cast<std::ptrdiff_t>(name.length);
            i = stop + name.length;
        }
        m_out.Commit(out);
        return crossed;
    }

private:
    // The blanks that stand for old blanks (at least one) once the line has
    // drifted: as many fewer as it grew by, at least one between two words
    // and none needed after the last; with keepWide a gap as wide as
    // kChordColumnGap stays so and a narrower one stays narrower.
    static std::ptrdiff_t NewBlanks(std::ptrdiff_t old, std::ptrdiff_t drift, bool keepWide, bool last) {
        const auto columnGap = static_cast<std::ptrdiff_t>(kChordColumnGap);
        const std::ptrdiff_t blanks = old - drift;
        if (last)
            return std::max<std::ptrdiff_t>(blanks, 0);
        if (!keepWide)
            return std::max<std::ptrdiff_t>(blanks, 1);
        return old >= columnGap ? std::max(blanks, columnGap) : std::clamp<std::ptrdiff_t>(blanks, 1, columnGap - 1);
    }

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

    CNameWriter& m_writer;
    std::vector<ChordOccurrence>& m_occurrences;
    COutput& m_out;
    // The line's names: where each stood, and the moved names one after another.
    std::vector<NameBefore> m_names;
    std::string m_moved;
};

// Blanks and the marks a sheet writes around and between chords.
constexpr ByteClass kBlankOrMark = MakeByteClass(" \t()[]{}|:./*%-~,;?!");

// Whether the line holds nothing but names, blanks, marks and repeat or
// no-chord words (x2, N.C.). Read as a sheet, every part of such a line that
// holds a name is chord line, and each word reads alone, so no gap changes
// how the line reads.
// names[k - line.first] is where the line's k-th name stood.
bool OnlyNamesAndMarks(const Line& line, const NameBefore* names) {
    const std::string_view text = line.before;
    if (text.size() <= 64) {
        // Most such lines hold only names, blanks and marks: every other
        // byte of a short line is a bit, told without a branch, and the
        // names' bytes are taken out.
        std::uint64_t others = 0;
        for (std::size_t i = 0; i < text.size(); ++i)
            others |= std::uint64_t{kBlankOrMark[static_cast<unsigned char>(text[i])] == 0} << i;
        for (std::size_t k = line.first; k < line.last; ++k) {
            const std::size_t at = names[k - line.first].position - line.beforeStart;
            const std::size_t length = names[k - line.first].length;
            others &= ~((length >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1) << at);
        }
        if (others == 0)
            return true;
    }
    std::size_t i = 0;
    for (std::size_t k = line.first; k <= line.last; ++k) {
        const std::size_t stop = k < line.last ? names[k - line.first].position - line.beforeStart : text.size();
        for (; i < stop; ++i) {
            if (kBlankOrMark[static_cast<unsigned char>(text[i])])
                continue;
            // A word that holds no name: marks around a repeat or N.C.
            std::size_t begin = i;
            while (begin > 0 && !IsBlank(text[begin - 1]) && kBlankOrMark[static_cast<unsigned char>(text[begin - 1])])
                --begin;
            std::size_t end = i;
            while (end < stop && !IsBlank(text[end]))
                ++end;
            if ((begin > 0 && !IsBlank(text[begin - 1])) || (end == stop && k < line.last))
                return false;
            std::string_view core = text.substr(i, end - i);
            while (!core.empty() && kBlankOrMark[static_cast<unsigned char>(core.back())] && core.back() != '.')
                core.remove_suffix(1);
            if (!IsRepeatOrNoChord(core) && !IsRepeatOrNoChord(text.substr(i, end - i)))
                return false;
            i = end - 1;
        }
        if (k < line.last)
            i += names[k - line.first].length;
    }
    return true;
}

// What a stretch of a line reads as: any chord line in it, and the names,
// bass notes and fingerings its chord lines hold.
struct StretchReading {
    bool chordLine = false;
    std::size_t chords = 0;
    std::size_t basses = 0;
    std::size_t fingerings = 0;

    void Add(std::string_view stretch, const ChordRules& rules) {
        thread_local ChordLineReading reading;
        ReadChordLine(
            stretch, [&rules](std::string_view word) { return IsLineChordName(word, rules); }, reading);
        chordLine = chordLine || reading.isChordLine;
        chords += reading.chords.size();
        basses += reading.basses.size();
        fingerings += reading.fingerings.size();
    }
    bool operator==(const StretchReading& other) const {
        return chordLine == other.chordLine && chords == other.chords && basses == other.basses &&
               fingerings == other.fingerings;
    }
};

// Whether two versions of a line, the same words with other gaps between
// them, read alike as a sheet, names read in the song's notation: as a
// chord line or not, with as many names, bass notes and fingerings.
//
// A line is read in columns that gaps of kChordColumnGap blanks part, each
// column by its words alone; so where a gap is that wide in both versions,
// they read alike on either side of it, and only the stretches between such
// gaps where some gap changed need reading.
bool ReadsAlike(std::string_view one, std::string_view other, const ChordRules& rules) {
    const auto gapEnd = [](std::string_view line, std::size_t i, std::size_t& weight) {
        weight = 0;
        for (; i < line.size() && IsBlank(line[i]); ++i)
            weight += line[i] == '\t' ? kChordColumnGap : 1;
        return i;
    };
    StretchReading changedOne;
    StretchReading changedOther;
    bool anyChanged = false;
    std::size_t i = 0; // in one
    std::size_t j = 0; // in other
    std::size_t stretchOne = 0;
    std::size_t stretchOther = 0;
    bool changed = false;
    for (;;) {
        // A gap (the first one is the line's indent) and the word after it.
        std::size_t weightOne = 0;
        std::size_t weightOther = 0;
        const std::size_t wordOne = gapEnd(one, i, weightOne);
        const std::size_t wordOther = gapEnd(other, j, weightOther);
        const bool last = wordOne == one.size() || wordOther == other.size();
        const bool wideOne = weightOne >= kChordColumnGap;
        const bool wideOther = weightOther >= kChordColumnGap;
        if (last || (wideOne && wideOther && i > 0)) {
            if (changed) {
                changedOne.Add(one.substr(stretchOne, i - stretchOne), rules);
                changedOther.Add(other.substr(stretchOther, j - stretchOther), rules);
                anyChanged = true;
            }
            if (last)
                break;
            stretchOne = wordOne;
            stretchOther = wordOther;
            changed = false;
        } else {
            changed = changed || wideOne != wideOther;
        }
        i = wordOne;
        j = wordOther;
        while (i < one.size() && !IsBlank(one[i]))
            ++i;
        while (j < other.size() && !IsBlank(other[j]))
            ++j;
    }
    if (!anyChanged || changedOne == changedOther)
        return true;
    if (changedOne.chords != changedOther.chords || changedOne.basses != changedOther.basses ||
        changedOne.fingerings != changedOther.fingerings)
        return false;
    // Only whether a chord line is in the stretches differs: the whole line
    // is one when any other stretch is.
    StretchReading wholeOne;
    StretchReading wholeOther;
    wholeOne.Add(one, rules);
    wholeOther.Add(other, rules);
    return wholeOne.chordLine == wholeOther.chordLine;
}

} // namespace

std::string KeepColumns(std::string_view before, CNameWriter& writer, std::vector<ChordOccurrence>& occurrences,
                        const ChordRules& rules) {
    const bool html = rules.html;
    thread_local std::string rewritten;
    // Room for the names grown and, where they shrank, blanks in their stead.
    COutput out(before.size() + before.size() / 8 + writer.Growth(occurrences) + 64);
    CLayout layout(writer, occurrences, out);
    std::size_t cursor = 0;     // copied from before up to here
    std::size_t tagScanned = 0; // HTML only
    bool inTag = false;
    // The page header opening put before a song shares the song's first
    // line, and the footer its last one when the file ends without a line
    // end: they are no part of the line, as the song is read, and stay as
    // they were put, for saving finds them by their bytes.
    const std::size_t songStart = std::min(rules.addedBefore, before.size());
    const std::size_t songEnd = before.size() - std::min(rules.addedAfter, before.size());
    // One line at a time, each field set for it: built afresh, the whole
    // of it would be cleared for each of a songbook's lines.
    Line line;
    line.beforeLimit = before.data() + before.size();
    line.last = 0;
    for (std::size_t k = 0; k < occurrences.size(); k = line.last) {
        line.after = std::string_view();
        std::size_t start = occurrences[k].position;
        while (start > std::max(cursor, songStart) && !IsLineEnd(before[start - 1]))
            --start;
        // Tabs and bytes beyond ASCII ask for columns counted one by one.
        bool plain = !html;
        bool bracket = false;
        const std::size_t end = std::min(LineEnd(before, start, plain, bracket),
                                         std::max<std::size_t>(songEnd, occurrences[k].position + 1));
        line.first = k;
        line.before = before.substr(start, end - start);
        line.beforeStart = start;
        layout.StartLine(line);
        // A plain line's names are found and written as it is laid out;
        // once written, they are kept for the line.
        bool written = !plain || bracket;
        bool inline_ = false;
        if (written) {
            for (; k < occurrences.size() && occurrences[k].position < end; ++k) {
                const std::size_t at = occurrences[k].position - start;
                inline_ = inline_ || (bracket && at > 0 && line.before[at - 1] == '[' &&
                                      HasInlineName(line.before, at, occurrences[k].length));
            }
            line.last = k;
            layout.WriteNames(line);
        }

        out.Append(before.substr(cursor, start - cursor));
        cursor = end;
        if (html) {
            // The last "<" or ">" before the line says whether a tag is open at its start.
            const std::size_t mark = before.substr(tagScanned, start - tagScanned).find_last_of("<>");
            if (mark != std::string_view::npos)
                inTag = before[tagScanned + mark] == '<';
            tagScanned = end;
        }

        // Read by its chord lines, an HTML song's markup reads as blanks,
        // which the columns here do not count: such a line is left as it is.
        const bool markup = html && (inTag || line.before.find_first_of("<>&") != std::string_view::npos);
        if (inline_ || (html && BreaksLine(line.before)) || (rules.chordLines && markup)) {
            const std::size_t mark = html ? line.before.find_last_of("<>") : std::string_view::npos;
            if (mark != std::string_view::npos)
                inTag = line.before[mark] == '<';
            layout.Rewrite(line, rewritten);
            layout.Copy(line);
            continue;
        }
        const ColumnCounter counter{!plain && IsValidUtf8(line.before), html};
        if (!plain)
            layout.Rewrite(line, rewritten);
        const auto layOut = [&](bool keepWide) {
            if (!plain)
                return layout.LayOut(line, counter, inTag, keepWide);
            return written ? layout.LayOutPlain<false>(line, keepWide) : layout.LayOutPlain<true>(line, keepWide);
        };
        if (!rules.chordLines) {
            layOut(false);
            continue;
        }
        // A gap wide enough to part two columns of a sheet changes how the
        // line reads: the line laid out must read as the line rewritten.
        const std::size_t mark = out.Size();
        if (!layOut(false) || OnlyNamesAndMarks(line, layout.Names()))
            continue;
        if (!written)
            layout.KeepNames(line);
        written = true;
        if (plain)
            layout.Rewrite(line, rewritten);
        if (ReadsAlike(line.after, out.Since(mark), rules))
            continue;
        out.Truncate(mark);
        layOut(true);
        if (ReadsAlike(line.after, out.Since(mark), rules))
            continue;
        out.Truncate(mark);
        layout.Copy(line);
    }
    out.Append(before.substr(cursor));
    return out.Take();
}
