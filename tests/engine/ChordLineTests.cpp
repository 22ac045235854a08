#include "engine/ChordLine.h"

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "chords/ChordName.h"

namespace {

// A word is a chord name when the wider grammar reads all of it as one.
bool IsChordName(std::string_view word) {
    return ChordName::Read(word).has_value();
}

// The chord names, bass notes and fingerings a line holds as a guitarist
// reads it, written "Am C /E | x02210"; empty when it is no chord line.
std::string Reading(std::string_view line) {
    const ChordLineReading reading = ReadChordLine(line, IsChordName);
    std::string text;
    for (const LineSpan& span : reading.chords)
        text += (text.empty() ? "" : " ") + std::string(line.substr(span.offset, span.length));
    for (const LineSpan& span : reading.basses)
        text += " /" + std::string(line.substr(span.offset, span.length));
    if (!reading.fingerings.empty())
        text += " |";
    for (const LineSpan& span : reading.fingerings)
        text += " " + std::string(line.substr(span.offset, span.length));
    EXPECT_EQ(reading.isChordLine, !text.empty()) << line;
    return text;
}

} // namespace

TEST(ChordLine, ReadsChordLinesAndLeavesEveryOtherLine) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        // Chord lines, with the marks a sheet writes between the names.
        {"G          C       D", "G C D"},
        {"G |C |F . . Bb|F", "G C F Bb F"},
        {"|: Am  G :|  x2", "Am G"},
        {"(Am)  [G]  .D.  C/E  G/b  C(/E)", "Am G D C G C /E /b /E"},
        {"Intro: Em  C  G  D  (x4)", "Em C G D"},
        {"G  C  D  to coda", "G C D"},
        {"N.C.   E7   A   (riff)", "E7 A"},
        {"G / / /  C - - -  %", "G C"},
        {"Asus4  Bm7b5  Cadd9", "Asus4 Bm7b5 Cadd9"},
        // Fingering legends.
        {"Am (x02210)", "Am | x02210"},
        {"Fm6  133131", "Fm6 | 133131"},
        {"Bm  x-2-4-4-3-2   D  (x 5 7 7 7 5)", "Bm D | x-2-4-4-3-2 x 5 7 7 7 5"},
        // Two columns: chords on the left, another verse on the right.
        {"D     (D7)   G          Alles schläft; einsam wacht", "D D7 G"},
        // Lyrics, titles, headings and prose.
        {"A poor man's made of mud", ""},
        {"Am I only dreaming", ""},
        {"A man", ""},
        {"Be still, Do not fear", ""},
        {"A Night in June", ""},
        {"originally in Eb", ""},
        {"[Chorus]", ""},
        {"Capo 2", ""},
        {"", ""},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(Reading(line), expected) << line;
}

TEST(ChordLine, TellsFingeringsFromOtherWords) {
    for (const std::string_view yes : {"x02210", "022000", "x-10-12-12-11-10", "x 10 12 12 11 10"})
        EXPECT_TRUE(IsFingering(yes)) << yes;
    for (const std::string_view no : {"xxxxxx", "x0221", "x022100", "x--2-2-2-2", "1-2-3-4-5-99", "Amazing"})
        EXPECT_FALSE(IsFingering(no)) << no;
}
