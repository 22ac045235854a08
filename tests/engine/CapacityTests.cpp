#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TablatureInspection.h"

namespace {

// A song of the given chord names, each repeated as often as asked, shuffled
// with a fixed seed so that table order and text order differ.
std::string ShuffledSong(const std::vector<std::pair<std::string, int>>& counts, unsigned seed) {
    std::vector<std::string> tokens;
    for (const auto& [name, n] : counts)
        tokens.insert(tokens.end(), static_cast<std::size_t>(n), name);
    std::shuffle(tokens.begin(), tokens.end(), std::mt19937(seed));
    std::string text;
    for (const std::string& token : tokens)
        text += token + " ";
    return text;
}

std::map<std::string, int> CountByName(const CTablature& tablature) {
    std::map<std::string, int> counts;
    for (const Occurrence& o : OccurrencesOf(tablature))
        ++counts[o.first];
    return counts;
}

std::string Repeat(const std::string& token, int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += token;
    return text;
}

// A songbook of 2,000 chords over lyric lines, written line by line from
// the chords of each line, so that a moved book can be written the same way.
std::string Songbook(const std::vector<std::string>& lineChords, int lines) {
    std::string book;
    for (int i = 0; i < lines; ++i) {
        for (const std::string& chord : lineChords)
            book += chord + "   ";
        book += "\n  la la la, the river runs\n";
    }
    return book;
}

} // namespace

TEST(Tablature, KeepsEveryOccurrenceOfALongSongWithoutAMessage) {
    CCatalogLevelsGuard levels;
    CRecordingMessageSink messages;
    // Earlier versions kept 1024 of these, chosen by table order. "xBm" is
    // no delimited chord.
    const std::string text = ShuffledSong({{"Am", 600}, {"C", 500}, {"G", 10}, {"Em", 5}, {"E7", 3}, {"xBm", 7}}, 7);
    CTablature tablature;
    tablature.Detect(text);

    EXPECT_EQ(tablature.text, text);
    ASSERT_EQ(tablature.OccurrenceCount(), 1118);
    const std::map<std::string, int> expected = {{"C", 500}, {"G", 10}, {"Em", 5}, {"Am", 600}, {"E7", 3}};
    EXPECT_EQ(CountByName(tablature), expected);
    for (int i = 1; i < tablature.OccurrenceCount(); ++i)
        EXPECT_LT(tablature.PositionAt(i - 1), tablature.PositionAt(i));
    EXPECT_EQ(DistinctNamesOf(tablature), (std::vector<std::string>{"C", "G", "Em", "Am", "E7"}));
    int sum = 0;
    for (const char* name : {"C", "G", "Em", "Am", "E7"})
        sum += theChordCatalog.Find(name)->GetDifficulty();
    EXPECT_EQ(tablature.GetScore(), sum) << "every name counts, the most frequent too";
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(Tablature, SongsAroundTheOldLimitMoveEveryChord) {
    CRecordingMessageSink messages;
    struct Case {
        int cs;    // "C " repeated
        int shift; // then "Am" at the end
        const char* moved;
        const char* last;
    };
    const Case cases[] = {
        {1023, 2, "D ", "Bm"},
        {1024, 2, "D ", "Bm"},
        {1025, -1, "B ", "G#m"},
        {4000, 1, "C# ", "A#m"},
    };
    for (const Case& c : cases) {
        CTablature tablature;
        tablature.Detect(Repeat("C ", c.cs) + "Am");
        EXPECT_EQ(tablature.OccurrenceCount(), c.cs + 1);
        tablature.Transpose(c.shift);
        EXPECT_EQ(tablature.text, Repeat(c.moved, c.cs) + c.last) << c.cs;
        EXPECT_EQ(tablature.OccurrenceCount(), c.cs + 1) << c.cs;
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(Tablature, TransposesA2000ChordSongbookCompletely) {
    CCatalogLevelsGuard levels;
    CRecordingMessageSink messages;
    CTablature loaded;
    loaded.Detect(Songbook({"Am", "G", "C#m7", "Bbmaj7"}, 500));
    ASSERT_EQ(loaded.OccurrenceCount(), 2000);
    EXPECT_EQ(DistinctNamesOf(loaded), (std::vector<std::string>{"G", "Am", "C#m7", "Bbmaj7"}));

    // Each chord moves in its own spelling family, to the end of the book.
    CTablature up = loaded;
    up.Transpose(1);
    EXPECT_EQ(up.text, Songbook({"A#m", "G#", "Dm7", "Bmaj7"}, 500));
    EXPECT_EQ(up.OccurrenceCount(), 2000);
    CTablature down = loaded;
    down.Transpose(-3);
    EXPECT_EQ(down.text, Songbook({"F#m", "E", "A#m7", "Gmaj7"}, 500));

    // The easiest search moves the whole book as Transpose does.
    CTablature easiest = loaded;
    const int shift = easiest.FindEasiest();
    CTablature expected = loaded;
    expected.Transpose(shift);
    EXPECT_EQ(easiest.text, expected.text);
    EXPECT_EQ(easiest.GetScore(), expected.GetScore());
    EXPECT_EQ(easiest.OccurrenceCount(), 2000);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(Tablature, ACommandScopeShowsEachMessageOnce) {
    CRecordingMessageSink messages;
    const std::string text = ShuffledSong({{"C", 600}, {"G", 600}, {"Am", 10}, {"Em", 10}}, 7);
    CTablature tablature;
    {
        CMessageOnceScope command;
        tablature.Detect(text);
        tablature.FindEasiest();
        {
            CMessageOnceScope nested;
            tablature.Transpose(1);
            ShowMessage("another message");
        }
        ShowMessage("another message");
    }
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"another message"}) << "a long song says nothing";
    EXPECT_EQ(tablature.OccurrenceCount(), 1220);

    // The next command shows it again; without a scope every message shows.
    {
        CMessageOnceScope command;
        ShowMessage("another message");
    }
    ShowMessage("another message");
    ShowMessage("another message");
    EXPECT_EQ(messages.Messages().size(), 4u);
    EXPECT_EQ(std::count(messages.Messages().begin(), messages.Messages().end(), kTooManyChordsMessage), 0);
}
