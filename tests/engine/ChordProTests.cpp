#include "engine/ChordPro.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "engine/ChordLine.h"
#include "engine/Tablature.h"
#include "tests/support/TestFiles.h"

namespace {

// A read line written "kind name=value | lyrics | at:chord ...".
std::string Described(const ChordProLine& line) {
    switch (line.kind) {
    case ChordProLineKind::Comment:
        return "comment";
    case ChordProLineKind::Directive:
        return "directive " + line.directive + "=" + line.value + " @" + std::to_string(line.valueAt);
    case ChordProLineKind::Lyrics:
        break;
    }
    std::string text = "lyrics " + line.lyrics + " |";
    for (const ChordProChord& chord : line.chords)
        text += " " + std::to_string(chord.at) + ":" + (chord.annotation ? "*" : "") + chord.text + "@" +
                std::to_string(chord.source);
    return text;
}

TEST(ChordPro, ReadsDirectivesLyricsAndComments) {
    const struct {
        const char* line;
        const char* read;
    } kCases[] = {
        {"{title: Amazing Grace}", "directive title=Amazing Grace @8"},
        {"  {t:A Night }", "directive title=A Night @5"},
        {"{st: Traditional}", "directive subtitle=Traditional @5"},
        {"{soc}", "directive start_of_chorus= @4"},
        {"{Start_Of_Chorus: Refrain}", "directive start_of_chorus=Refrain @18"},
        {"{key: Am}", "directive key=Am @6"},
        {"{c: Play [G] softly}", "directive comment=Play [G] softly @4"},
        {"{}", "directive = @1"},
        {"# [G] a note", "comment"},
        {"[G]Amazing [G7]grace", "lyrics Amazing grace | 0:G@1 8:G7@12"},
        {"A-ma[D]zing", "lyrics A-mazing | 4:D@5"},
        {"sweet the sound[C][G]", "lyrics sweet the sound | 15:C@16 15:G@19"},
        {"[*Riff]go [G/B]on", "lyrics go on | 0:*Riff@1 3:G/B@11"},
        {"", "lyrics  |"},
        {"an [open bracket", "lyrics an [open bracket |"},
        {"{not closed", "lyrics {not closed |"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(Described(ReadChordProLine(c.line)), c.read) << c.line;
}

TEST(ChordPro, ConvertsChordsOverLyrics) {
    const struct {
        const char* text;
        const char* chordPro;
    } kCases[] = {
        // The title, a chord mid-word, a chord past the lyrics' end.
        {"Amazing Grace\n\nG       C    G\nAmazing grace\n", "{title: Amazing Grace}\n\n[G]Amazing [C]grace[G]\n"},
        {"Song\nG     D/F#   Em\nHow sweet the sound\n", "{title: Song}\n[G]How sw[D/F#]eet the[Em] sound\n"},
        // A chord line alone keeps its columns; its marks are annotations.
        {"Song\r\n| G   C  | x2\r\n\r\n", "{title: Song}\r\n[*|]  [G]    [C]   [*|]  [*x2]\r\n\r\n"},
        // Marks stay with their chords; lines ChordPro would misread become comments.
        {"Song\n[Chorus]\n|Am    G|\nla la la la\n# 1\n",
         "{title: Song}\n{comment: [Chorus]}\n[|Am]la la l[G|]a la\n{comment: # 1}\n"},
        // Columns count letters, not bytes, in UTF-8.
        {"\nC     G\nŽádná řeka\n", "\n[C]Žádná [G]řeka\n"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TextToChordPro(c.text), c.chordPro) << c.text;
}

TEST(ChordPro, ConvertsToChordsOverLyrics) {
    const struct {
        const char* chordPro;
        const char* text;
    } kCases[] = {
        {"{title: Amazing Grace}\n{st: John Newton}\n{key: G}\n[G]Amazing [G7]grace\n",
         "Amazing Grace\nJohn Newton\nKey: G\nG       G7\nAmazing grace\n"},
        // Chords that would touch move right; a chord at the end; a line of chords alone.
        {"[C][G]sweet the sound[D7]\r\n[A]  [E]\r\n", "C G            D7\r\nsweet the sound\r\nA E\r\n"},
        {"{soc}\n[Am]La [*riff]la\n{eoc}\n# note\n{c: Repeat}\n{np}\n", "Chorus:\nAm riff\nLa la\nRepeat\n"},
        {"{sot}\ne|--[3]--|\n{eot}\n", "e|--[3]--|\n"},
        {"[G]no line end", "G\nno line end"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ChordProToText(c.chordPro), c.text) << c.chordPro;
}

// A ChordPro song moves its bracketed chords and its key, and nothing else,
// with every option.
TEST(ChordPro, TransposesOnlyBracketsAndKey) {
    const std::string song = "{title: A Night}\r\n{key: Am}\r\n# A C\r\nA [Am]man [G/B]walks (C) [*D] [Xyz] [(Em)]\r\n"
                             "{sot}\r\n[C]\r\n{eot}\r\n[Asus4]end\r\n";
    const struct {
        SongOptions options;
        int shift;
        const char* moved;
    } kCases[] = {
        {{},
         2,
         "{title: A Night}\r\n{key: Bm}\r\n# A C\r\nA [Bm]man [A/C#]walks (C) [*D] [Xyz] [(F#m)]\r\n"
         "{sot}\r\n[C]\r\n{eot}\r\n[Asus4]end\r\n"},
        {{true, Spelling::Flats, true, true},
         1,
         "{title: A Night}\r\n{key: Bbm}\r\n# A C\r\nA [Bbm]man [Ab/C]walks (C) [*D] [Xyz] [(Fm)]\r\n"
         "{sot}\r\n[C]\r\n{eot}\r\n[Bbsus4]end\r\n"},
    };
    for (const auto& c : kCases) {
        CTablature tablature;
        tablature.SetChordPro(true);
        tablature.SetOptions(c.options);
        tablature.Detect(song);
        tablature.Transpose(c.shift);
        EXPECT_EQ(tablature.text, c.moved);
    }
}

// A line of a songbook's worth of chords is read in one pass, both ways.
TEST(ChordPro, ConvertsHugeLinesWhole) {
    std::string line;
    for (int i = 0; i < 200000; ++i)
        line += "C ";
    const std::string chordPro = TextToChordPro("\n" + line + "\nla\n");
    std::size_t count = 0;
    for (std::size_t at = chordPro.find("[C]"); at != std::string::npos; at = chordPro.find("[C]", at + 1))
        ++count;
    EXPECT_EQ(count, 200000u);
    EXPECT_EQ(ChordProToText(chordPro), "\n" + line.substr(0, line.size() - 1) + "\nla\n");
}

bool IsChordLine(const std::string& line) {
    return ReadChordLine(line, [](std::string_view word) { return ChordName::Read(word).has_value(); }).isChordLine;
}

// Every .txt sheet of the corpus goes to ChordPro and back: its lyric lines
// must come back unchanged; the sheets whose chord lines differ are listed.
TEST(ChordPro, CorpusRoundTripKeepsLyrics) {
    const std::vector<std::string> paths = CorpusSongPaths();
    if (paths.empty())
        GTEST_SKIP() << "no corpus";
    int sheets = 0, identical = 0, lyricLines = 0, lyricLinesBack = 0;
    for (const std::string& path : paths) {
        if (path.size() < 4 || path.compare(path.size() - 4, 4, ".txt") != 0)
            continue;
        std::ifstream in(path, std::ios::binary);
        const std::string text(std::istreambuf_iterator<char>(in), {});
        const std::string back = ChordProToText(TextToChordPro(text));
        ++sheets;
        identical += back == text;
        // The lyric lines in order, blank and title lines included.
        const auto lyrics = [](const std::string& sheet) {
            std::vector<std::string> lines;
            std::size_t start = 0;
            while (start < sheet.size()) {
                std::size_t end = sheet.find('\n', start);
                end = end == std::string::npos ? sheet.size() : end;
                std::string line = sheet.substr(start, end - start);
                while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
                    line.pop_back();
                if (!IsChordLine(line))
                    lines.push_back(line.substr(line.find_first_not_of(" \t") == std::string::npos
                                                    ? line.size()
                                                    : line.find_first_not_of(" \t")));
                start = end + 1;
            }
            return lines;
        };
        const std::vector<std::string> before = lyrics(text);
        const std::vector<std::string> after = lyrics(back);
        lyricLines += static_cast<int>(before.size());
        lyricLinesBack += static_cast<int>(after.size());
        EXPECT_EQ(before, after) << path;
        if (back != text)
            std::cout << "differs: " << path << '\n';
    }
    std::cout << "round trip: " << identical << " of " << sheets << " sheets identical; lyric lines " << lyricLines
              << " -> " << lyricLinesBack << '\n';
}

} // namespace
