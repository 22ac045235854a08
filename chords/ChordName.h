#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "chords/ByteClass.h"
#include "chords/Chord.h"
#include "chords/ChordNotation.h"
#include "chords/NoteSpelling.h"

/// Where the chord-name grammar found a name in a text, without a copy of it.
struct ChordMatch {
    /// The bytes of the name.
    std::size_t length = 0;
    /// The bytes of its root as written: "B" and "H" are one in German
    /// as "Bb" is two.
    std::size_t rootLength = 1;
    /// The chord-table index of the name (quality x 17 + root spelling), or,
    /// for a name outside the table, of its base chord.
    int index = 0;
    /// Whether the name is outside the table: a suffix the table lacks.
    bool extended = false;
    /// A slash chord's bass note read as a note (on a chord line): it moves
    /// with the song and counts for nothing; index is its major chord's.
    bool bass = false;
    /// The bass note is written in lower case (G/b).
    bool lowerCase = false;
    /// Not a name but the fingering written after one (Am (x02210)): its
    /// frets move with the song.
    bool fingering = false;

    NoteSpelling Root() const { return NoteSpelling::AtIndex(index % NoteSpelling::kCount); }
    ChordQuality Quality() const { return static_cast<ChordQuality>(index / NoteSpelling::kCount); }
    /// Whether the root is written E#, B#, Fb or Cb: two bytes for a white
    /// key, which Root() names as it sounds (F, C, E, B).
    bool SignedWhiteKey() const { return rootLength == 2 && Root().Length() == 1; }
};

/// A chord name as a value: its root as written, the suffix after it and an
/// optional bass note.
///
/// The grammar: a root of the 17 spellings as the notation writes them
/// (for every chord name also E#, B#, Fb and Cb, which sound F, C, E and B),
/// then either one of the table's suffixes "", "m", "7", "m7", "maj7" (in
/// German "mi", "moll" and "mi7" as well), or (for every chord name) a suffix
/// (maj|Maj|min|m|M|dim|aug|\+|-)? followed by parts
/// ([0-9]+#?|sus[24]?|alt|add[b#+-]?[0-9]+|[b#+-][0-9]+|-?maj[0-9]+|
/// Maj[0-9]+|M[0-9]+|\([0-9a-z#+]*\))*.
/// A number may carry a sharp after it (F9#) and, for every chord name, a
/// plus, the raised fifth (E7+). Where several readings fit, the longest
/// name wins, and of two roots the one with its sharp or flat; but a sharp
/// or flat before 5, 9, 11 or 13 alters the letter's chord (E#9 is E with a
/// raised ninth, Cb5 is C with a lowered fifth). A name outside the table
/// scores as its base chord: the root, with "m" when the suffix starts with
/// "m" but not "maj", or with "-" (E-, A-7, C-maj7); a name whose root is
/// E#, B#, Fb or Cb is outside the table and scores as the chord of the
/// root it sounds, the table's when its suffix is one of the table's (E#7
/// as F7).
/// A bass note is never read today ("/" ends a name); it is kept and written
/// for the notations that will read one.
class ChordName final {
public:
    /// A bass note written after a slash.
    struct Bass {
        NoteSpelling spelling;
        bool lowerCase = false;
    };

    ChordName() = default;
    /// writtenRoot is the root as the text writes it when the 17 spellings
    /// lack it (E#, B#, Fb, Cb; root is then the note it sounds), else empty.
    ChordName(NoteSpelling root, std::string suffix, std::optional<Bass> bass = std::nullopt,
              std::string_view writtenRoot = {});

    /// The chord name text is as a whole, or nothing. Without allChords only
    /// the 85 names of the table are names.
    static std::optional<ChordName> Parse(std::string_view text, bool allChords = true,
                                          Notation notation = Notation::AsWritten);
    /// What Parse reads, without making the value: for the inner loops.
    /// Without allForms the wider grammar reads neither a root E#, B#, Fb
    /// or Cb nor a plus after a number (E7+): as lines are told, and the
    /// names outside the table listed, when only the table's names move.
    static std::optional<ChordMatch> Read(std::string_view text, bool allChords = true,
                                          Notation notation = Notation::AsWritten, bool allForms = true);

    NoteSpelling Root() const { return m_root; }
    Pitch RootPitch() const { return m_root.GetPitch(); }
    const std::string& Suffix() const { return m_suffix; }
    const std::optional<Bass>& GetBass() const { return m_bass; }
    /// The root as written when it is E#, B#, Fb or Cb; empty otherwise.
    const std::string& WrittenRoot() const { return m_writtenRoot; }
    /// Whether the root is one of the 17 spellings and the suffix one of the table's five.
    bool IsTableName() const { return m_tableName; }
    /// The quality of the name, or of its base chord for a name outside the table.
    ChordQuality Quality() const { return m_quality; }
    /// The chord-table index of the name or of its base chord.
    int TableIndex() const { return Quality() * NoteSpelling::kCount + m_root.Index(); }

