#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "chords/ByteClass.h"
#include "chords/ChordName.h"
#include "engine/ChordLine.h"
#include "engine/ChordPro.h"
#include "engine/ChordRules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/// Finds every delimited chord name of a text in one pass.
///
/// The scan finds the candidates: the bytes that can start a chord (a
/// letter A..G at the start of the text or after a left delimiter). At each
/// the chord-name grammar (ChordName) reads the longest name, which counts
/// when a right delimiter or the end of the text follows. No name is a
/// prefix of another that could also be delimited at the same place, and no
/// delimited names overlap, so this finds exactly the occurrences a search
/// name by name would find.
///
/// In an HTML song a start inside a tag is skipped: the last "<" or ">"
/// before it decides, so a name in an attribute or a comment is markup.
///
/// With every chord name on, the grammar reads the names outside the table
/// as well, such as "Asus4", "Bm7b5" or "Em(add9)", and a slash chord moves
/// whole however its bass is written: the E of "C(/E)" is a name of its
/// own, as after "C/E", and the lower-case b of "G/b" a bass note.
///
/// In German notation H starts a chord as well.
namespace chordscan {

using ::MakeByteClass;

/// Bytes that may stand before a chord, and after one.
inline constexpr ByteClass kLeftDelimiter = MakeByteClass("[({ \n\r>/\t");
inline constexpr ByteClass kRightDelimiter = MakeByteClass("])} \n\r</\t");

/// The delimited chord name starting at pos, if any; with kAllChords a name
/// of the wider grammar too, and a name right before a bass group "(/E)".
/// The byte before pos is not looked at.
template <bool kAllChords = false>
inline bool MatchAt(const char* text, std::size_t size, std::size_t pos, ChordMatch& match,
                    Notation notation = Notation::AsWritten, bool allForms = true) {
    if (chordgrammar::MatchAt<kAllChords>(text, size, pos, kRightDelimiter, match, notation, allForms))
        return true;
    if constexpr (kAllChords) {
        // C(/E), Am7(/G): the name ends where the group opens, when the
        // group holds a note alone, which is found as a name after "/".
        constexpr std::size_t kLongestName = 24;
        for (std::size_t q = pos + 1; q + 3 < size && q < pos + kLongestName; ++q) {
            if (kRightDelimiter[static_cast<unsigned char>(text[q])])
                return false;
            if (text[q] != '(' || text[q + 1] != '/')
                continue;
            constexpr ByteClass kClosing = MakeByteClass(")");
            ChordMatch bass;
            return chordgrammar::MatchAt<true>(text, size, q + 2, kClosing, bass, notation, allForms) &&
                   bass.Quality() == Major && bass.length == bass.rootLength &&
                   chordgrammar::MatchAt<true>(text, q, pos, kRightDelimiter, match, notation, allForms);
        }
    }
    return false;
}

/// The bass note written in lower case after a name that ends at pos, as in
/// "G/b" or "D/f#", delimited as a name is; its position is pos + 1.
inline bool LowerCaseBassAt(const char* text, std::size_t size, std::size_t pos, Notation notation, bool allForms,
                            ChordMatch& bass) {
    if (pos + 1 >= size || text[pos] != '/' || text[pos + 1] < 'a' || text[pos + 1] > 'h')
        return false;
    // Asked with every chord name only: the note may be written e#, b#, fb or cb.
    char note[2] = {static_cast<char>(text[pos + 1] - 'a' + 'A'), pos + 2 < size ? text[pos + 2] : ' '};
    if (!chordgrammar::MatchAt<true>(note, 2, 0, kRightDelimiter, bass, notation, allForms) ||
        bass.Quality() != Major || bass.length != bass.rootLength)
        return false;
    const std::size_t end = pos + 1 + bass.length;
    if (end < size && !kRightDelimiter[static_cast<unsigned char>(text[end])])
        return false;
    bass.extended = false;
    bass.bass = true;
    bass.lowerCase = true;
    return true;
}

/// 1 for the letters that begin a chord name, A to G.
inline constexpr std::array<std::uint8_t, 256> kChordLetter = MakeByteClass("ABCDEFG");
/// The same in German notation: A to H.
inline constexpr std::array<std::uint8_t, 256> kGermanChordLetter = MakeByteClass("ABCDEFGH");

/// Whether a tag is open after the bytes of the mask, given the one open
/// before them: the last "<" (lt) or ">" (gt) among them decides.
inline bool TagOpenAfter(std::uint32_t lt, std::uint32_t gt, bool openBefore) {
    const std::uint32_t marks = lt | gt;
    if (marks == 0)
        return openBefore;
    return (lt >> (31 - __builtin_clz(marks))) & 1;
}

template <bool kHtml, bool kAllChords, typename OnChord>
void ScanWith(const char* text, std::size_t size, OnChord& onChord, Notation notation = Notation::AsWritten,
              bool allForms = true) {
    const auto found = [&](std::size_t at, const ChordMatch& match) {
        onChord(at, match);
        if constexpr (kAllChords) {
            ChordMatch bass;
            if (LowerCaseBassAt(text, size, at + match.length, notation, allForms, bass))
                onChord(at + match.length + 1, bass);
        }
    };
    const bool german = notation == Notation::German;
    const std::array<std::uint8_t, 256>& chordLetter = german ? kGermanChordLetter : kChordLetter;
    // A name holds no delimiter, so no other candidate lies inside a match
    // and every candidate can be tried in turn.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::uint32_t afterLeft = 1; // the start of the text counts as a left delimiter
    bool inTag = false;          // HTML only
    std::size_t pos = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a candidate is a letter A..G after a left delimiter.
    const __m128i letterBase = _mm_set1_epi8('A');
    const __m128i letterSpan = _mm_set1_epi8(german ? 7 : 6);
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
            ChordMatch match;
            if (MatchAt<kAllChords>(text, size, at, match, notation, allForms))
                found(at, match);
        }
    }
#endif
    for (; pos < size; ++pos) {
        const unsigned char c = bytes[pos];
        if (afterLeft & chordLetter[c] && !inTag) {
            ChordMatch match;
            if (MatchAt<kAllChords>(text, size, pos, match, notation, allForms))
                found(pos, match);
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

/// Calls onChord(position, match) for every delimited chord name the rules
/// take, in text order.
template <typename OnChord> void Scan(const char* text, std::size_t size, const ChordRules& rules, OnChord&& onChord) {
    if (rules.chordPro) {
        ScanChordPro(std::string_view(text, size), rules, onChord);
        return;
    }
    if (rules.chordLines) {
        ScanChordLines(std::string_view(text, size), rules, onChord);
        return;
    }
    if (rules.allChords) {
        if (rules.html)
            ScanWith<true, true>(text, size, onChord, rules.notation, rules.allForms);
        else
            ScanWith<false, true>(text, size, onChord, rules.notation, rules.allForms);
    } else if (rules.html) {
        ScanWith<true, false>(text, size, onChord, rules.notation);
    } else {
        ScanWith<false, false>(text, size, onChord, rules.notation);
    }
}

} // namespace chordscan
