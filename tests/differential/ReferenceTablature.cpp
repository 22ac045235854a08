#include "tests/differential/ReferenceTablature.h"

#include <algorithm>
#include <utility>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"

void CReferenceTablature::Detect(std::string newText) {
    text = std::move(newText);
    occurrences.clear();
    positions.clear();
    distinctCount = 0;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        SearchChord(theChordCatalog.GetAt(i).GetName());
    SortByPosition();
    score = 0;
    for (int i = 0; i < distinctCount; ++i)
        score += theChordCatalog.Find(distinctChords[static_cast<std::size_t>(i)].GetName())->GetDifficulty();
}

bool CReferenceTablature::IsChord(const std::string& in, std::size_t pos, std::size_t len) const {
    if (!CTablature::IsChordWord(in, pos, len))
        return false;
    if (!m_html || pos == 0)
        return true;
    const std::size_t open = in.rfind('<', pos - 1);
    const std::size_t close = in.rfind('>', pos - 1);
    return open == std::string::npos || (close != std::string::npos && close > open);
}

void CReferenceTablature::SearchChord(const std::string& name) {
    const CChord* entry = theChordCatalog.Find(name);
    bool found = false;
    std::size_t p = text.find(name);
    while (p != std::string::npos) {
        if (IsChord(text, p, name.size())) {
            occurrences.push_back(*entry);
            positions.push_back(static_cast<int>(p));
            found = true;
            p = text.find(name, p + name.size());
        } else {
            p = text.find(name, p + 1);
        }
    }
    if (found)
        distinctChords[static_cast<std::size_t>(distinctCount++)] = *entry;
    MergeEnharmonics();
}

void CReferenceTablature::MergeEnharmonics() {
    if (distinctCount < 2)
        return;
    std::array<CChord, 85> merged;
    int n = 0;
    merged[static_cast<std::size_t>(n++)] = distinctChords[0];
    for (int k = 1; k < distinctCount; ++k) {
        const CChord& chord = distinctChords[static_cast<std::size_t>(k)];
        bool contained = false;
        for (int m = 0; m < n; ++m) {
            if (merged[static_cast<std::size_t>(m)].root == chord.root &&
                merged[static_cast<std::size_t>(m)].suffix == chord.suffix)
                contained = true;
        }
        if (!contained)
            merged[static_cast<std::size_t>(n++)] = chord;
    }
    distinctChords = merged;
    distinctCount = n;
}

void CReferenceTablature::SortByPosition() {
    // A library sort: a songbook holds far too many chords for the selection
    // sort the program once used on its 1024 slots.
    std::vector<std::size_t> order(positions.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) { return positions[a] < positions[b]; });
    std::vector<CChord> sortedOccurrences;
    std::vector<int> sortedPositions;
    for (std::size_t i : order) {
        sortedOccurrences.push_back(occurrences[i]);
        sortedPositions.push_back(positions[i]);
    }
    occurrences = std::move(sortedOccurrences);
    positions = std::move(sortedPositions);
}

void CReferenceTablature::Transpose(int shift) {
    std::string result;
    std::size_t cursor = 0;
    for (std::size_t i = 0; i < occurrences.size(); ++i) {
        const CChord& occurrence = occurrences[i];
        const auto position = static_cast<std::size_t>(positions[i]);
        result.append(text, cursor, position - cursor);
        result += TransposeChord(occurrence, shift).GetName();
        cursor = position + occurrence.GetName().size();
    }
    result.append(text, cursor, std::string::npos);
    Detect(std::move(result));
}

int CReferenceTablature::FindEasiest() {
    const std::string song = text;
    Detect(song);
    Transpose(0);
    int bestScore = score;
    int bestShift = 0;
    for (int k = 1; k <= 6; ++k) {
        for (int shift : {-k, k}) {
            Detect(song);
            Transpose(shift);
            if (score < bestScore) {
                bestScore = score;
                bestShift = shift;
            }
        }
    }
    Detect(song);
    Transpose(bestShift);
    return bestShift;
}

void CReferenceTablature::HighlightChords(const HighlightSettings& s, const std::string& picturePrefix) {
    const std::string closing = HighlightClosing(s);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const std::string name = theChordCatalog.GetAt(i).GetName();
        const std::string replacement = HighlightOpening(name, s) + name + closing;
        // As ReplaceChordWord, with the tag test of HTML songs: the tags put
        // in are whole, so they leave every later name inside or outside a
        // tag as it was.
        std::size_t p = text.find(name);
        while (p != std::string::npos) {
            if (IsChord(text, p, name.size())) {
                text.replace(p, name.size(), replacement);
                p = text.find(name, p + replacement.size());
            } else {
                p = text.find(name, p + 1);
            }
        }
    }
    text += PopupBlock(picturePrefix);
}
