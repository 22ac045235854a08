#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/TablatureInspection.h"

namespace {

const std::string kLeftDelimiters = std::string("[({ \n\r>/\t");
const std::string kRightDelimiters = std::string("]}) \n\r</\t");

std::vector<Occurrence> Detected(const std::string& text, bool html = false) {
    CTablature tablature;
    tablature.SetHtml(html);
    tablature.Detect(text);
    return OccurrencesOf(tablature);
}

bool HasOccurrenceNamed(const std::vector<Occurrence>& list, const std::string& name) {
    for (const Occurrence& o : list) {
        if (o.first == name)
            return true;
    }
    return false;
}

} // namespace

TEST(Tablature, NewTablatureIsEmpty) {
    const CTablature tablature;
    EXPECT_EQ(tablature.text, "");
    EXPECT_EQ(tablature.OccurrenceCount(), 0);
    EXPECT_EQ(tablature.GetDistinctCount(), 0);
    EXPECT_EQ(tablature.GetScore(), 0);
}

TEST(Tablature, DetectsDelimitedChordNamesOnly) {
    struct Case {
        const char* text;
        std::vector<Occurrence> expected;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"Am", {{"Am", 0}}},
        {"C#m7", {{"C#m7", 0}}},
        {"E7", {{"E7", 0}}},
        {"Bb", {{"Bb", 0}}},
        {"C/G", {{"C", 0}, {"G", 2}}},
        {"Em7/B", {{"Em7", 0}, {"B", 4}}},
        {"Am/E", {{"Am", 0}, {"E", 3}}},
        {"(Am) [Em] {D}", {{"Am", 1}, {"Em", 6}, {"D", 11}}},
        {"<b>Am</b>", {{"Am", 3}}},
        {"<td>G</td><td>Cmaj7</td>", {{"G", 4}, {"Cmaj7", 14}}},
        {"Am,", {}},
        {"Am.", {}},
        {"Am:", {}},
        {"Am;", {}},
        {"-Am", {}},
        {"|Am", {}},
        {"&nbsp;Am", {}},
        {"'Am'", {}},
        {"\"Am\"", {}},
        {")Am(", {}},
        {"<Am>", {}},
        {"A man", {{"A", 0}}},
        {"I Am here", {{"Am", 2}}},
        {"CMaj7", {}},
        {"cmaj7", {}},
        {"Cmaj7", {{"Cmaj7", 0}}},
        {"CM7 Cmin C- Cb E# Fb B# H", {}},
        {"Db C# Db", {{"Db", 0}, {"C#", 3}, {"Db", 6}}},
        {"G C G D G", {{"G", 0}, {"C", 2}, {"G", 4}, {"D", 6}, {"G", 8}}},
        {"C   G\r\nAm\tF", {{"C", 0}, {"G", 4}, {"Am", 7}, {"F", 10}}},
        {"Bmaj7 Am C", {{"Bmaj7", 0}, {"Am", 6}, {"C", 9}}},
        {"x Am7 Am7x Am7", {{"Am7", 2}, {"Am7", 11}}},
        {"Dbmaj7 Ebm7 F#m G#7 A#", {{"Dbmaj7", 0}, {"Ebm7", 7}, {"F#m", 12}, {"G#7", 16}, {"A#", 20}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Detected(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Tablature, LeavesNamesInsideTagsOfHtmlSongsAlone) {
    struct Case {
        const char* text;
        std::vector<Occurrence> html;
        std::vector<Occurrence> lexical; // the same text as a text song
    };
    const std::vector<Case> cases = {
        {"<a href=\"chords/G/index.html\">G</a>", {{"G", 30}}, {{"G", 16}, {"G", 30}}},
        {"<!-- C Am -->Em", {{"Em", 13}}, {{"C", 5}, {"Am", 7}, {"Em", 13}}},
        {"<td class=x /Am/>Em</td> D", {{"Em", 17}, {"D", 25}}, {{"Am", 13}, {"Em", 17}, {"D", 25}}},
        {"x > G", {{"G", 4}}, {{"G", 4}}},
        {"a < b G c > D", {{"D", 12}}, {{"G", 6}, {"D", 12}}},
        {"<<G>>A", {{"A", 5}}, {{"A", 5}}},
        {"<b>Am</b> <i>(C)</i>", {{"Am", 3}, {"C", 14}}, {{"Am", 3}, {"C", 14}}},
        {"<img alt=\"\n[G]\n\">\n[G]", {{"G", 19}}, {{"G", 12}, {"G", 19}}},
        {"<!DOCTYPE html PUBLIC \"x//A//B\">\nC", {{"C", 33}}, {{"A", 26}, {"C", 33}}},
        {"G <", {{"G", 0}}, {{"G", 0}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Detected(c.text, true), c.html) << '"' << c.text << '"';
        EXPECT_EQ(Detected(c.text, false), c.lexical) << '"' << c.text << '"';
    }
}

TEST(Tablature, FollowsTagsAcrossLongTexts) {
    // The same tags at every offset from the start, so that the marks fall
    // anywhere in the blocks the scan reads at once and in its tail.
    const std::string tail = "<p title=\"Am E7\">Am</p> <a href=\"/G/\n/D/\">x</a> Em <!-- C -->\nF";
    const std::vector<std::pair<std::string, std::size_t>> expected = {{"Am", 17}, {"Em", 48}, {"F", 62}};
    for (std::size_t lead = 0; lead < 70; ++lead) {
        std::vector<Occurrence> shifted;
        for (const auto& [name, at] : expected)
            shifted.emplace_back(name, static_cast<int>(lead + at));
        const std::string text = std::string(lead, ' ') + tail;
        EXPECT_EQ(Detected(text, true), shifted) << lead;
        // A tag left open goes on to the next ">", and to the end of the text without one.
        std::vector<Occurrence> after = shifted;
        for (Occurrence& o : after)
            ++o.second;
        EXPECT_EQ(Detected("<" + text, true), after) << lead;
        EXPECT_EQ(Detected(text + " <x Am C", true), shifted) << lead;
    }
}

TEST(Tablature, AcceptsEachDelimiterOnItsOwnSideOnly) {
    // Every byte is tried in front of and behind the chord name: only the
    // delimiters of that side let it through.
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool left = kLeftDelimiters.find(c) != std::string::npos;
        const bool right = kRightDelimiters.find(c) != std::string::npos;
        EXPECT_EQ(CTablature::IsLeftDelimiter(c), left) << b;
        EXPECT_EQ(CTablature::IsRightDelimiter(c), right) << b;
        EXPECT_EQ(HasOccurrenceNamed(Detected(std::string(1, c) + "Am"), "Am"), left) << "byte " << b << " before";
        EXPECT_EQ(HasOccurrenceNamed(Detected("Am" + std::string(1, c)), "Am"), right) << "byte " << b << " after";
    }
}

TEST(Tablature, AcceptsEveryPairOfDelimiters) {
    for (char l : kLeftDelimiters) {
        for (char r : kRightDelimiters) {
            const std::string text = std::string("x") + l + "Em7" + r + "x";
            EXPECT_EQ(Detected(text), (std::vector<Occurrence>{{"Em7", 2}}))
                << "left " << int(l) << " right " << int(r);
        }
    }
}

TEST(Tablature, IsChordWordTreatsTextEdgesAsDelimiters) {
    EXPECT_TRUE(CTablature::IsChordWord("Am", 0, 2));
    EXPECT_TRUE(CTablature::IsChordWord(" Am", 1, 2));
    EXPECT_FALSE(CTablature::IsChordWord("xAm", 1, 2));
    EXPECT_FALSE(CTablature::IsChordWord("Amx", 0, 2));
    EXPECT_TRUE(CTablature::IsChordWord("(Am)", 1, 2));
}

TEST(Tablature, ListsOccurrencesInAscendingPositionWithTheirTableEntries) {
    CCatalogLevelsGuard levels;
    const std::string text = "Bmaj7 Am7 G C#m C Db7 Am\nEbmaj7 (A) F#m7/B [Gm] C";
    CTablature tablature;
    tablature.Detect(text);
    ASSERT_EQ(tablature.OccurrenceCount(), 13);
    for (int i = 0; i < tablature.OccurrenceCount(); ++i) {
        const CChord& chord = tablature.ChordAt(i);
        const std::string name = chord.GetName();
        const std::size_t position = tablature.PositionAt(i);
        if (i > 0) {
            EXPECT_LT(tablature.PositionAt(i - 1), position);
        }
        EXPECT_EQ(text.compare(position, name.size(), name), 0) << name;
        const CChord* entry = theChordCatalog.Find(name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(chord.difficulty, entry->difficulty) << name;
        EXPECT_EQ(chord.frets, entry->frets) << name;
        EXPECT_EQ(chord.position, entry->position) << name;
    }
}

TEST(Tablature, MergesEnharmonicSpellingsKeepingTheSharpEntry) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetLevel("C#", 2);
    CCatalogLevelsGuard::SetLevel("Db", 5);
    CTablature tablature;
    tablature.Detect("Db C# Db");
    EXPECT_EQ(DistinctNamesOf(tablature), std::vector<std::string>{"C#"});
    EXPECT_EQ(tablature.GetScore(), 2);

    tablature.Detect("Db Bbm A#m Ebmaj7 D#maj7 Gb7");
    EXPECT_EQ(DistinctNamesOf(tablature), (std::vector<std::string>{"Db", "A#m", "Gb7", "D#maj7"}));
    EXPECT_EQ(tablature.GetDistinctCount(), 4);
}

TEST(Tablature, KeepsDistinctChordsInTableOrderAndScoresEachOnce) {
    CCatalogLevelsGuard levels;
    CTablature tablature;
    tablature.Detect("G C G D G");
    EXPECT_EQ(DistinctNamesOf(tablature), (std::vector<std::string>{"C", "D", "G"}));
    EXPECT_EQ(tablature.GetScore(), 1 + 2 + 3);

    tablature.Detect("G G G G G G G G G G D");
    EXPECT_EQ(tablature.GetScore(), 3 + 2) << "repetitions do not count";

    tablature.Detect("Am Em7 C");
    EXPECT_EQ(DistinctNamesOf(tablature), (std::vector<std::string>{"C", "Am", "Em7"}));
    EXPECT_EQ(tablature.GetScore(), 1 + 1 + 3);
}

TEST(Tablature, ScoreReadsTheLevelsOfTheTableAtDetection) {
    CCatalogLevelsGuard levels;
    CTablature tablature;
    tablature.Detect("G D");
    EXPECT_EQ(tablature.GetScore(), 5);
    CCatalogLevelsGuard::SetLevel("G", 1);
    EXPECT_EQ(tablature.GetScore(), 5) << "a finished detection keeps its score";
    tablature.Detect(tablature.text);
    EXPECT_EQ(tablature.GetScore(), 3);
}

TEST(Tablature, DetectStartsFromScratch) {
    CTablature tablature;
    tablature.Detect("Am G C F Dm");
    tablature.Detect("x E7 x");
    EXPECT_EQ(tablature.text, "x E7 x");
    EXPECT_EQ(OccurrencesOf(tablature), (std::vector<Occurrence>{{"E7", 2}}));
    EXPECT_EQ(DistinctNamesOf(tablature), std::vector<std::string>{"E7"});
    tablature.Detect("");
    EXPECT_EQ(tablature.OccurrenceCount(), 0);
    EXPECT_EQ(tablature.GetDistinctCount(), 0);
    EXPECT_EQ(tablature.GetScore(), 0);
}

TEST(Tablature, CopyIsIndependent) {
    CTablature original;
    original.Detect("Am G");
    CTablature copy = original;
    copy.Transpose(2);
    EXPECT_EQ(original.text, "Am G");
    EXPECT_EQ(OccurrencesOf(original), (std::vector<Occurrence>{{"Am", 0}, {"G", 3}}));
    EXPECT_EQ(copy.text, "Bm A");
}
