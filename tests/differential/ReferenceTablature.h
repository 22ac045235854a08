#pragma once

#include <array>
#include <string>
#include <vector>

#include "chords/Chord.h"
#include "render/Highlight.h"

/// The straightforward algorithms the engine's fast ones must agree with:
/// one substring search per chord name in table order, a sort by position, 28
/// detections for the easiest search and one rewriting pass per name for
/// the highlighting. Kept only as the reference of the differential tests.
/// In an HTML song a match is looked at backwards: inside a tag when the
/// last "<" before it comes after the last ">". With every chord name, each
/// start that no table name takes is tried with every root and suffix
/// length against the grammar written as a regular expression. Names are
/// spelled as written and no columns are kept.
class CReferenceTablature {
public:
    explicit CReferenceTablature(bool html = false, bool allChords = false) : m_html(html), m_allChords(allChords) {}

    void Detect(std::string newText);
    void Transpose(int shift);
    int FindEasiest();
    void HighlightChords(const HighlightSettings& settings, const std::string& picturePrefix);

    std::string text;
    int score = 0;
    /// Every occurrence found, in ascending position: the table entry (of
    /// the base chord for a name outside the table), the position, the name
    /// as written and whether it is outside the table.
    std::vector<CChord> occurrences;
    std::vector<int> positions;
    std::vector<std::string> written;
    std::vector<bool> outsideTable;
    std::array<CChord, 85> distinctChords;
    int distinctCount = 0;

private:
    /// Whether the len bytes at pos are a chord in this song.
    bool IsChord(const std::string& in, std::size_t pos, std::size_t len) const;
    /// Whether a chord may start at pos: after a left delimiter, outside the tags of an HTML song.
    bool MayStartAt(const std::string& in, std::size_t pos) const;
    void SearchChord(const std::string& name);
    /// The names outside the table, after the table's names are found.
    void SearchOtherNames();
    void MergeEnharmonics();
    void SortByPosition();

    bool m_html;
    bool m_allChords;
};
