#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/ChordRules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/// Finds every delimited chord name of a text in one pass.
///
/// At each byte that can start a chord (the start of the text or a byte after
/// a left delimiter) the longest chord name is matched with a small table
/// keyed by the letter; it counts when a right delimiter or the end of the
/// text follows. No name is a prefix of another that could also be delimited
/// at the same place, and no delimited names overlap, so this finds exactly
/// the occurrences a search name by name would find.
///
/// In an HTML song a start inside a tag is skipped: the last "<" or ">"
/// before it decides, so a name in an attribute or a comment is markup.
///
/// With every chord name on, a start where no table name fits is tried with
/// the wider grammar: a root, then a suffix the table does not have, such
/// as "sus4", "m7b5" or "(add9)". Such a name is reported with
/// kExtendedName added to the table index of its base chord, the root alone
/// or, for a suffix that starts with "m" but not "maj", the root with "m".
namespace chordscan {

constexpr std::array<std::uint8_t, 256> MakeByteClass(const char* members) {
    std::array<std::uint8_t, 256> table{};
    for (const char* c = members; *c; ++c)
        table[static_cast<unsigned char>(*c)] = 1;
    return table;
}

/// Bytes that may stand before a chord, and after one.
inline constexpr std::array<std::uint8_t, 256> kLeftDelimiter = MakeByteClass("[({ \n\r>/\t");
inline constexpr std::array<std::uint8_t, 256> kRightDelimiter = MakeByteClass("])} \n\r</\t");

/// Added to the base chord's table index for a name outside the table.
inline constexpr int kExtendedName = 128;

/// The chord-table index and length of the chord name starting at pos, or
/// -1 when no delimited chord name starts there. With kAllChords a name of
/// the wider grammar gives kExtendedName + its base chord's index. The byte
/// before pos is not looked at.
template <bool kAllChords = false>
inline int MatchAt(const char* text, std::size_t size, std::size_t pos, std::size_t& length);

/// 1 for the letters that begin a chord name, A to G.
inline constexpr std::array<std::uint8_t, 256> kChordLetter = MakeByteClass("ABCDEFG");

/// Whether a tag is open after the bytes of the mask, given the one open
/// before them: the last "<" (lt) or ">" (gt) among them decides.
inline bool TagOpenAfter(std::uint32_t lt, std::uint32_t gt, bool openBefore) {
    const std::uint32_t marks = lt | gt;
    if (marks == 0)
        return openBefore;
    return (lt >> (31 - __builtin_clz(marks))) & 1;
}

template <bool kHtml, bool kAllChords, typename OnChord>
void ScanWith(const char* text, std::size_t size, OnChord& onChord) {
    // A name holds no delimiter, so no other candidate lies inside a match
    // and every candidate can be tried in turn.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::uint32_t afterLeft = 1; // the start of the text counts as a left delimiter
    bool inTag = false;          // HTML only
    std::size_t pos = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a candidate is a letter A..G after a left delimiter.
    const __m128i letterBase = _mm_set1_epi8('A');
    const __m128i letterSpan = _mm_set1_epi8(6);
    for (; pos + 16 <= size; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + pos));
        __m128i left = _mm_cmpeq_epi8(v, _mm_set1_epi8(' '));
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('/')));
        const __m128i gtBytes = _mm_cmpeq_epi8(v, _mm_set1_epi8('>'));
        left = _mm_or_si128(left, gtBytes);
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('(')));
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('[')));
        left = _mm_or_si128(left, _mm_cmpeq_epi8(v, _mm_set1_epi8('{')));
        const __m128i offset = _mm_sub_epi8(v, letterBase);
        const __m128i letter = _mm_cmpeq_epi8(_mm_min_epu8(offset, letterSpan), offset);
        const auto leftMask = static_cast<std::uint32_t>(_mm_movemask_epi8(left));
        const auto letterMask = static_cast<std::uint32_t>(_mm_movemask_epi8(letter));
        std::uint32_t candidates = ((leftMask << 1) | afterLeft) & letterMask;
        afterLeft = leftMask >> 15;
        std::uint32_t lt = 0;
        std::uint32_t gt = 0;
        const bool tagOpenBefore = inTag;
        if constexpr (kHtml) {
            lt = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('<'))));
            gt = static_cast<std::uint32_t>(_mm_movemask_epi8(gtBytes));
            inTag = TagOpenAfter(lt, gt, inTag);
        }
        while (candidates) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(candidates));
            candidates &= candidates - 1;
            if constexpr (kHtml) {
                // A letter is neither "<" nor ">": the marks before it decide.
                const std::uint32_t before = (1u << bit) - 1;
                if (TagOpenAfter(lt & before, gt & before, tagOpenBefore))
                    continue;
            }
            const std::size_t at = pos + bit;
            std::size_t length = 0;
            const int index = MatchAt<kAllChords>(text, size, at, length);
            if (index >= 0)
                onChord(at, index, length);
        }
    }
