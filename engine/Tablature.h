#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chords/Chord.h"
#include "engine/ChordOccurrence.h"
#include "engine/ChordRules.h"
#include "engine/DistinctChords.h"
#include "engine/KeyFinder.h"
#include "engine/SongKey.h"
#include "engine/SongOptions.h"
#include "engine/TableMoves.h"

struct SongSummary;

/// One song: its text and the chords found in it.
///
/// Detection reads the text once and keeps every chord it finds, whatever
/// their number: a songbook is transposed, scored and saved whole. Each
/// occurrence takes eight bytes (its position and its chord-table index).
///
/// A chord is any exact name of the chord table that stands between a left
/// and a right delimiter (the start and the end of the text count as both).
/// The rule is lexical, except that in an HTML song a name inside a tag is
/// markup: SetHtml says which the text is. With the option allChords, names
/// outside the table count as well (SongOptions).
class CTablature {
public:
    static constexpr int kMaxDistinct = 85;

    CTablature() = default;
    /// Copies the text, whether it is HTML, the options, the chords and the score.
    CTablature(const CTablature& other) = default;
    CTablature& operator=(const CTablature& other) = default;
    virtual ~CTablature() = default;

    /// Replaces the whole content by the chords detected in the text.
    void Detect(std::string newText);
    /// Moves every detected chord by the shift in half-tones, spelled and
    /// spaced as the options say. Afterwards the tablature holds what
    /// detecting the new text gives.
    void Transpose(int shift);
    /// Moves the song to the shift, among 0, -1, +1, ... -6, +6, with the
    /// lowest score as the options would write it (the first tried wins
    /// ties) and returns that shift.
    int FindEasiest();

    /// Whether the text is an HTML song (an .htm or .html file, or the
    /// start page): chord names inside its tags are then left alone. Off in
    /// a new tablature. Detection reads it: set it before Detect.
    void SetHtml(bool html) {
        m_rules.html = html;
        m_foundKey.reset();
    }
    bool IsHtml() const { return m_rules.html; }
    /// How many bytes opening put before and after the song's own text (a
    /// text song's title line and header, its footer): the chord lines are
    /// read without them. None in a new tablature. Set before Detect; a
    /// transposition keeps them, as it keeps the bytes.
    void SetAddedText(std::size_t before, std::size_t after) {
        m_rules.addedBefore = before;
        m_rules.addedAfter = after;
        m_foundKey.reset();
    }
    /// Whether the text is a ChordPro song (a .cho, .chopro, .chordpro,
    /// .crd or .pro file): then only its bracketed chords and its key are
    /// chords, with every option. Off in a new tablature; set it before Detect.
    void SetChordPro(bool chordPro) {
        m_rules.chordPro = chordPro;
        m_foundKey.reset();
    }
    bool IsChordPro() const { return m_rules.chordPro; }
    /// The options; all off in a new tablature. Detection reads allChords,
    /// so set them before Detect; Transpose and FindEasiest read the rest.
    void SetOptions(const SongOptions& options);
    const SongOptions& Options() const { return m_options; }
    /// What counts as a chord in this text, for the display page.
    const ChordRules& Rules() const { return m_rules; }

    int GetScore() const { return score; }
    int GetDistinctCount() const { return distinctCount; }

    /// The number of chords detected in the text.
    int OccurrenceCount() const { return static_cast<int>(m_occurrences.size()); }
    /// The byte offset in text of occurrence i (0 <= i < OccurrenceCount()),
    /// ascending with i.
    std::size_t PositionAt(int i) const { return m_occurrences[static_cast<std::size_t>(i)].position; }
    /// The chord-table entry of occurrence i, with the table's current level:
    /// for a name outside the table, the entry of its base chord.
    const CChord& ChordAt(int i) const;
    /// Whether occurrence i is a name outside the table (allChords).
    bool IsExtendedAt(int i) const { return m_occurrences[static_cast<std::size_t>(i)].extended; }
    /// Whether occurrence i is the bass note of a slash chord (chordLines):
    /// it moves with the song but is no chord.
    bool IsBassAt(int i) const { return m_occurrences[static_cast<std::size_t>(i)].bass; }
    /// Whether occurrence i is a fingering written after a chord (chordLines).
    bool IsFingeringAt(int i) const { return m_occurrences[static_cast<std::size_t>(i)].fingering; }
    /// The length and the bytes of occurrence i's name as the text writes it.
    std::size_t NameLengthAt(int i) const;
    std::string NameAt(int i) const;

    /// The key the song is in, as the key finder hears the chords the
    /// options read (bass notes as notes, fingerings left out; a chord-like
    /// word off the chord lines, or a legend's entry, weighs less and neither
    /// starts nor ends the song): the tonic, spelled as the key's signature writes it
    /// (the keys of six on the side most names are written on), followed by
    /// "m" for a minor key. Empty for a song without chords.
    ///
    /// The key is searched once for a text and kept until the text or the
    /// options change; copies keep it, and a transposition moves it with
    /// the song when that gives what a new search would.
    std::string Key() const;
    /// The names of the wider grammar in the text that are no table names
    /// and stay as written because allChords is off, each once, in order of
    /// first occurrence. Empty with allChords. Scans the text: for an
    /// occasional notice, not for every command.
    std::vector<std::string> UntouchedNames() const;

