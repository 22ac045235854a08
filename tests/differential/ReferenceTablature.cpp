#include "tests/differential/ReferenceTablature.h"

#include <algorithm>
#include <regex>
#include <set>
#include <utility>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "engine/Tablature.h"
#include "render/HighlightTags.h"

namespace {

bool IsTableSuffix(const std::string& suffix) {
    return suffix.empty() || suffix == "m" || suffix == "7" || suffix == "m7" || suffix == "maj7";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A root the 17 spellings lack, and the white key it sounds: "F" for "E#".
std::string SoundingWhiteKey(const std::string& root) {
    static const std::pair<const char*, const char*> kWhiteKeys[] = {
        {"E#", "F"}, {"B#", "C"}, {"Fb", "E"}, {"Cb", "B"}};
    for (const auto& [written, sounding] : kWhiteKeys) {
        if (root == written)
            return sounding;
    }
    return "";
}

} // namespace

void CReferenceTablature::Detect(std::string newText) {
    text = std::move(newText);
    occurrences.clear();
    positions.clear();
    written.clear();
    outsideTable.clear();
    distinctCount = 0;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        SearchChord(theChordCatalog.GetAt(i).GetName());
    SortByPosition();
    if (m_allChords) {
        // Appended after the table's chords in the distinct list, in order of first occurrence.
        SearchOtherNames();
        SortByPosition();
        for (std::size_t i = 0; i < occurrences.size(); ++i) {
            if (!outsideTable[i])
                continue;
            bool listed = false;
            for (int k = 0; k < distinctCount; ++k) {
                const CChord& chord = distinctChords[static_cast<std::size_t>(k)];
                listed = listed || (chord.root == occurrences[i].root && chord.suffix == occurrences[i].suffix);
            }
            if (!listed)
                distinctChords[static_cast<std::size_t>(distinctCount++)] = occurrences[i];
        }
    }
    score = 0;
    for (int i = 0; i < distinctCount; ++i)
        score += theChordCatalog.Find(distinctChords[static_cast<std::size_t>(i)].GetName())->GetDifficulty();
}

bool CReferenceTablature::IsChord(const std::string& in, std::size_t pos, std::size_t len) const {
    return CTablature::IsChordWord(in, pos, len) && MayStartAt(in, pos);
}

bool CReferenceTablature::MayStartAt(const std::string& in, std::size_t pos) const {
    if (pos > 0 && !CTablature::IsLeftDelimiter(in[pos - 1]))
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
            written.push_back(name);
            outsideTable.push_back(false);
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

void CReferenceTablature::SearchOtherNames() {
    // A number may carry a sharp after it (F9#).
    // A number may carry a plus after it too: the raised fifth of E7+.
    static const std::regex suffixGrammar(
        "(maj|Maj|min|m|M|dim|aug|\\+|-)?([0-9]+[#+]?|sus[24]?|alt|add[-b#+]?[0-9]+[#+]?|"
        "[-b#+][0-9]+[#+]?|-?maj[0-9]+[#+]?|Maj[0-9]+[#+]?|M[0-9]+[#+]?|"
        "\\([0-9a-z#+]*\\))*");
    // After E#, B#, Fb or Cb these numbers are what the sign alters (E#9, Cb5).
    static const std::regex alteredNumber("(5|9|11|13)([^0-9][\\s\\S]*)?");
    const std::set<int> taken(positions.begin(), positions.end());
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] < 'A' || text[p] > 'G' || taken.count(static_cast<int>(p)) || !MayStartAt(text, p))
            continue;
        // The longest root first; for each, the longest suffix the grammar takes.
        bool found = false;
        bool rootDecided = false;
        for (std::size_t rootSize = 2; rootSize >= 1 && !found && !rootDecided; --rootSize) {
            const std::string root = text.substr(p, rootSize);
            const std::string white = rootSize == 2 ? SoundingWhiteKey(root) : "";
            if (!white.empty()) {
                rootDecided = !std::regex_match(text.substr(p + rootSize), alteredNumber);
                if (!rootDecided)
                    continue;
            } else if (std::find(rootSpellings.begin(), rootSpellings.end(), root) == rootSpellings.end()) {
                continue;
            }
            std::size_t run = p + rootSize;
            while (run < text.size() &&
                   std::string("0123456789abcdefghijklmnopqrstuvwxyzM#+-()").find(text[run]) != std::string::npos)
                ++run;
            for (std::size_t end = run; end >= p + rootSize + (white.empty() ? 1 : 0) && !found; --end) {
                const std::string suffix = text.substr(p + rootSize, end - p - rootSize);
                if ((end < text.size() && !CTablature::IsRightDelimiter(text[end])) ||
                    (IsTableSuffix(suffix) && white.empty()) || !std::regex_match(suffix, suffixGrammar))
                    continue;
                const bool minor = (StartsWith(suffix, "m") && !StartsWith(suffix, "maj")) || StartsWith(suffix, "-");
                const std::string base = white.empty() ? root : white;
                occurrences.push_back(*theChordCatalog.Find(base + (IsTableSuffix(suffix) ? suffix
                                                                    : minor               ? "m"
                                                                                          : "")));
                positions.push_back(static_cast<int>(p));
                written.push_back(root + suffix);
                outsideTable.push_back(true);
                found = true;
            }
        }
    }
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
    std::vector<std::string> sortedNames;
    std::vector<bool> sortedOutside;
    for (std::size_t i : order) {
        sortedOccurrences.push_back(occurrences[i]);
        sortedPositions.push_back(positions[i]);
        sortedNames.push_back(written[i]);
        sortedOutside.push_back(outsideTable[i]);
    }
    occurrences = std::move(sortedOccurrences);
    positions = std::move(sortedPositions);
    written = std::move(sortedNames);
    outsideTable = std::move(sortedOutside);
}

void CReferenceTablature::Transpose(int shift) {
    std::string result;
    std::size_t cursor = 0;
    for (std::size_t i = 0; i < occurrences.size(); ++i) {
        // A name outside the table moves as its base chord, its suffix kept.
        const CChord& chord = occurrences[i];
        const auto position = static_cast<std::size_t>(positions[i]);
        result.append(text, cursor, position - cursor);
        // A root written E#, B#, Fb or Cb: its sign's family, and as written where it stays.
        const std::string writtenRoot = written[i].substr(0, 2);
        const std::string white = SoundingWhiteKey(writtenRoot);
        const bool signedWhiteKey = !white.empty() && theChordCatalog.Find(white)->root == chord.root;
        CChord family = chord;
        family.accidental = signedWhiteKey && writtenRoot[1] == 'b' ? 'b' : chord.accidental;
        const std::string moved = TransposeChord(family, shift).GetName();
        const std::size_t rootSize = signedWhiteKey ? 2 : chord.GetName().size() - chord.suffix.size();
        result += signedWhiteKey && shift % 12 == 0 ? writtenRoot : moved.substr(0, moved.size() - chord.suffix.size());
        result += written[i].substr(rootSize);
        cursor = position + written[i].size();
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
    // The names outside the table first, from the last, with the tags but
    // no pop-up: no table name is found in or next to them afterwards.
    HighlightSettings plain = s;
    plain.infobulle = 0;
    for (std::size_t i = occurrences.size(); i-- > 0;) {
        if (outsideTable[i]) {
            text.replace(static_cast<std::size_t>(positions[i]), written[i].size(),
                         HighlightOpening(written[i], plain) + written[i] + HighlightClosing(plain));
        }
    }
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
