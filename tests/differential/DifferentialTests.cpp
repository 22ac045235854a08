// The engine's one-pass detection, its easiest search from chord counts and
// its one-pass highlighting against the straightforward reference, on random
// texts, on the benchmark songs and on real chord sheets.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/SongPage.h"
#include "tests/differential/ReferenceTablature.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/RecordingMessageSink.h"

namespace {

std::string Describe(const std::string& text) {
    std::string shown = text.substr(0, 200);
    return "text (" + std::to_string(text.size()) + " bytes) starting: " + shown;
}

void ExpectSame(const CTablature& fast, const CReferenceTablature& reference, const std::string& what) {
    ASSERT_EQ(fast.text, reference.text) << what;
    ASSERT_EQ(static_cast<std::size_t>(fast.OccurrenceCount()), reference.occurrences.size()) << what;
    for (int i = 0; i < fast.OccurrenceCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        ASSERT_EQ(fast.PositionAt(i), static_cast<std::size_t>(reference.positions[k])) << what << " occurrence " << i;
        ASSERT_EQ(fast.NameAt(i), reference.written[k]) << what << " occurrence " << i;
        ASSERT_EQ(fast.IsExtendedAt(i), reference.outsideTable[k]) << what << " occurrence " << i;
        ASSERT_EQ(fast.ChordAt(i).GetName(), reference.occurrences[k].GetName()) << what << " occurrence " << i;
        ASSERT_EQ(fast.ChordAt(i).difficulty, reference.occurrences[k].difficulty) << what;
        ASSERT_EQ(fast.ChordAt(i).frets, reference.occurrences[k].frets) << what;
        ASSERT_EQ(fast.ChordAt(i).position, reference.occurrences[k].position) << what;
    }
    ASSERT_EQ(fast.distinctCount, reference.distinctCount) << what;
    for (int i = 0; i < fast.distinctCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        ASSERT_EQ(fast.distinctChords[k].GetName(), reference.distinctChords[k].GetName()) << what << " distinct " << i;
        ASSERT_EQ(fast.distinctChords[k].difficulty, reference.distinctChords[k].difficulty) << what;
    }
    ASSERT_EQ(fast.score, reference.score) << what;
}

// Compares detection, every shift, the easiest search and the highlighting
// of one text, read as a text song or as an HTML song, with every chord
// name or not, messages included.
void CompareOn(const std::string& text, const HighlightSettings& settings, bool html = false, bool allChords = false) {
    const std::string what = std::string(html ? "HTML, " : "") + (allChords ? "all chords, " : "") + Describe(text);
    CTablature fast;
    fast.SetHtml(html);
    fast.SetOptions({allChords, Spelling::AsWritten, false});
    CReferenceTablature reference(html, allChords);
    {
        CRecordingMessageSink fastMessages;
        fast.Detect(text);
        auto fastSaid = fastMessages.Take();
        reference.Detect(text);
        ASSERT_EQ(fastSaid, fastMessages.Take()) << "Detect messages, " << what;
    }
    ASSERT_NO_FATAL_FAILURE(ExpectSame(fast, reference, "Detect, " + what));

    for (int shift = -6; shift <= 6; ++shift) {
        CTablature movedFast = fast;
        CReferenceTablature movedReference = reference;
        CRecordingMessageSink messages;
        movedFast.Transpose(shift);
        auto fastSaid = messages.Take();
        movedReference.Transpose(shift);
        ASSERT_EQ(fastSaid, messages.Take()) << "Transpose messages at " << shift << ", " << what;
        ASSERT_NO_FATAL_FAILURE(ExpectSame(movedFast, movedReference, "Transpose " + std::to_string(shift)));
    }

    {
        CTablature easiestFast = fast;
        CReferenceTablature easiestReference = reference;
        CRecordingMessageSink messages;
        const int fastShift = easiestFast.FindEasiest();
        auto fastSaid = messages.Take();
        const int referenceShift = easiestReference.FindEasiest();
        ASSERT_EQ(fastSaid, messages.Take()) << "FindEasiest messages, " << what;
        ASSERT_EQ(fastShift, referenceShift) << what;
        ASSERT_NO_FATAL_FAILURE(ExpectSame(easiestFast, easiestReference, "FindEasiest, " + what));
    }

    const std::string prefix = "/home/me/Quavern/Pics/";
    CTablature display = fast;
    HighlightChords(display, settings, prefix);
    CReferenceTablature referenceDisplay = reference;
    referenceDisplay.HighlightChords(settings, prefix);
    ASSERT_EQ(display.text, referenceDisplay.text) << "HighlightChords, " << what;
}

const std::vector<std::string>& Fragments() {
    static const std::vector<std::string> fragments = [] {
        std::vector<std::string> f = {" ",        " ",      "\n",     "\r\n",
                                      "\t",       "/",      "(",      ")",
                                      "[",        "]",      "{",      "}",
                                      "<",        ">",      "<b>",    "</b>",
                                      ",",        ".",      ":",      "-",
                                      "|",        "&nbsp;", "'",      "\"",
                                      "x",        "a",      "the ",   "man",
                                      "H",        "Cb",     "E#",     "Fb",
                                      "B#",       "Maj7",   "M7",     "ma",
                                      "maj",      "sus",    "9",      "#",
                                      "b",        "m",      "7",      std::string(1, '\0'),
                                      "\xc3\xa9", "\xff",   "QV3",    "<a href=\"",
                                      "\">",      "<!-- ",  " -->",   "<!DOCTYPE html>",
                                      "sus",      "sus4",   "add9",   "(add9)",
                                      "(",        "dim",    "aug",    "+",
                                      "M",        "min",    "b5",     "#9",
                                      "6",        "2",      "maj9",   "   ",
                                      "   ",      "Cb",     "(maj7)", "Ebb",
                                      "Amen",     "Add"};
        for (int i = 0; i < CChordCatalog::kSize; ++i) {
            const std::string name = theChordCatalog.GetAt(i).GetName();
            f.push_back(name);
            f.push_back(name);
            f.push_back(name.substr(0, name.size() - 1)); // a prefix of a name
        }
        return f;
    }();
    return fragments;
}

std::string RandomText(std::mt19937& rng, int pieces) {
    const auto& fragments = Fragments();
    std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
    std::string text;
    for (int i = 0; i < pieces; ++i)
        text += fragments[pick(rng)];
    return text;
}

HighlightSettings RandomSettings(std::mt19937& rng) {
    std::uniform_int_distribution<int> flag(0, 1);
    std::uniform_int_distribution<int> color(0, 0xffffff);
    HighlightSettings s;
    s.bold = flag(rng);
    s.italic = flag(rng);
    s.underline = flag(rng);
    s.useColor = flag(rng);
    s.infobulle = flag(rng);
    s.color = color(rng);
    return s;
}

// Levels at random, enharmonic spellings not always alike, so that which
// spelling the distinct list keeps shows in the score.
void RandomLevels(std::mt19937& rng) {
    std::uniform_int_distribution<int> level(1, 5);
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        theChordCatalog.GetAt(i).SetDifficulty(level(rng));
}

} // namespace

