#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/Tablature.h"
#include "render/SongPage.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TestFiles.h"

namespace {

std::string Normalized(std::string bytes) {
    NormalizeMaj7(bytes);
    return bytes;
}

// The bare text moved, read as an HTML song or a text song.
std::string Moved(const std::string& text, bool html, int shift) {
    CTablature tablature;
    tablature.SetHtml(html);
    tablature.Detect(text);
    tablature.Transpose(shift);
    return tablature.text;
}

// Opening a song and saving it gives back its bytes, "Maj7" normalised, at
// shift 0; at any shift it gives the bytes moved as a bare text would move.
void ExpectSaveUndoesOpening(const std::string& path, const std::string& type, const std::string& bytes) {
    const SongPage page = BuildSongPage(path, type, bytes);
    ASSERT_TRUE(StripAddedText(page.text, page.added) == Normalized(bytes))
        << path << " as " << type << ": " << testing::PrintToString(bytes);
    const bool html = IsHtmlType(type);
    for (int shift : {-6, -5, -1, 0, 2, 6}) {
        CTablature working;
        working.SetHtml(html);
        working.Detect(page.text);
        working.Transpose(shift);
        ASSERT_TRUE(StripAddedText(working.text, page.added) == Moved(Normalized(bytes), html, shift))
            << path << " as " << type << " by " << shift << ": " << testing::PrintToString(bytes);
    }
}

// Pieces random songs and paths are made of: chord names and their near
// misses, delimiters, the literals opening adds and raw bytes.
const std::vector<std::string>& Pieces() {
    static const std::vector<std::string> pieces = {
        "C",
        "C#",
        "Db",
        "Am",
        "Bbm7",
        "F#maj7",
        "E7",
        "G",
        "Maj7",
        "CMaj7",
        "EbMaj7",
        "maj7",
        "m",
        "7",
        "#",
        "b",
        " ",
        "  ",
        "\n",
        "\r\n",
        "\t",
        "/",
        "(",
        ")",
        "[",
        "]",
        "{",
        "}",
        "<",
        ">",
        "&",
        "&#47;",
        ",",
        ".",
        "-",
        "|",
        "<b>",
        "</b>",
        "<title>",
        "</title>",
        " Transposed by Quavern 3.0</title>\n",
        kTextSongHeader,
        kTextSongHeaderUtf8,
        kTextSongFooter,
        "<pre>",
        "</pre>",
        "<!DOCTYPE html>",
        "<!doctype ",
        "\xc3\xa9",
        "\xe9",
        "\xe2\x82\xac",
        std::string(1, '\0'),
        "la la",
        "Capo (G)",
        "Songs",
    };
    return pieces;
}

std::string RandomText(std::mt19937& random, int maxPieces, bool rawBytes) {
    const std::vector<std::string>& pieces = Pieces();
    std::uniform_int_distribution<int> pieceCount(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    const int n = pieceCount(random);
    for (int i = 0; i < n; ++i) {
        if (rawBytes && byte(random) < 40)
            text += static_cast<char>(byte(random));
        else
            text += pieces[pick(random)];
    }
    return text;
}

} // namespace

TEST(SongPageRoundTrip, SaveGivesBackEveryCorpusSong) {
    const std::vector<std::string> paths = CorpusSongPaths();
    if (paths.empty())
        GTEST_SKIP() << "the corpus of chord sheets is not here";
    CCatalogLevelsGuard levels;
    int songsWithChords = 0;
    for (const std::string& path : paths) {
        const SongRead read = ReadSongFile(path);
        ASSERT_EQ(read.status, SongReadStatus::Ok) << path << ": " << read.reason;
        const std::string& bytes = read.bytes;
        ASSERT_FALSE(bytes.empty()) << path;
        CTablature song;
        song.Detect(bytes);
        songsWithChords += song.OccurrenceCount() > 0;
        for (const std::string& type : {FileTypeOf(path), std::string("TXT"), std::string("HTM")})
            ExpectSaveUndoesOpening(path, type, bytes);
    }
    EXPECT_GT(songsWithChords, static_cast<int>(paths.size()) / 2) << "most chord sheets hold chords";
}

TEST(SongPageRoundTrip, SaveGivesBackRandomSongsUnderRandomPaths) {
    CCatalogLevelsGuard levels;
    CRecordingMessageSink messages;
    std::mt19937 random(20481733);
    for (int i = 0; i < 400; ++i) {
        // Every fourth song begins with a declaration, often the place of the title line.
        const std::string bytes = (i % 4 == 0 ? " <!DOCTYPE html>" : "") + RandomText(random, 40, true);
        const std::string path = "/" + RandomText(random, 8, false) + ".txt";
        ExpectSaveUndoesOpening(path, i % 3 == 0 ? "HTM" : "TXT", bytes);
        if (HasFatalFailure())
            return;
    }
    EXPECT_TRUE(messages.Messages().empty());
}
