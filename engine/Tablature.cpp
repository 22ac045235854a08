#include "engine/Tablature.h"

#include <utility>

#include "chords/ChordCatalog.h"
#include "chords/Messages.h"
#include "chords/NoteNames.h"

bool CTablature::IsLeftDelimiter(char c) {
    switch (c) {
    case '[':
    case '(':
    case '{':
    case ' ':
    case '\n':
    case '\r':
    case '>':
    case '/':
    case '\t':
        return true;
    default:
        return false;
    }
}

bool CTablature::IsRightDelimiter(char c) {
    switch (c) {
    case ']':
    case ')':
    case '}':
    case ' ':
    case '\n':
    case '\r':
    case '<':
    case '/':
    case '\t':
        return true;
    default:
        return false;
    }
}

bool CTablature::IsChordWord(const std::string& text, std::size_t pos, std::size_t len) {
    if (pos > 0 && pos - 1 < text.size() && !IsLeftDelimiter(text[pos - 1]))
        return false;
    if (pos + len < text.size() && !IsRightDelimiter(text[pos + len]))
        return false;
    return true;
}

void CTablature::ReplaceChordWord(std::string& text, const std::string& name, const std::string& replacement) {
    std::size_t p = text.find(name);
    while (p != std::string::npos) {
        if (IsChordWord(text, p, name.size())) {
            text.replace(p, name.size(), replacement);
            p = text.find(name, p + replacement.size());
        } else {
            p = text.find(name, p + 1);
        }
    }
}

void CTablature::Detect(std::string newText) {
    text = std::move(newText);
    count = 0;
    distinctCount = 0;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        SearchChord(theChordCatalog.GetAt(i).GetName());
    SortByPosition();
    score = 0;
    for (int i = 0; i < distinctCount; ++i)
        score += theChordCatalog.Find(distinctChords[static_cast<std::size_t>(i)].GetName())->GetDifficulty();
}

void CTablature::SearchChord(const std::string& name) {
    const CChord* entry = theChordCatalog.Find(name);
    bool found = false;
    std::size_t p = text.find(name);
    while (p != std::string::npos) {
        if (IsChordWord(text, p, name.size())) {
            if (count == kMaxOccurrences) {
                ShowMessage(kTooManyChordsMessage);
                return;
            }
            occurrences[static_cast<std::size_t>(count)] = *entry;
            positions[static_cast<std::size_t>(count)] = static_cast<int>(p);
            ++count;
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

bool CTablature::ContainsChord(const CChord* list, int length, const CChord& chord) const {
    for (int i = 0; i < length; ++i) {
        if (list[i].root == chord.root && list[i].suffix == chord.suffix)
            return true;
    }
    return false;
}

void CTablature::MergeEnharmonics() {
    if (distinctCount < 2)
        return;
    // The list is rebuilt in place: slot kept < k always, so the kept prefix
    // is exactly the new list the merge would build aside.
    int kept = 1;
    for (int k = 1; k < distinctCount; ++k) {
        const CChord& chord = distinctChords[static_cast<std::size_t>(k)];
        if (!ContainsChord(distinctChords.data(), kept, chord)) {
            if (kept != k)
                distinctChords[static_cast<std::size_t>(kept)] = chord;
            ++kept;
        }
    }
    distinctCount = kept;
}

int CTablature::IndexOfEarliest(int from) const {
    int best = from;
    for (int i = from + 1; i < count; ++i) {
        if (positions[static_cast<std::size_t>(i)] < positions[static_cast<std::size_t>(best)])
            best = i;
    }
    return best;
}

void CTablature::SwapOccurrences(int i, int j) {
    if (i == j)
        return;
    std::swap(occurrences[static_cast<std::size_t>(i)], occurrences[static_cast<std::size_t>(j)]);
    std::swap(positions[static_cast<std::size_t>(i)], positions[static_cast<std::size_t>(j)]);
}

void CTablature::SortByPosition() {
    for (int i = 0; i + 1 < count; ++i)
        SwapOccurrences(i, IndexOfEarliest(i));
}

CChord TransposeChord(const CChord& chord, int shift) {
    if (shift == 0)
        return chord;
    int newRoot = ((chord.root + shift) % 12 + 12) % 12;
    const auto& names = chord.accidental == '#' ? sharpNoteNames : flatNoteNames;
    return *theChordCatalog.Find(names[static_cast<std::size_t>(newRoot)] + chord.suffix);
}

void CTablature::Transpose(int shift) {
    std::string result;
    result.reserve(text.size() + static_cast<std::size_t>(count));
    std::size_t cursor = 0;
    for (int i = 0; i < count; ++i) {
        const CChord& occurrence = occurrences[static_cast<std::size_t>(i)];
        std::size_t position = static_cast<std::size_t>(positions[static_cast<std::size_t>(i)]);
        result.append(text, cursor, position - cursor);
        result += TransposeChord(occurrence, shift).GetName();
        cursor = position + occurrence.GetName().size();
    }
    result.append(text, cursor, std::string::npos);
    Detect(std::move(result));
}

int CTablature::FindEasiest() {
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
