#include "engine/ChordLine.h"

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "chords/ChordName.h"
#include "engine/Tablature.h"
#include "tests/support/TestFiles.h"

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
        {"n.c.  G  nc  D  N/C", "G D"}, // no chord, in either case
        {"G / / /  C - - -  %", "G C"},
        {"Asus4  Bm7b5  Cadd9", "Asus4 Bm7b5 Cadd9"},
        // Fingering legends.
        {"Am (x02210)", "Am | x02210"},
        {"A       (x02220) or (x02223)", "A | x02220 x02223"},
        {"Fm6  133131", "Fm6 | 133131"},
        {"Bm  x-2-4-4-3-2   D  (x 5 7 7 7 5)", "Bm D | x-2-4-4-3-2 x 5 7 7 7 5"},
        {"G+      (321003)?or (xx5443) or (xx1003)?", "G+ | 321003 xx5443 xx1003"},
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

TEST(ChordLine, MovesAFingeringOnlyWhereTheShapeStaysPlayable) {
    // written, shift, moved ("" stays as written)
    const std::vector<std::array<std::string, 3>> cases = {
        {"x02210", "2", "x24432"},
        {"x02210", "-1", "x-11-13-13-12-11"},
        {"133131", "-1", "022020"},
        // Open strings fretted: a barre may take the strings of one fret.
        {"022100", "1", "133211"},
        {"x02212", "1", "x13323"},
        {"x03211", "1", "x14322"},
        // Five fingers (Gsus4, B7), or five frets apart (Bm/A, A9).
        {"320013", "1", ""},
        {"x21202", "-1", ""},
        {"x04432", "1", ""},
        {"x42000", "2", ""},
        // Off the neck; a shape as wide as written moves.
        {"x-22-24-24-24-22", "1", ""},
        {"5x455x", "1", "6x566x"},
    };
    for (const auto& [written, shift, moved] : cases)
        EXPECT_EQ(MoveFingering(written, std::stoi(shift)), moved) << written << " " << shift;
}

TEST(ChordLine, NamesEachLegendLeftAsWrittenOnce) {
    CTablature song;
    SongOptions options;
    options.chordLines = true;
    song.SetOptions(options);
    song.Detect("B7 (x21202)   Am (x02210)\nBm/A (x04432)\nE  B7\nB7 (x21202)\n");
    song.Transpose(1);
    EXPECT_EQ(song.text, "B7 (x21202)   A#m (x13321)\nBm/A (x04432)\nF  C7\nB7 (x21202)\n");
    EXPECT_EQ(song.LegendsLeftAsWritten(), (std::vector<std::string>{"B7 (x21202)", "Bm/A (x04432)"}));
    // The legends' names stay among the song's chords as written.
    EXPECT_EQ(song.distinctCount, 5);
    // At no shift every shape stays playable; detection forgets the list.
    CTablature again = song;
    again.Transpose(0);
    EXPECT_TRUE(again.LegendsLeftAsWritten().empty());
    song.Detect(song.text);
    EXPECT_TRUE(song.LegendsLeftAsWritten().empty());
}