#endif
    for (; pos < size; ++pos) {
        const unsigned char c = bytes[pos];
        if (afterLeft & kChordLetter[c] && !inTag) {
            std::size_t length = 0;
            const int index = MatchAt<kAllChords>(text, size, pos, length);
            if (index >= 0)
                onChord(pos, index, length);
        }
        afterLeft = kLeftDelimiter[c];
        if constexpr (kHtml) {
            if (c == '<')
                inTag = true;
            else if (c == '>')
                inTag = false;
        }
    }
}

/// Calls onChord(position, index, length) for every delimited chord name
/// the rules take, in text order; index is as MatchAt gives it.
template <typename OnChord> void Scan(const char* text, std::size_t size, const ChordRules& rules, OnChord&& onChord) {
    if (rules.allChords) {
        if (rules.html)
            ScanWith<true, true>(text, size, onChord);
        else
            ScanWith<false, true>(text, size, onChord);
    } else if (rules.html) {
        ScanWith<true, false>(text, size, onChord);
    } else {
        ScanWith<false, false>(text, size, onChord);
    }
}

// Spelling index 0..16 of letter + accidental, or -1: [letter A..G][0 natural, 1 '#', 2 'b'].
inline constexpr signed char kSpelling[7][3] = {
    {13, 14, 12}, // A, A#, Ab
    {16, -1, 15}, // B, -, Bb
    {0, 1, -1},   // C, C#, -
    {3, 4, 2},    // D, D#, Db
    {6, -1, 5},   // E, -, Eb
    {7, 8, -1},   // F, F#, -
    {10, 11, 9},  // G, G#, Gb
};

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool HasAt(const char* text, std::size_t size, std::size_t pos, const char* word) {
    for (; *word; ++word, ++pos) {
        if (pos >= size || text[pos] != *word)
            return false;
    }
    return true;
}

inline constexpr std::array<std::uint8_t, 256> kInParentheses = MakeByteClass("0123456789abcdefghijklmnopqrstuvwxyz#+");

/// The end of the longest run of suffix parts from start on,
/// ([0-9]+|sus[24]?|add[0-9]+|[b#][0-9]+|maj[0-9]+|\([0-9a-z#+]*\))*, after
/// which the text ends or a right delimiter follows; npos when there is none.
/// Each part is known by its first byte and digits may be split anyhow, so
/// one pass from left to right sees every place the run can end.
inline std::size_t SuffixPartsEnd(const char* text, std::size_t size, std::size_t start) {
    std::size_t best = std::string::npos;
    std::size_t p = start;
    for (;;) {
        if (p == size || kRightDelimiter[static_cast<unsigned char>(text[p])])
            best = p;
        if (p == size)
            return best;
        const char c = text[p];
        std::size_t digitsFrom = std::string::npos;
        if (IsDigit(c)) {
            digitsFrom = p;
        } else if (c == 's' && HasAt(text, size, p, "sus")) {
            p += 3;
            continue;
        } else if (c == 'a' && HasAt(text, size, p, "add")) {
            digitsFrom = p + 3;
        } else if (c == 'b' || c == '#') {
            digitsFrom = p + 1;
        } else if (c == 'm' && HasAt(text, size, p, "maj")) {
            digitsFrom = p + 3;
        } else if (c == '(') {
            std::size_t q = p + 1;
            while (q < size && kInParentheses[static_cast<unsigned char>(text[q])])
                ++q;
            if (q == size || text[q] != ')')
                return best;
            p = q + 1;
            continue;
        } else {
            return best;
        }
        if (digitsFrom >= size || !IsDigit(text[digitsFrom]))
            return best;
        p = digitsFrom;
        while (p < size && IsDigit(text[p]))
            ++p;
    }
}

