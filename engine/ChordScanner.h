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

/// The chord-table index and length of the chord name starting at pos, or
/// -1 when no delimited chord name starts there. The byte before pos is not
/// looked at.
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

template <bool kHtml, typename OnChord> void ScanWith(const char* text, std::size_t size, OnChord& onChord) {
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
            const int index = MatchAt(text, size, at, length);
            if (index >= 0)
                onChord(at, index, length);
        }
    }
#endif
    for (; pos < size; ++pos) {
        const unsigned char c = bytes[pos];
        if (afterLeft & kChordLetter[c] && !inTag) {
            std::size_t length = 0;
            const int index = MatchAt(text, size, pos, length);
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

/// Calls onChord(position, tableIndex, length) for every delimited chord
/// name the rules take, in text order.
template <typename OnChord> void Scan(const char* text, std::size_t size, const ChordRules& rules, OnChord&& onChord) {
    if (rules.html)
        ScanWith<true>(text, size, onChord);
    else
        ScanWith<false>(text, size, onChord);
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
    if (p < size && !kRightDelimiter[static_cast<unsigned char>(text[p])])
        return -1;
    length = p - pos;
    return quality * 17 + spelling;
}

} // namespace chordscan
