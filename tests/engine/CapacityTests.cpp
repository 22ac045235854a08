#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "chords/Messages.h"
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

} // namespace

TEST(Tablature, CapacityMessageIsTheFixedText) {
    EXPECT_EQ(std::string(kTooManyChordsMessage), "Sorry your file contains more than 1024 chords. Please contact the "
                                                  "author to increase the number of handled chords.");
}

TEST(Tablature, KeepsExactly1024OccurrencesWithoutAMessage) {
    CRecordingMessageSink messages;
    CTablature tablature;
    tablature.Detect(Repeat("C ", 1000) + Repeat("Am ", 24));
    EXPECT_EQ(tablature.count, 1024);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(DistinctNamesOf(tablature), (std::vector<std::string>{"C", "Am"}));
}

TEST(Tablature, FillsTheListInTableOrderAndReportsEachLaterNameOnce) {
    CCatalogLevelsGuard levels;
    CRecordingMessageSink messages;
    // Table order: C, G (majors), Em, Am (minors), E7. C, G and Em fill 515
    // slots, Am takes the remaining 509 of its 600 and overflows, E7 finds
    // the list full. "xBm" is no delimited match and must not be reported.
    const std::string text = ShuffledSong({{"Am", 600}, {"C", 500}, {"G", 10}, {"Em", 5}, {"E7", 3}, {"xBm", 7}}, 7);
    CTablature tablature;
    tablature.Detect(text);

    EXPECT_EQ(tablature.text, text) << "the text stays whole";
    ASSERT_EQ(tablature.count, 1024);
    const std::map<std::string, int> expected = {{"C", 500}, {"G", 10}, {"Em", 5}, {"Am", 509}};
    EXPECT_EQ(CountByName(tablature), expected);
    for (int i = 1; i < tablature.count; ++i)
        EXPECT_LT(tablature.positions[static_cast<std::size_t>(i - 1)],
                  tablature.positions[static_cast<std::size_t>(i)]);

    // The Am kept are the first 509 in the text: the search runs forward.
    std::size_t lastKeptAm = 0;
    for (const Occurrence& o : OccurrencesOf(tablature)) {
        if (o.first == "Am")
            lastKeptAm = static_cast<std::size_t>(o.second);
    }
    int amUpToLastKept = 0;
    for (std::size_t p = text.find("Am "); p != std::string::npos && p <= lastKeptAm; p = text.find("Am ", p + 1))
        ++amUpToLastKept;
    EXPECT_EQ(amUpToLastKept, 509);

    // The overflowing name and the later one count for nothing.
    EXPECT_EQ(DistinctNamesOf(tablature), (std::vector<std::string>{"C", "G", "Em"}));
    EXPECT_EQ(tablature.GetScore(), 1 + 3 + 1);
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{kTooManyChordsMessage, kTooManyChordsMessage}));
}

TEST(Tablature, ReportsTheFullListOnEveryDetection) {
    CRecordingMessageSink messages;
    CTablature tablature;
    tablature.Detect(Repeat("C ", 1025));
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(tablature.count, 1024);
    EXPECT_EQ(DistinctNamesOf(tablature), std::vector<std::string>{}) << "the overflowing name is not counted";
    EXPECT_EQ(tablature.GetScore(), 0);
    tablature.Detect(tablature.text);
    EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST(Tablature, TransposesOnlyTheRecordedOccurrencesOfAnOverfullSong) {
    CRecordingMessageSink messages;
    const std::string text = Repeat("C ", 1024) + "Am";
    CTablature tablature;
    tablature.Detect(text);
    tablature.Transpose(2);
    EXPECT_EQ(tablature.text, Repeat("D ", 1024) + "Am");
    EXPECT_EQ(messages.Messages().size(), 2u) << "once when detecting, once after moving";
    EXPECT_EQ(messages.Messages()[0], kTooManyChordsMessage);
}

TEST(Tablature, ReportsTheCapacityOncePerCommandScope) {
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
        }
        ShowMessage("another message");
        ShowMessage("another message");
    }
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{kTooManyChordsMessage, "another message"}));
    EXPECT_EQ(tablature.count, 1024) << "the scope changes what is shown, not what is detected";

    // The next command reports again.
    {
        CMessageOnceScope command;
        tablature.Detect(text);
    }
    EXPECT_EQ(messages.Messages().size(), 3u);
    // Without a scope every report shows, as the engine makes it.
    tablature.Detect(text);
    EXPECT_EQ(messages.Messages().size(), 6u);
}
