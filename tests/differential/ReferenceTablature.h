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
/// last "<" before it comes after the last ">".
class CReferenceTablature {
public:
    explicit CReferenceTablature(bool html = false) : m_html(html) {}

    void Detect(std::string newText);
    void Transpose(int shift);
    int FindEasiest();
    void HighlightChords(const HighlightSettings& settings, const std::string& picturePrefix);

    std::string text;
    int score = 0;
    /// Every occurrence found, in ascending position.
    std::vector<CChord> occurrences;
    std::vector<int> positions;
    std::array<CChord, 85> distinctChords;
    int distinctCount = 0;

private:
    /// Whether the len bytes at pos are a chord in this song.
    bool IsChord(const std::string& in, std::size_t pos, std::size_t len) const;
    void SearchChord(const std::string& name);
    void MergeEnharmonics();
    void SortByPosition();

    bool m_html;
};