TEST(Differential, AgreesOnRandomShortTexts) {
    CCatalogLevelsGuard levels;
    std::mt19937 rng(20261208);
    for (int round = 0; round < 3000; ++round) {
        if (round % 100 == 0)
            RandomLevels(rng);
        ASSERT_NO_FATAL_FAILURE(CompareOn(RandomText(rng, 1 + static_cast<int>(rng() % 40)), RandomSettings(rng),
                                          round % 4 >= 2, round % 2 == 1));
    }
}

TEST(Differential, AgreesOnSongsOfThousandsOfChords) {
    CCatalogLevelsGuard levels;
    std::mt19937 rng(1024);
    for (int round = 0; round < 12; ++round) {
        RandomLevels(rng);
        // Between about 1000 and 4000 chords: around the 1024 earlier
        // versions kept, and well past it.
        ASSERT_NO_FATAL_FAILURE(
            CompareOn(RandomText(rng, 2500 + 500 * round), RandomSettings(rng), round % 3 == 0, round % 2 == 1));
    }
    for (int chords : {1023, 1024, 1025}) {
        std::string text;
        for (int i = 0; i < chords; ++i)
            text += i % 3 == 0 ? "Am " : i % 3 == 1 ? "C# " : "Db ";
        ASSERT_NO_FATAL_FAILURE(CompareOn(text, HighlightSettings{}));
    }
}

TEST(Differential, AgreesOnTheBenchmarkSongs) {
    CCatalogLevelsGuard levels;
    for (const char* name : {"5KB", "100KB", "1MB"}) {
        const std::string path = std::string(QUAVERN_TEST_SONGS) + "/song-" + name + ".txt";
        const SongRead read = ReadSongFile(path);
        ASSERT_EQ(read.status, SongReadStatus::Ok) << path << ": " << read.reason;
        ASSERT_NO_FATAL_FAILURE(CompareOn(BuildSongPage(path, "TXT", read.bytes).text, HighlightSettings{}));
    }
    // Every chord name in the song; the songbooks are too long for the reference's regular expressions.
    const std::string path = std::string(QUAVERN_TEST_SONGS) + "/song-5KB.txt";
    ASSERT_NO_FATAL_FAILURE(
        CompareOn(BuildSongPage(path, "TXT", ReadSongFile(path).bytes).text, HighlightSettings{}, false, true));
}

TEST(Differential, AgreesOnRealChordSheets) {
    const std::filesystem::path corpus = QUAVERN_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no chord sheet folder at " << corpus;
    CCatalogLevelsGuard levels;
    int songs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README.md")
            continue;
        const SongRead read = ReadSongFile(entry.path().string());
        ASSERT_EQ(read.status, SongReadStatus::Ok) << entry.path() << ": " << read.reason;
        const std::string type = FileTypeOf(entry.path().string());
        const std::string page = BuildSongPage(entry.path().string(), type, read.bytes).text;
        for (const bool allChords : {false, true})
            ASSERT_NO_FATAL_FAILURE(CompareOn(page, HighlightSettings{}, IsHtmlType(type), allChords));
        ++songs;
    }
    EXPECT_GT(songs, 0);
}