    /// The name as it was written.
    std::string Write() const;
    /// The name with its root spelled as chosen (and its bass, when given):
    /// the suffix and the bass's case stay as written.
    std::string Write(NoteSpelling root, std::optional<NoteSpelling> bass = std::nullopt) const;

    bool operator==(const ChordName& other) const;
    bool operator!=(const ChordName& other) const { return !(*this == other); }

private:
    NoteSpelling m_root;
    std::string m_suffix;
    std::optional<Bass> m_bass;
    std::string m_writtenRoot;
    // Read from the suffix once: the easiest search asks at every trial.
    ChordQuality m_quality = Major;
    bool m_tableName = true;
};

namespace chordgrammar {

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

/// A sign that raises or lowers the number after it: b9, #11, +5, -5.
inline bool IsAlteration(char c) {
    return c == 'b' || c == '#' || c == '+' || c == '-';
}

inline constexpr ByteClass kInParentheses = MakeByteClass("0123456789abcdefghijklmnopqrstuvwxyz#+");

/// The end of the longest run of suffix parts from start on after which the
/// text ends or a byte of `follows` comes; npos when there is none. Each part
/// is known by its first byte and digits may be split anyhow, so one pass
/// from left to right sees every place the run can end. A plus after a
/// number (E7+) is read with allForms only.
inline std::size_t SuffixPartsEnd(const char* text, std::size_t size, std::size_t start, const ByteClass& follows,
                                  bool allForms = true) {
    std::size_t best = std::string::npos;
    std::size_t p = start;
    for (;;) {
        if (p == size || follows[static_cast<unsigned char>(text[p])])
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
        } else if (c == 'a' && HasAt(text, size, p, "alt")) {
            p += 3;
            continue;
        } else if (c == 'a' && HasAt(text, size, p, "add")) {
            digitsFrom = p + 3;
            // Eaddb9, Cadd+11
            if (digitsFrom < size && IsAlteration(text[digitsFrom]))
                ++digitsFrom;
        } else if ((c == '#' || (c == '+' && allForms)) && p > start && IsDigit(text[p - 1]) &&
                   (p + 1 == size || !IsDigit(text[p + 1]))) {
            // A sharp after the number it raises (F9#), a plus after the
            // seventh for a raised fifth (E7+).
            ++p;
            continue;
        } else if (c == '-' && HasAt(text, size, p + 1, "maj")) {
            digitsFrom = p + 4;
        } else if (IsAlteration(c)) {
            digitsFrom = p + 1;
        } else if (c == 'm' && HasAt(text, size, p, "maj")) {
            digitsFrom = p + 3;
        } else if (c == 'M') {
            // mMaj7, mM7
            digitsFrom = HasAt(text, size, p, "Maj") ? p + 3 : p + 1;
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
/// followed by the end of the text or a byte of `follows`; npos when there is none.
inline std::size_t ExtendedSuffixEnd(const char* text, std::size_t size, std::size_t start, const ByteClass& follows,
                                     Notation notation = Notation::AsWritten, bool allForms = true) {
    std::size_t best = SuffixPartsEnd(text, size, start, follows, allForms);
    if (start == size)
        return best;
    const auto tryQuality = [&](std::size_t length) {
        const std::size_t end = SuffixPartsEnd(text, size, start + length, follows, allForms);
        if (end != std::string::npos && (best == std::string::npos || end > best))
            best = end;
    };
    static const char* const kQualities[] = {"maj", "Maj", "min", "m", "M", "dim", "aug", "+", "-"};
    for (const char* quality : kQualities) {
        if (HasAt(text, size, start, quality))
            tryQuality(std::char_traits<char>::length(quality));
    }
    if (const std::size_t minorWord = chordnotation::MinorWordAt(text, size, start, notation))
        tryQuality(minorWord);
    return best;
}

/// The quality of the bytes when they are one of the table's suffixes, or -1.
inline int TableSuffixQuality(const char* suffix, std::size_t size) {
    switch (size) {
    case 0:
        return Major;
    case 1:
        return suffix[0] == 'm' ? Minor : suffix[0] == '7' ? Seventh : -1;
    case 2:
        return suffix[0] == 'm' && suffix[1] == '7' ? MinorSeventh : -1;
    case 4:
        return HasAt(suffix, size, 0, "maj7") ? MajorSeventh : -1;
    default:
        return -1;
    }
}

/// Whether the bytes are one of the table's suffixes.
inline bool IsTableSuffix(const char* suffix, std::size_t size) {
    return TableSuffixQuality(suffix, size) >= 0;
}

/// A name of the wider grammar at pos whose root, the spelling given, ends
/// before rootEnd. A root the 17 spellings lack (signedWhiteKey) makes any
/// suffix a name outside the table, a table suffix the table's chord.
inline bool ExtendedAt(const char* text, std::size_t size, std::size_t pos, std::size_t rootEnd, int spelling,
                       const ByteClass& follows, Notation notation, ChordMatch& match, bool allForms,
                       bool signedWhiteKey = false) {
    const std::size_t end = ExtendedSuffixEnd(text, size, rootEnd, follows, notation, allForms);
    if (end == std::string::npos)
        return false;
    int quality = TableSuffixQuality(text + rootEnd, end - rootEnd);
    if (quality >= 0 && !signedWhiteKey)
        return false;
    if (quality < 0) {
        const bool minor = (text[rootEnd] == 'm' && !HasAt(text, end, rootEnd, "maj")) || text[rootEnd] == '-';
        quality = minor ? Minor : Major;
    }
    match.length = end - pos;
    match.rootLength = rootEnd - pos;
    match.index = quality * NoteSpelling::kCount + spelling;
    match.extended = true;
    return true;
}

/// Whether the digits from pos on are 5, 9, 11 or 13: after a sharp or
/// flat, the fifth or an extension it alters.
inline bool IsAlteredNumberAt(const char* text, std::size_t size, std::size_t pos) {
    std::size_t end = pos;
    while (end < size && end < pos + 3 && IsDigit(text[end]))
        ++end;
    if (end < size && IsDigit(text[end]))
        return false;
    const std::string_view digits(text + pos, end - pos);
    return digits == "5" || digits == "9" || digits == "11" || digits == "13";
}

/// Writes suffix at out as it follows another root than its own, and
/// returns its bytes, at most two more than suffix's: an altered note it
/// opens with ("#9" of "#9sus4", "b5") goes in parentheses, or it would run
/// into the root: E#9 (E with a raised ninth) moved up is F(#9), not the
/// ninth chord F#9.
inline std::size_t WriteMovedSuffix(std::string_view suffix, char* out) {
    std::size_t altered = 0;
    if (suffix.size() > 1 && (suffix[0] == '#' || suffix[0] == 'b') &&
        IsAlteredNumberAt(suffix.data(), suffix.size(), 1)) {
        altered = 2;
        while (altered < suffix.size() && IsDigit(suffix[altered]))
            ++altered;
    }
    if (altered == 0) {
        std::memcpy(out, suffix.data(), suffix.size());
        return suffix.size();
    }
    out[0] = '(';
    std::memcpy(out + 1, suffix.data(), altered);
    out[altered + 1] = ')';
    std::memcpy(out + altered + 2, suffix.data() + altered, suffix.size() - altered);
    return suffix.size() + 2;
}

/// Reads the longest chord name at pos that the end of the text or a byte of
/// `follows` ends: a table name, or with kAllChords a name of the wider
/// grammar, its root written in the notation. The byte before pos is not
/// looked at.
template <bool kAllChords>
inline bool MatchAt(const char* text, std::size_t size, std::size_t pos, const ByteClass& follows, ChordMatch& match,
                    Notation notation = Notation::AsWritten, bool allForms = true) {
    const unsigned letter = static_cast<unsigned char>(text[pos]) - static_cast<unsigned>('A');
    if (letter >= static_cast<unsigned>(chordnotation::kLetterCount))
        return false;
    const signed char* spellings = chordnotation::LettersOf(notation)[letter];
    const std::size_t letterEnd = pos + 1;
    std::size_t p = letterEnd;
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
    if (spelling < 0)
        return false;
    const std::size_t rootEnd = p;
    int quality = Major;
    if (p < size) {
        const char c = text[p];
        if (c == '7') {
            quality = Seventh;
            ++p;
        } else if (c == 'm') {
            if (const std::size_t minorWord = chordnotation::MinorWordAt(text, size, p, notation)) {
                p += minorWord;
                quality = p < size && text[p] == '7' ? MinorSeventh : Minor;
                p += quality == MinorSeventh ? 1 : 0;
            } else if (p + 1 < size && text[p + 1] == '7') {
                quality = MinorSeventh;
                p += 2;
            } else if (p + 3 < size && text[p + 1] == 'a' && text[p + 2] == 'j' && text[p + 3] == '7') {
                quality = MajorSeventh;
                p += 4;
            } else {
                quality = Minor;
                ++p;
            }
        }
    }
    if (p == size || follows[static_cast<unsigned char>(text[p])]) {
        match.length = p - pos;
        match.rootLength = rootEnd - pos;
        match.index = quality * NoteSpelling::kCount + spelling;
        match.extended = false;
        return true;
    }
    if constexpr (kAllChords) {
        // The longest root that lets the rest match: with its sharp or flat
        // first, then the letter alone.
        if (rootEnd > letterEnd && ExtendedAt(text, size, pos, rootEnd, spelling, follows, notation, match, allForms))
            return true;
        // E#, B#, Fb, Cb: a sheet in C# or Gb writes the white keys so.
        // Before 5, 9, 11 or 13 the sign alters the letter's chord instead.
        if (allForms && rootEnd == letterEnd && letterEnd < size) {
            const int white = chordnotation::SignedWhiteKey(notation, letter, text[letterEnd]);
            if (white >= 0 && !IsAlteredNumberAt(text, size, letterEnd + 1))
                return ExtendedAt(text, size, pos, letterEnd + 1, white, follows, notation, match, true, true);
        }
        return spellings[0] >= 0 &&
               ExtendedAt(text, size, pos, letterEnd, spellings[0], follows, notation, match, allForms);
    }
    return false;
}

} // namespace chordgrammar
