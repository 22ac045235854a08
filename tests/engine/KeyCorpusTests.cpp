#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "engine/KeyFinder.h"
#include "engine/Tablature.h"
#include "tests/support/TestFiles.h"

namespace {

// A sheet read with every chord name, each chord marked with whether it
// stands on a chord line.
struct Sheet {
    std::vector<KeyChord> chords;
};

Sheet ReadSheet(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    CTablature song;
    SongOptions options;
    options.allChords = true;
    song.SetOptions(options);
    song.SetHtml(path.find(".htm", path.size() - 5) != std::string::npos);
    song.Detect(std::string(std::istreambuf_iterator<char>(in), {}));
    const std::string& text = song.text;
    Sheet sheet;
    std::vector<std::size_t> chordBytes(text.size() + 1, 0);
    for (int i = 0; i < song.OccurrenceCount(); ++i) {
        const std::size_t pos = song.PositionAt(i);
        const std::string name = song.NameAt(i);
        const std::size_t rootLength = name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? 2 : 1;
        const bool bass = i > 0 && text[pos - 1] == '/' && song.PositionAt(i - 1) + song.NameLengthAt(i - 1) + 1 == pos;
        sheet.chords.push_back({song.ChordAt(i).root, ChordKindOfSuffix(name.substr(rootLength)), bass});
        std::fill(chordBytes.begin() + pos, chordBytes.begin() + pos + name.size(), 1);
    }
    // A chord line holds at least as many bytes of chord names as of other
    // words: "Cmaj7 (x32000)" and "Loch Lomond (in G)" are none.
    std::size_t covered = 0, other = 0, next = 0;
    bool inTag = false;
    for (std::size_t p = 0; p <= text.size(); ++p) {
        if (p == text.size() || text[p] == '\n') {
            for (; next < sheet.chords.size() && song.PositionAt(static_cast<int>(next)) < p; ++next)
                sheet.chords[next].onChordLine = covered >= other;
            covered = other = 0;
        } else if (text[p] == '<' || text[p] == '>') {
            inTag = song.IsHtml() && text[p] == '<';
        } else if (chordBytes[p]) {
            ++covered;
        } else if (!inTag && !std::strchr(" \t\r|.:,-/()[]{}", text[p])) {
            ++other;
        }
    }
    return sheet;
}

// The key of a plain sheet: its chord lines start and end on the same
// triad, one of the three it uses most. Nothing for any other sheet. A
// seventh chord is no resting triad: a sheet that starts and ends on A7
// writes the pick-up into a song in D.
std::optional<MusicalKey> PlainKey(const std::vector<KeyChord>& chords) {
    std::map<std::pair<int, bool>, int> triads;
    std::vector<std::pair<int, bool>> order;
    const KeyChord* firstOnLine = nullptr;
    const KeyChord* lastOnLine = nullptr;
    for (const KeyChord& c : chords) {
        if (c.onChordLine && !c.bassOnly && c.kind != ChordKind::Diminished && c.kind != ChordKind::Other) {
            order.emplace_back(c.root, c.kind == ChordKind::Minor);
            ++triads[order.back()];
            firstOnLine = firstOnLine ? firstOnLine : &c;
            lastOnLine = &c;
        }
    }
    const auto rests = [](const KeyChord& c) { return c.kind == ChordKind::Major || c.kind == ChordKind::Minor; };
    if (order.empty() || order.front() != order.back() || !rests(*firstOnLine) || !rests(*lastOnLine))
        return std::nullopt;
    const int count = triads[order.front()];
    const auto more = std::count_if(triads.begin(), triads.end(), [&](const auto& t) { return t.second > count; });
    if (more >= 3)
        return std::nullopt;
    return MusicalKey{order.front().first, order.front().second};
}

std::string KeyName(MusicalKey key) {
    static const char* const names[] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    return std::string(names[key.tonic]) + (key.minor ? "m" : "");
}

} // namespace

std::optional<MusicalKey> Found(std::vector<KeyChord> chords, bool knowingLines) {
    for (KeyChord& chord : chords)
        chord.onChordLine = chord.onChordLine || !knowingLines;
    const std::optional<KeyGuess> guess = CKeyFinder::Find(chords);
    return guess ? std::optional<MusicalKey>(guess->key) : std::nullopt;
}

// Measures the key finder on real sheets by other people against the key
// their chord lines make plain: told which chords stand on chord lines, and
// not told (every chord-like word counts alike). The first chord's root,
// the key of earlier versions, is measured beside it.
TEST(KeyFinderCorpus, FindsTheKeyOfPlainSheets) {
    const std::vector<std::string> paths = CorpusSongPaths();
    if (paths.empty())
        GTEST_SKIP() << "the corpus of chord sheets is not here";
    int plain = 0, knowingLines = 0, blind = 0, firstChord = 0;
    for (const std::string& path : paths) {
        const Sheet sheet = ReadSheet(path);
        const std::string name = path.substr(path.rfind('/') + 1);
        const std::optional<MusicalKey> expected = PlainKey(sheet.chords);
        const std::optional<MusicalKey> found = Found(sheet.chords, true);
        const std::optional<MusicalKey> foundBlind = Found(sheet.chords, false);
        if (!expected) {
            std::cout << "not plain: " << name << ": found " << (found ? KeyName(*found) : "-") << "\n";
            continue;
        }
        ++plain;
        knowingLines += found == expected;
        blind += foundBlind == expected;
        const KeyChord& front = sheet.chords.front();
        firstChord += front.root == expected->tonic && (front.kind == ChordKind::Minor) == expected->minor;
        if (found != expected || foundBlind != expected)
            std::cout << "miss: " << name << ": plain key " << KeyName(*expected) << ", found " << KeyName(*found)
                      << ", not told the lines " << KeyName(*foundBlind) << "\n";
    }
    std::cout << plain << " plain sheets; key right on " << knowingLines << " (" << blind
              << " not told the lines); first chord right on " << firstChord << "\n";
    EXPECT_GE(knowingLines * 100, plain * 97);
}