    /// The fingering legends the last Transpose left as written, name and
    /// fingering both, because the shape could not move sound (it would
    /// leave the neck or take more than a hand): "A9 (x42000)", each once,
    /// in text order. Empty after Detect.
    const std::vector<std::string>& LegendsLeftAsWritten() const { return m_legendsLeft; }

    /// The chords of the song moved by a shift, as Transpose(shift) would
    /// leave them, found without rewriting the text.
    struct ShiftedChords {
        /// The names of the distinct chords, as distinctChords would list them.
        std::vector<std::string> distinct;
        int score = 0;
    };
    ShiftedChords ChordsAt(int shift) const;

    static bool IsLeftDelimiter(char c);
    static bool IsRightDelimiter(char c);
    /// Whether the len bytes at pos stand between delimiters.
    static bool IsChordWord(const std::string& text, std::size_t pos, std::size_t len);
    /// Replaces every delimited occurrence of name by replacement, in place.
    static void ReplaceChordWord(std::string& text, const std::string& name, const std::string& replacement);

    /// The song text; positions are byte offsets into it. Writing it
    /// directly leaves the chords and the key found in the old text: Detect
    /// reads the new one.
    std::string text;
    /// Sum of the current levels of the distinct chords.
    int score = 0;
    /// One entry per chord of the song, enharmonic spellings merged (the
    /// first spelling found stays): the table's names in table order, then
    /// the base chords of the other names not already listed, in order of
    /// first occurrence.
    std::array<CChord, kMaxDistinct> distinctChords;
    int distinctCount = 0;

private:
    /// What the trials of a shift need to know of the song.
    SongSummary Summarize() const;
    /// The place in summary.extended of the name of occurrence, outside the
    /// table, added when it is new.
    std::size_t ExtendedPlace(SongSummary& summary, const ChordOccurrence& occurrence) const;
    /// What the key finder said about the text as it is now.
    struct FoundKey {
        /// Nothing for a song without chords.
        std::optional<SongKey> key;
        /// The key scored above every other one: the song moved by a shift
        /// is then in this key moved by the same shift.
        bool clear = false;
    };
    /// The key by the key finder, searched on the first call for the text.
    std::optional<SongKey> GuessedKey() const;
    /// The key finder's answer for the text as it is now.
    FoundKey FindKey() const;
    /// What the key finder reads of occurrence i but whether it stands on
    /// a chord line.
    KeyChord KeyChordAt(int i) const;
    /// The same of every occurrence, in text order, fingerings left out.
    std::vector<KeyChord> KeyChords() const;
    /// The side of the signature most of the names are written on.
    SignatureSide WrittenSide() const;
    /// After Transpose(shift), whose every name moved whole and reads as
    /// written, now written on side, the key found before it moved by
    /// shift, when that is what a new search would find.
    std::optional<FoundKey> CarriedKey(int shift, SignatureSide side) const;
    /// Detect without the key search.
    void DetectChords(std::string newText);
    /// The positions, ascending, of the chords that stand on chord lines or
    /// in ChordPro brackets, whatever the options, but for a legend's: a
    /// chord with its fingering after it.
    std::vector<std::uint32_t> ChordLinePositions() const;
    /// What occurrence i says about the key.
    ChordKind KindAt(int i) const;
    /// The distinct list and the score, from the occurrences; the bases of
    /// the names outside the table are collected unless given.
    void ListDistinctChords(const std::vector<int>* extendedBases = nullptr);
    /// What the names of a moved text read as.
    struct MovedNames {
        /// Whether each name outside the table read with the root it was
        /// written with.
        bool asWritten = true;
        /// The bases of the names that still stand outside the table.
        std::vector<int> bases;
        /// The side of the signature most names are written on, when counted.
        SignatureSide side = SignatureSide::Natural;
    };
    /// After a transposition, reads the moved names outside the table again
    /// as detection would; none when one no longer reads as a whole name.
    /// others lists in text order the occurrences not written as a table
    /// name, among them every name outside the table and every bass note
    /// (RewriteChords).
    std::optional<MovedNames> ReadMovedNamesAgain(bool countSide, const std::vector<std::uint32_t>& others);
    /// Reads one moved name outside the table again into occurrence and
    /// moved; false when it no longer reads whole.
    bool ReadAgain(ChordOccurrence& occurrence, MovedNames& moved);

    ChordRules m_rules;
    SongOptions m_options;
    /// In ascending position.
    std::vector<ChordOccurrence> m_occurrences;
    /// How often each chord-table name occurs in the text, names outside the table left out.
    ChordCounts m_counts{};
    /// How many names outside the table occur.
    int m_extendedCount = 0;
    /// The key once searched for the text, nothing before. Detection
    /// searches it at once when names are spelled by key: each copy of the
    /// song then moves without asking the finder again.
    mutable std::optional<FoundKey> m_foundKey;
    std::vector<std::string> m_legendsLeft;
};

/// The chord moved by shift half-tones, spelled in its own family, as a copy
/// of the matching entry of the chord table.
CChord TransposeChord(const CChord& chord, int shift);

/// What earlier versions showed when a song held more than 1024 chords,
/// before transposing only part of it. Detection has no such limit now and
/// never shows it.
inline constexpr const char* kTooManyChordsMessage =
    "Sorry your file contains more than 1024 chords. Please contact the author to increase the number of handled "
    "chords.";
