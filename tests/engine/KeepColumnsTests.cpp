#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Tablature.h"
#include "tests/support/TablatureInspection.h"
#include "tests/support/TestFiles.h"

namespace {

// How a case is read: as text with and without chord lines, as text with
// chord lines or without them only, or as HTML without chord lines.
enum Reading { Both, ChordLinesOnly, TextOnly, Html };

struct Song {
    std::string text;
    bool html = false;
};

CTablature Detected(const Song& song, bool chordLines, bool keepColumns) {
    CTablature tablature;
    tablature.SetHtml(song.html);
    tablature.SetOptions({true, Spelling::AsWritten, keepColumns, chordLines});
    tablature.Detect(song.text);
    return tablature;
}

CTablature Moved(const Song& song, bool chordLines, bool keepColumns, int shift) {
    CTablature tablature = Detected(song, chordLines, keepColumns);
    tablature.Transpose(shift);
    return tablature;
}

// What a transposed song holds must be what detecting its text finds.
void ExpectAsDetected(const CTablature& moved, bool chordLines, const std::string& what) {
    const CTablature detected = Detected({moved.text, moved.IsHtml()}, chordLines, true);
    EXPECT_EQ(OccurrencesOf(moved), OccurrencesOf(detected)) << what;
    for (int i = 0; i < moved.OccurrenceCount() && i < detected.OccurrenceCount(); ++i)
        EXPECT_EQ(moved.IsExtendedAt(i), detected.IsExtendedAt(i)) << what << " at " << moved.PositionAt(i);
    EXPECT_EQ(moved.GetScore(), detected.GetScore()) << what;
}

// The words of each line: what keeping columns must leave as it is.
std::vector<std::vector<std::string>> WordsOf(const std::string& text) {
    std::vector<std::vector<std::string>> lines(1);
    std::string word;
    for (const char c : text + "\n") {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!word.empty())
                lines.back().push_back(word);
            word.clear();
            if (c == '\n')
                lines.emplace_back();
        } else {
            word += c;
        }
    }
    return lines;
}