/// The end of the longest suffix of the wider grammar from start on,
/// (maj|min|m|M|dim|aug|\+)? then the parts above, followed by a right
/// delimiter or the end of the text; npos when there is none.
inline std::size_t ExtendedSuffixEnd(const char* text, std::size_t size, std::size_t start) {
    std::size_t best = SuffixPartsEnd(text, size, start);
    if (start == size)
        return best;
    static const char* const kQualities[] = {"maj", "min", "m", "M", "dim", "aug", "+"};
    for (const char* quality : kQualities) {
        if (!HasAt(text, size, start, quality))
            continue;
        const std::size_t end = SuffixPartsEnd(text, size, start + std::char_traits<char>::length(quality));
        if (end != std::string::npos && (best == std::string::npos || end > best))
            best = end;
    }
    return best;
}

/// Whether the bytes are one of the table's suffixes.
inline bool IsTableSuffix(const char* suffix, std::size_t size) {
    switch (size) {
    case 0:
        return true;
    case 1:
        return suffix[0] == 'm' || suffix[0] == '7';
    case 2:
        return suffix[0] == 'm' && suffix[1] == '7';
    case 4:
        return HasAt(suffix, size, 0, "maj7");
    default:
        return false;
    }
}

/// A name of the wider grammar at pos whose root is the spelling whose name
/// ends before rootEnd: kExtendedName + its base chord's index, or -1.
inline int ExtendedAt(const char* text, std::size_t size, std::size_t pos, std::size_t rootEnd, int spelling,
                      std::size_t& length) {
    const std::size_t end = ExtendedSuffixEnd(text, size, rootEnd);
    if (end == std::string::npos || IsTableSuffix(text + rootEnd, end - rootEnd))
        return -1;
    const bool minor = text[rootEnd] == 'm' && !HasAt(text, end, rootEnd, "maj");
    length = end - pos;
    return kExtendedName + (minor ? 17 : 0) + spelling;
}

template <bool kAllChords>
inline int MatchAt(const char* text, std::size_t size, std::size_t pos, std::size_t& length) {
    const unsigned char letter = static_cast<unsigned char>(text[pos]);
    if (letter < 'A' || letter > 'G')
        return -1;
    const signed char* spellings = kSpelling[letter - 'A'];
    std::size_t p = pos + 1;
    int spelling = spellings[0];
    if (p < size) {
        const char c = text[p];
        if (c == '#' && spellings[1] >= 0) {
            spelling = spellings[1];
            ++p;
        } else if (c == 'b' && spellings[2] >= 0) {
            spelling = spellings[2];
            ++p;
        }
    }
    int quality = 0;
    if (p < size) {
        const char c = text[p];
        if (c == '7') {
            quality = 2;
            ++p;
        } else if (c == 'm') {
            if (p + 1 < size && text[p + 1] == '7') {
                quality = 3;
                p += 2;
            } else if (p + 3 < size && text[p + 1] == 'a' && text[p + 2] == 'j' && text[p + 3] == '7') {
                quality = 4;
                p += 4;
            } else {
                quality = 1;
                ++p;
            }
        }
    }
    if (p == size || kRightDelimiter[static_cast<unsigned char>(text[p])]) {
        length = p - pos;
        return quality * 17 + spelling;
    }
    if constexpr (kAllChords) {
        // The longest root that lets the rest match: with its sharp or flat
        // first, then the letter alone.
        const std::size_t letterEnd = pos + 1;
        if (spellings[0] != spelling) {
            const int extended = ExtendedAt(text, size, pos, letterEnd + 1, spelling, length);
            if (extended >= 0)
                return extended;
        }
        return ExtendedAt(text, size, pos, letterEnd, spellings[0], length);
    }
    return -1;
}

} // namespace chordscan