namespace {

// The song moved by shift with every chord name and chord lines only, or
// with every chord name alone.
std::string MovedAsGuitarist(const std::string& song, int shift, bool html = false, bool chordLines = true,
                             Notation notation = Notation::AsWritten) {
    CTablature tablature;
    tablature.SetHtml(html);
    SongOptions options;
    options.allChords = true;
    options.chordLines = chordLines;
    options.notation = notation;
    tablature.SetOptions(options);
    tablature.Detect(song);
    tablature.Transpose(shift);
    return tablature.text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

} // namespace

TEST(ChordLine, MovesChordLinesAndNothingElse) {
    // line, at +2, at -3
    const std::vector<std::array<std::string, 3>> cases = {
        {"G |C |F . . Bb|F", "A |D |G . . C|G", "E |A |D . . G|D"},
        {"G/B   C(/E)   Am/G   G/b", "A/C#   D(/F#)   Bm/A   A/c#", "E/G#   A(/C#)   F#m/E   E/g#"},
        {"Am (x02210)   Fm6  133131   D x-5-7-7-7-5", "Bm (x24432)   Gm6  355353   E x-7-9-9-9-7",
         "F#m (x-9-11-11-10-9)   Dm6  10-12-12-10-12-10   B x-2-4-4-4-2"},
        // A legend whose shape cannot move stays whole: five fingers (G+,
        // Gsus4), five frets (Bm/A), off the neck (G at 22).
        {"G+      (321003)?or (xx5443) or (xx1003)?", "G+      (321003)?or (xx5443) or (xx1003)?",
         "G+      (321003)?or (xx5443) or (xx1003)?"},
        {"Gsus4 (320013)  Bm/A (x04432)  G (x-22-24-24-24-22)  Bm6 (x20102)?or (xx0102)",
         "Gsus4 (320013)  Bm/A (x04432)  G (x-22-24-24-24-22)  C#m6 (x42324)?or (xx2324)",
         "Gsus4 (320013)  Bm/A (x04432)  E (x-19-21-21-21-19)  G#m6 (x-11-9-10-9-11)?or (x-x-9-10-9-11)"},
        {"Asus4  Bm7b5  Cadd9  (A7)", "Bsus4  C#m7b5  Dadd9  (B7)", "F#sus4  G#m7b5  Aadd9  (F#7)"},
        // A sheet in Gb: Cb and Fb are B and E, and move as flats.
        {"Gb  Cb  Abm/Cb  E#7  Fbmaj7  (to repeat: Db  E7+)", "Ab  Db  Bbm/Db  G7  Gbmaj7  (to repeat: Eb  F#7+)",
         "Eb  Ab  Fm/Ab  D7  Dbmaj7  (to repeat: Bb  C#7+)"},
        {"[G]Amazing [G7]grace, how [C/E]sweet", "[A]Amazing [A7]grace, how [D/F#]sweet",
         "[E]Amazing [E7]grace, how [A/C#]sweet"},
        {"A poor man's made of mud", "A poor man's made of mud", "A poor man's made of mud"},
        {"Am I only dreaming", "Am I only dreaming", "Am I only dreaming"},
        {"A Night in June (originally in Eb)", "A Night in June (originally in Eb)",
         "A Night in June (originally in Eb)"},
        {"Be still, Do not fear", "Be still, Do not fear", "Be still, Do not fear"},
        // Notations, each moved whole, read alike with every chord name alone.
        {"A7+5  Bm7-5  Cadd+11  Eaddb9  F9#", "B7+5  C#m7-5  Dadd+11  F#addb9  G9#",
         "F#7+5  G#m7-5  Aadd+11  C#addb9  D9#"},
        {"E-  A-7  A-/C  D-maj7  Dm-maj7", "F#-  B-7  B-/D  E-maj7  Em-maj7", "C#-  F#-7  F#-/A  B-maj7  Bm-maj7"},
        {"AmMaj7  DmMaj7  AmM7  Am(maj7)  E7alt", "BmMaj7  EmMaj7  BmM7  Bm(maj7)  F#7alt",
         "F#mMaj7  BmMaj7  F#mM7  F#m(maj7)  C#7alt"},
        {"C(/E)  A(/G)  G/b  D/f#", "D(/F#)  B(/A)  A/c#  E/g#", "A(/C#)  F#(/E)  E/g#  B/d#"},
    };
    for (const auto& [line, up, down] : cases) {
        EXPECT_EQ(MovedAsGuitarist(line, 2), up) << line;
        EXPECT_EQ(MovedAsGuitarist(line, -3), down) << line;
        if (&line >= &cases[cases.size() - 4][0]) {
            EXPECT_EQ(MovedAsGuitarist(line, 2, false, false), up) << line;
            EXPECT_EQ(MovedAsGuitarist(line, -3, false, false), down) << line;
        }
    }
    // Marks glued to a name on a chord line are no part of it.
    EXPECT_EQ(MovedAsGuitarist("G?  C,  D;  Em...", 2), "A?  D,  E;  F#m...");
    // German notation: H is B, B is B flat, "mi" and "moll" say minor;
    // names are written back the same way, and words stay words.
    const std::vector<std::array<std::string, 3>> german = {
        {"Ami  H  B  Hb  Hmi7  Cmoll  Gmi7  G#", "Hmi  C#  C  C  C#mi7  Dmoll  Ami7  B",
         "F#mi  G#  G  G  G#mi7  Amoll  Emi7  F"},
        {"Dmi/H  C/h  A  Ab", "Emi/C#  D/c#  H  B", "Hmi/G#  A/g#  F#  F"},
        // E#, Fb, Cb and H# sound F, E, H and C; Fb and Cb move as flats.
        {"E#7  Fb  Cbmi  H#  Ami", "G7  Gb  Dbmi  D  Hmi", "D7  Db  Abmi  A  F#mi"},
        {"[Ami]Ej pada [H7]rosenka", "[Hmi]Ej pada [C#7]rosenka", "[F#mi]Ej pada [G#7]rosenka"},
        {"A man", "A man", "A man"},
        {"Am I only dreaming", "Am I only dreaming", "Am I only dreaming"},
        {"Be still, Do not fear", "Be still, Do not fear", "Be still, Do not fear"},
        {"Hi there", "Hi there", "Hi there"},
    };
    for (const auto& [line, up, down] : german) {
        EXPECT_EQ(MovedAsGuitarist(line, 2, false, true, Notation::German), up) << line;
        EXPECT_EQ(MovedAsGuitarist(line, -3, false, true, Notation::German), down) << line;
    }
    // In an HTML song tags part the words of a line as blanks do.
    EXPECT_EQ(MovedAsGuitarist("<p><b>G</b>  C</p>\n<p>A man</p>", 2, true), "<p><b>A</b>  D</p>\n<p>A man</p>");
    // The header and footer opening puts around a text song leave its first and last lines whole.
    CTablature page;
    page.SetAddedText(std::string_view("<title>x</title>\n<body> <pre>").size(), std::string_view("</pre>").size());
    page.SetOptions({false, Spelling::AsWritten, false, true});
    page.Detect("<title>x</title>\n<body> <pre>G  C\nla la la\nD  Em</pre>");
    page.Transpose(2);
    EXPECT_EQ(page.text, "<title>x</title>\n<body> <pre>A  D\nla la la\nE  F#m</pre>");
}

TEST(ChordLine, RealSheetsKeepTheirWordsAndMoveEveryChordLine) {
    const std::vector<std::string> paths = CorpusSongPaths();
    if (paths.empty())
        GTEST_SKIP() << "no corpus of real sheets beside the project";
    // Read as written and in German notation (the Czech sheets write H and Ami).
    for (const Notation notation : {Notation::AsWritten, Notation::German}) {
        const auto isChordName = [notation](std::string_view word) {
            return ChordName::Read(word, true, notation).has_value();
        };
        int movedLines = 0;
        for (const std::string& path : paths) {
            std::ifstream file(path, std::ios::binary);
            const std::string song((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            const bool html =
                path.size() > 4 && (path.substr(path.size() - 4) == ".htm" || path.substr(path.size() - 5) == ".html");
            const std::vector<std::string> before = Lines(song);
            const std::vector<std::string> after = Lines(MovedAsGuitarist(song, 2, html, true, notation));
            ASSERT_EQ(before.size(), after.size()) << path;
            for (std::size_t i = 0; i < before.size(); ++i) {
                std::string read = before[i];
                if (!read.empty() && read.back() == '\r')
                    read.pop_back();
                const ChordLineReading reading = ReadChordLine(read, isChordName);
                // (HTML lines are read with their tags blanked; the test reads the
                // text songs' lines as they stand.)
                if (html)
                    continue;
                if (!reading.isChordLine) {
                    EXPECT_EQ(after[i], before[i]) << path << ": " << before[i];
                } else if (!reading.chords.empty()) {
                    movedLines += after[i] != before[i] ? 1 : 0;
                    // Every name moved whole reads again as a name.
                    EXPECT_EQ(ReadChordLine(after[i], isChordName).chords.size(), reading.chords.size())
                        << path << ": " << after[i];
                }
            }
        }
        EXPECT_GT(movedLines, 0);
    }
}