// count lines of the tokens parted by 1 to 20 blanks, some indented, some
// with blanks after the last word; the same lines on every run.
std::vector<std::string> GeneratedLines(std::initializer_list<const char*> tokens, int count) {
    std::uint32_t seed = 7;
    const auto next = [&seed](std::uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 16) % below;
    };
    const std::vector<const char*> pool(tokens);
    std::vector<std::string> lines;
    for (int n = 0; n < count; ++n) {
        std::string line(next(3), ' ');
        for (std::uint32_t words = 3 + next(6); words > 0; --words)
            line += std::string(pool[next(static_cast<std::uint32_t>(pool.size()))]) +
                    std::string(1 + next(next(2) ? 20 : 7), ' ');
        if (next(2) != 0)
            line.erase(line.find_last_not_of(' ') + 1);
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(KeepColumns, ChordsStayOverTheirSyllables) {
    const std::string mud = "\nSome people say a man is made out of mud.";
    struct Case {
        const char* song;
        int shift;
        const char* kept;
        Reading reading;
    };
    const Case cases[] = {
        // Slash chords grow in both parts; E goes back to its column.
        {"Am           Am/G   Am/F        E", 1, "A#m          A#m/G# A#m/F#      F", Both},
        // A gap wider than the layout takes at once narrows as any other.
        {"Am                  G", 1, "A#m                 G#", Both},
        {"C G Am F", 1, "C# G# A#m F#", Both},              // single blanks stay one blank
        {"Db Eb  Gb", 1, "D  E   G", Both},                 // shorter names leave their room
        {"(A7)  D     G", 1, "(A#7) D#    G#", Both},       // a parenthesised chord eats no neighbour
        {"(A7) D  G", 1, "(A#7) D# G#", Both},              // pushed, and pushed on
        {"C C C", 1, "C# C# C#", Both},                     // the line grows when nothing fits
        {"| Am  | E  |  ", 1, "| A#m | F  |  ", Both},      // bar lines keep their columns
        {"| Am | E  |", 1, "| A#m | F |", Both},            // ... unless a chord pushes them
        {"C#m\tF#  G", -1, "Cm\tF   F#", Both},             // a tab still reaches its stop
        {"Ab\tBb", 1, "A\tB", Both},                        //
        {"G  ", 1, "G# ", Both},                            // blanks at the end keep the line's end
        {"E#7  Am", 1, "F#7  A#m", Both},                   // E#7 is F7 moved up
        {"E#7  Fb  Am", -1, "E7   Eb  G#m", Both},          // ... and down: a table name
        {"[Bb]Amazing grace", 1, "[B]Amazing grace", Both}, // no columns inside lyrics
        {"D  (x 5 7 7 7 5)  G", 3, "F  (x 8 10 10 10 8) A#", ChordLinesOnly},
        // Read by chord lines, a gap that parts two columns stays wide.
        {"Am  G  C      la la la la", 1, "A#m G# C#     la la la la", TextOnly},
        {"Am  G  C      la la la la", 1, "A#m G# C#      la la la la", ChordLinesOnly},
        // ... and one too narrow for that stays so, lest E and C# read as words.
        {"Db     Eb C la la", 1, "D      E  C# la la", TextOnly},
        {"Db     Eb C la la", 1, "D     E   C# la la", ChordLinesOnly},
        {"<b>Am</b>   <i>G</i>  C", 1, "<b>A#m</b>  <i>G#</i> C#", Html},
        {"Am <b  class=x>G</b>", 1, "A#m <b  class=x>G#</b>", Html}, // the blanks of a tag are markup
        {"Am<br>   G", 1, "A#m<br>   G#", Html},                     // a broken line is left alone
    };
    for (const Case& c : cases) {
        for (const bool chordLines : {false, true}) {
            if ((c.reading == ChordLinesOnly && !chordLines) || (c.reading >= TextOnly && chordLines))
                continue;
            const Song song{c.song + mud, c.reading == Html};
            const CTablature moved = Moved(song, chordLines, true, c.shift);
            EXPECT_EQ(moved.text, c.kept + mud) << c.song << (chordLines ? " (chord lines)" : "");
            ExpectAsDetected(moved, chordLines, c.song);
            // The song's last line, with no bytes after it to spare, comes out the same.
            EXPECT_EQ(Moved({c.song, c.reading == Html}, chordLines, true, c.shift).text, c.kept) << c.song;
            // Columns counted one by one (a character of two bytes ahead) give the same line.
            if (!chordLines && c.reading != Html) {
                EXPECT_EQ(Moved({"\xc3\xa9 " + song.text}, false, true, c.shift).text, "\xc3\xa9 " + moved.text)
                    << c.song;
            }
        }
    }
}

// A line followed by more text is laid out sixteen bytes at a time, the
// song's last line a byte at a time, and a line with a character of two
// bytes by its columns counted one by one: all give the same line, on lines
// of names, marks and words with gaps of every width.
TEST(KeepColumns, LaysOutALineAlikeWhateverFollowsIt) {
    const std::vector<std::string> lines = GeneratedLines(
        {"C", "C#m7", "Db", "E#7", "Am/G", "(A7)", "|", ".", "x2", "la", "H7", "[G]", "|:Bb", "F)", "(Em", "Gsus4"},
        300);
    const std::string after = "\nwords after the line to spare";
    for (const std::string& line : lines) {
        for (const bool chordLines : {false, true}) {
            for (const int shift : {-5, -1, 2, 6}) {
                const std::string last = Moved({line}, chordLines, true, shift).text;
                EXPECT_EQ(Moved({line + after}, chordLines, true, shift).text, last + after)
                    << "\"" << line << "\" by " << shift << (chordLines ? " (chord lines)" : "");
                if (!chordLines) {
                    EXPECT_EQ(Moved({"\xc3\xa9 " + line}, false, true, shift).text, "\xc3\xa9 " + last) << line;
                }
            }
        }
    }
}

// Whatever a line holds (tabs, characters of two bytes, ChordPro names,
// legends whose fingerings grow to three times their bytes), the rule moves
// only blanks, and the moved song holds what its text reads.
TEST(KeepColumns, MovesNothingButBlanksOnGeneratedLines) {
    const std::vector<std::string> lines =
        GeneratedLines({"C", "Db", "E#7", "Am/G", "|", "la", "[G]", "\t", "\xc3\xa9", "Am (x02210)", "G (799797)",
                        "Bb (x13331)", "(Em", "x2", "B7 (x21202) (799877)"},
                       200);
    for (const std::string& line : lines) {
        const Song song{line + "\n" + line};
        for (const bool chordLines : {false, true}) {
            for (const int shift : {-5, 2}) {
                const CTablature kept = Moved(song, chordLines, true, shift);
                const std::string what =
                    "\"" + line + "\" by " + std::to_string(shift) + (chordLines ? " (chord lines)" : "");
                EXPECT_EQ(WordsOf(kept.text), WordsOf(Moved(song, chordLines, false, shift).text)) << what;
                ExpectAsDetected(kept, chordLines, what);
            }
        }
    }
}

// On real sheets the rule moves only blanks: every line keeps its words,
// and the chords the moved song holds are those its text reads.
TEST(KeepColumns, LeavesTheFooterOnASongsLastLineAsItWasPut) {
    const std::string footer = "</pre> </body>";
    for (const bool chordLines : {false, true}) {
        CTablature song;
        song.SetOptions({false, Spelling::AsWritten, true, chordLines});
        song.SetAddedText(0, footer.size());
        song.Detect("Db  Eb\nDb Eb" + footer);
        song.Transpose(1);
        EXPECT_EQ(song.text, "D   E\nD  E" + footer) << chordLines;
    }
}

// The page header put before a song is no part of its first line: were it
// read with the line, D and E would part two columns, and E and C# would
// no longer read as chords beside two words.
TEST(KeepColumns, ReadsASongsFirstLineWithoutTheHeaderPutBeforeIt) {
    const std::string header = "<html> <head> <title>Converted Text File</title> </head> <body> <pre>";
    // The last word of two bytes a character has the columns counted one by one.
    for (const std::string last : {"la", "l\xc3\xa9"}) {
        CTablature song;
        CTablature again;
        for (CTablature* page : {&song, &again}) {
            page->SetOptions({true, Spelling::AsWritten, true, true});
            page->SetAddedText(header.size(), 0);
        }
        song.Detect(header + "Db     Eb C la " + last + "\nla la la");
        song.Transpose(1);
        EXPECT_EQ(song.text, header + "D     E   C# la " + last + "\nla la la");
        again.Detect(song.text);
        EXPECT_EQ(again.OccurrenceCount(), 3) << last;
    }
}

TEST(KeepColumns, MovesNothingButBlanksOnRealSheets) {
    const std::vector<std::string> paths = CorpusSongPaths();
    if (paths.empty())
        GTEST_SKIP() << "no corpus at " << CorpusFolder();
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        const Song song{std::string(std::istreambuf_iterator<char>(in), {}),
                        path.find(".htm", path.size() - 5) != std::string::npos};
        for (const bool chordLines : {false, true}) {
            for (int shift = -6; shift <= 6; ++shift) {
                const CTablature kept = Moved(song, chordLines, true, shift);
                const CTablature loose = Moved(song, chordLines, false, shift);
                const std::string what = path + " by " + std::to_string(shift) + (chordLines ? " (chord lines)" : "");
                EXPECT_EQ(WordsOf(kept.text), WordsOf(loose.text)) << what;
                ExpectAsDetected(kept, chordLines, what);
            }
        }
    }
}
