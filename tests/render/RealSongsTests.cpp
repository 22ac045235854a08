// The options on real chord sheets by other people (the corpus folder beside
// the repository; skipped when it is absent). Chords are found here as a
// guitarist reads a sheet, word by word, not as the engine finds them.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "chords/NoteNames.h"
#include "engine/Tablature.h"
#include "render/SongPage.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/TestFiles.h"

namespace {

// One of the 17 roots (the longest that lets the rest match), then a suffix.
const std::regex kChordName("(C#|Db|D#|Eb|F#|Gb|G#|Ab|A#|Bb|[A-G])((maj|min|m|M|dim|aug|\\+)?"
                            "([0-9]+|sus[24]?|add[0-9]+|[b#][0-9]+|maj[0-9]+|\\([0-9a-z#+]*\\))*)");

int PitchOf(const std::string& root) {
    for (std::size_t p = 0; p < 12; ++p) {
        if (sharpNoteNames[p] == root || flatNoteNames[p] == root)
            return static_cast<int>(p);
    }
    return -1;
}

// A word of a chord line, "G", "(D7)", "Em/D/Bm", "Em(add9)", as pitch and
// suffix of each chord moved up by shift ("7:sus4 11:" for "Gsus4/B");
// empty for any other word. Whether a root was flat goes to flatRoot.
std::string ChordsOf(std::string word, int shift, bool* flatRoot = nullptr) {
    for (int unwrapped = 0; unwrapped < 2; ++unwrapped) {
        std::string chords;
        std::smatch match;
        std::size_t from = 0;
        for (std::size_t slash = 0; slash != std::string::npos; from = slash + 1) {
            slash = word.find('/', from);
            const std::string part = word.substr(from, slash == std::string::npos ? slash : slash - from);
            if (!std::regex_match(part, match, kChordName)) {
                chords.clear();
                break;
            }
            chords += std::to_string((PitchOf(match[1]) + shift + 12) % 12) + ":" + match[2].str() + " ";
            if (flatRoot && match[1].length() == 2 && match[1].str()[1] == 'b')
                *flatRoot = true;
        }
        if (!chords.empty() || word.size() < 3 || std::string("([{").find(word.front()) == std::string::npos ||
            std::string(")]}").find(word.back()) == std::string::npos)
            return chords;
        word = word.substr(1, word.size() - 2);
    }
    return {};
}

// The words of a text with their positions.
std::vector<std::pair<std::string, std::size_t>> WordsOf(const std::string& text) {
    std::vector<std::pair<std::string, std::size_t>> words;
    for (std::size_t at = text.find_first_not_of(" \t\r\n"); at != std::string::npos;) {
        const std::size_t end = text.find_first_of(" \t\r\n", at);
        words.emplace_back(text.substr(at, end == std::string::npos ? end : end - at), at);
        at = text.find_first_not_of(" \t\r\n", end);
    }
    return words;
}

bool InsideTag(const std::string& text, std::size_t pos) {
    const std::size_t open = text.rfind('<', pos);
    return open != std::string::npos && (text.rfind('>', pos) == std::string::npos || text.rfind('>', pos) < open);
}

// The song as Save writes it after opening it as the programs do and moving it.
std::string Moved(const std::string& path, const std::string& bytes, const SongOptions& options, int shift) {
    const SongPage page = BuildSongPage(path, FileTypeOf(path), bytes);
    CTablature song;
    song.SetHtml(IsHtmlType(FileTypeOf(path)));
    song.SetOptions(options);
    song.Detect(page.text);
    song.Transpose(shift);
    return StripAddedText(song.text, page.added);
}

std::string BytesOf(const std::string& path) {
    std::string bytes = ReadSongFile(path).bytes;
    NormalizeMaj7(bytes); // as opening reads it
    return bytes;
}

} // namespace

TEST(RealSongs, EveryChordWordMovesByTheShiftWithEveryOption) {
    if (CorpusSongPaths().empty())
        GTEST_SKIP() << "the corpus of chord sheets is not here";
    CCatalogLevelsGuard levels;
    int chordWords = 0;
    for (const std::string& path : CorpusSongPaths()) {
        const std::string bytes = BytesOf(path);
        const auto words = WordsOf(bytes);
        for (int spelling = 0; spelling < 4; ++spelling) {
            for (int shift = -6; shift <= 6; ++shift) {
                const auto moved = WordsOf(Moved(path, bytes, {true, static_cast<Spelling>(spelling), true}, shift));
                ASSERT_EQ(moved.size(), words.size()) << path << " by " << shift;
                for (std::size_t w = 0; w < words.size(); ++w) {
                    const std::string chords = ChordsOf(words[w].first, shift);
                    if (chords.empty() || (IsHtmlType(FileTypeOf(path)) && InsideTag(bytes, words[w].second))) {
                        // A word without a letter A to G holds no chord and stays.
                        if (words[w].first.find_first_of("ABCDEFG") == std::string::npos) {
                            ASSERT_EQ(moved[w].first, words[w].first) << path;
                        }
                        continue;
                    }
                    chordWords += spelling == 0 && shift == 1;
                    EXPECT_EQ(ChordsOf(moved[w].first, 0), chords)
                        << path << ": " << words[w].first << " by " << shift << " reads " << moved[w].first;
                }
            }
        }
    }
    EXPECT_GT(chordWords, 1000) << "the sheets are full of chord lines";
}

TEST(RealSongs, MovingUpThenDownGivesTheSongBack) {
    if (CorpusSongPaths().empty())
        GTEST_SKIP() << "the corpus of chord sheets is not here";
    CCatalogLevelsGuard levels;
    const SongOptions options{true, Spelling::AsWritten, false};
    for (const std::string& path : CorpusSongPaths()) {
        const std::string bytes = BytesOf(path);
        const auto words = WordsOf(bytes);
        bool flatRoots = false;
        for (const auto& word : words)
            ChordsOf(word.first, 0, &flatRoots);
        for (int k = 1; k <= 6; ++k) {
            const std::string back = Moved(path, Moved(path, bytes, options, k), options, -k);
            // A flat root that lands on a natural one comes back sharp (Bb up
            // one is B, B down one is A#): as written, each name keeps its
            // family only from the song as written. Other sheets come back whole.
            if (!flatRoots) {
                EXPECT_EQ(back, bytes) << path << " by " << k;
                continue;
            }
            const auto backWords = WordsOf(back);
            ASSERT_EQ(backWords.size(), words.size()) << path;
            for (std::size_t w = 0; w < words.size(); ++w) {
                EXPECT_EQ(backWords[w].second, words[w].second) << path;
                if (backWords[w].first != words[w].first) {
                    EXPECT_NE(ChordsOf(words[w].first, 0), "") << path << ": " << words[w].first;
                    EXPECT_EQ(ChordsOf(backWords[w].first, 0), ChordsOf(words[w].first, 0)) << path << " by " << k;
                }
            }
        }
    }
}
