#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/NoteNames.h"
#include "engine/Tablature.h"
#include "render/SongPage.h"
#include "tests/support/TablatureInspection.h"

namespace {

const std::string kHeader =
    "<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"> <meta "
    "name=\"GENERATOR\" content=\"Quavern 3.0\"> <title>Converted Text File</title> </head> <body> <pre>";
const std::string kHeaderUtf8 =
    "<html> <head> <meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"> <meta "
    "name=\"GENERATOR\" content=\"Quavern 3.0\"> <title>Converted Text File</title> </head> <body> <pre>";
const std::string kFooter = "</pre> </body> </html> <!-- Quavern 3.0 // -->";

// Paths whose folders and names hold chord names between delimiters.
const char* const kChordPaths[] = {
    "/Songs/A/x.txt", "/x/Capo (G).txt",    "/A/B/C",        "/music/Am G/[Em].txt", "/tmp/{D}/E7 <b>A</b>.htm",
    "/x/C#m7/Db.txt", "/x/A\tB\r\nC/F.txt", "/x/a&b/Am.txt", "/x/>G</y.txt",
};

// The song as Save writes it after opening it from path as type and moving it by shift.
std::string OpenMoveAndStrip(const std::string& path, const std::string& type, const std::string& bytes, int shift) {
    const SongPage page = BuildSongPage(path, type, bytes);
    CTablature working;
    working.SetHtml(IsHtmlType(type));
    working.Detect(page.text);
    working.Transpose(shift);
    return StripAddedText(working.text, page.added);
}

} // namespace

TEST(SongPage, AddedTextsAreTheFixedLiterals) {
    EXPECT_EQ(kTextSongHeader, kHeader);
    EXPECT_EQ(kTextSongHeaderUtf8, kHeaderUtf8);
    EXPECT_EQ(kTextSongFooter, kFooter);
    EXPECT_EQ(std::string(kWelcomeText), "<center><h1>Welcome to the Quavern 3.0 !</h1></center>The original "
                                         "Start.htm file has not been found. Please reinstall the program.");
    EXPECT_EQ(std::string(kWelcomeTextAtHelp), "<center><h1>Welcome to the Quavern 3.0 !</h1></center> The original "
                                               "Start.htm file has not been found. Please reinstall the program.");
}

TEST(SongPage, TitlePathWritesDelimitersAndMarkupAsCharacterReferences) {
    const std::pair<const char*, const char*> cases[] = {
        {"/", "&#47;"},
        {" ", "&#32;"},
        {"(", "&#40;"},
        {")", "&#41;"},
        {"[", "&#91;"},
        {"]", "&#93;"},
        {"{", "&#123;"},
        {"}", "&#125;"},
        {"&", "&#38;"},
        {"<", "&#60;"},
        {">", "&#62;"},
        {"\t", "&#9;"},
        {"\r", "&#13;"},
        {"\n", "&#10;"},
        {"/Songs/A/x.txt", "&#47;Songs&#47;A&#47;x.txt"},
        {"/x/Capo (G).txt", "&#47;x&#47;Capo&#32;&#40;G&#41;.txt"},
        {"&#47;", "&#38;#47;"},
    };
    for (const auto& [path, escaped] : cases)
        EXPECT_EQ(EscapeTitlePath(path), escaped) << '"' << path << '"';
}

TEST(SongPage, TitlePathKeepsEveryOtherByte) {
    const std::string escapedBytes = "/ ()[]{}&<>\t\r\n";
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (escapedBytes.find(c) == std::string::npos)
            EXPECT_EQ(EscapeTitlePath(std::string(1, c)), std::string(1, c)) << b;
        else
            EXPECT_EQ(EscapeTitlePath(std::string(1, c)), "&#" + std::to_string(b) + ";") << b;
    }
}

TEST(SongPage, TitleLineShowsTheEscapedPath) {
    EXPECT_EQ(TitleLine("/Songs/A/x.txt"), "<title>&#47;Songs&#47;A&#47;x.txt Transposed by Quavern 3.0</title>\n");
    EXPECT_EQ(TitleLine("/home/me/Café.txt"),
              "<title>&#47;home&#47;me&#47;Café.txt Transposed by Quavern 3.0</title>\n");
}

TEST(SongPage, NoChordIsFoundInATitleLine) {
    for (const char* path : kChordPaths) {
        CTablature tablature;
        tablature.Detect(TitleLine(path));
        EXPECT_EQ(tablature.OccurrenceCount(), 0) << path;
        for (const char* type : {"TXT", "HTM"}) {
            tablature.Detect(BuildSongPage(path, type, "").text);
            EXPECT_EQ(tablature.OccurrenceCount(), 0) << path << " " << type;
        }
    }
}

TEST(SongPage, SaveRemovesATitleLineBuiltFromAPathWithChordNames) {
    for (const char* path : kChordPaths) {
        EXPECT_EQ(OpenMoveAndStrip(path, "TXT", "G C\n", 2), "A D\n") << path;
        EXPECT_EQ(OpenMoveAndStrip(path, "HTM", "<p>G C</p>", -1), "<p>F# B</p>") << path;
    }
}

TEST(SongPage, FileTypeIsTheUpperCasedExtensionOfTheFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"song.TXT", "TXT"},
        {"song.Htm", "HTM"},
        {"/a/song.html", "HTML"},
        {"/a/song.txt", "TXT"},
        {"/a/song", ""},
        {"/a.b/song", ""},
        {"/a.b/song.txt", "TXT"},
        {"/a/archive.tar.gz", "GZ"},
        {"song.", ""},
        {"/a/Song.dOc", "DOC"},
        {"", ""},
    };
    for (const auto& [path, type] : cases)
        EXPECT_EQ(FileTypeOf(path), type) << path;
}

TEST(SongPage, OnlyHtmAndHtmlAreHtmlTypes) {
    EXPECT_TRUE(IsHtmlType("HTM"));
    EXPECT_TRUE(IsHtmlType("HTML"));
    for (const char* type : {"TXT", "", "XHTML", "HTMLX", "HT", "DOC"})
        EXPECT_FALSE(IsHtmlType(type)) << type;
}

TEST(SongPage, HeaderDeclaresUtf8OnlyForValidUtf8HoldingNonAsciiBytes) {
    struct Case {
        std::string bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"", false},
        {"Am G\n plain ASCII ~\x7f", false},
        {"caf\xc3\xa9", true},                 // e acute
        {"\xc2\x80", true},                    // smallest two-byte form
        {"\xdf\xbf", true},                    // largest two-byte form
        {"\xe2\x82\xac 5", true},              // euro sign
        {"\xef\xbf\xbf", true},                // largest three-byte form
        {"\xf0\x9f\x8e\xb8 guitar", true},     // four-byte form
        {"\xf4\x8f\xbf\xbf", true},            // U+10FFFF
        {std::string("a\0\xc3\xa9", 4), true}, // a NUL byte is ASCII
        {"caf\xe9", false},                    // Latin-1
        {"\xe9t\xe9", false},                  // Latin-1
        {"\x80", false},                       // lone continuation byte
        {"\xc0\xaf", false},                   // overlong "/"
        {"\xc1\xbf", false},                   // overlong
        {"\xe0\x80\xaf", false},               // overlong three-byte
        {"\xe0\x9f\xbf", false},               // overlong three-byte
        {"\xf0\x80\x80\xaf", false},           // overlong four-byte
        {"\xf0\x8f\xbf\xbf", false},           // overlong four-byte
        {"\xed\xa0\x80", false},               // surrogate
        {"\xf4\x90\x80\x80", false},           // above U+10FFFF
        {"\xf5\x80\x80\x80", false},           // no such lead byte
        {"\xff", false},
        {"ab\xc3", false},       // truncated at the end
        {"ab\xe2\x82", false},   // truncated at the end
        {"\xe2\x82 x", false},   // continuation missing
        {"\xc3\xa9\xe9", false}, // valid, then Latin-1
        {"\xc3\xc3\xa9", false}, // lead byte where a continuation belongs
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUtf8WithNonAscii(c.bytes), c.utf8) << testing::PrintToString(c.bytes);
        EXPECT_EQ(TextSongHeaderFor(c.bytes), c.utf8 ? kHeaderUtf8 : kHeader) << testing::PrintToString(c.bytes);
    }
}

TEST(SongPage, TextSongPageIsTitleHeaderBytesAndFooter) {
    for (const char* type : {"TXT", "DOC", ""}) {
        const SongPage page = BuildSongPage("/s/a.txt", type, "Am G");
        EXPECT_EQ(page.text, TitleLine("/s/a.txt") + kHeader + "Am G" + kFooter) << type;
        EXPECT_EQ(page.added.titleLine, TitleLine("/s/a.txt"));
        EXPECT_EQ(page.added.header, kHeader);
        EXPECT_EQ(page.added.footer, kFooter);
    }
    const SongPage utf8 = BuildSongPage("/s/a.txt", "TXT", "\xc3\x89t\xc3\xa9: Am");
    EXPECT_EQ(utf8.text, TitleLine("/s/a.txt") + kHeaderUtf8 + "\xc3\x89t\xc3\xa9: Am" + kFooter);
    EXPECT_EQ(utf8.added.header, kHeaderUtf8);
}

TEST(SongPage, HtmlSongPageIsTitleAndBytesOnly) {
    for (const char* type : {"HTM", "HTML"}) {
        const std::string bytes = "<html><body>caf\xc3\xa9 <b>Am</b> & < ></body></html>";
        const SongPage page = BuildSongPage("/s/a.htm", type, bytes);
        EXPECT_EQ(page.text, TitleLine("/s/a.htm") + bytes) << type;
        EXPECT_EQ(page.added.header, "");
        EXPECT_EQ(page.added.footer, "");
    }
}

TEST(SongPage, HtmlSongGetsTheTitleLineAfterItsDocumentTypeDeclaration) {
    const std::string path = "/s/a.htm";
    const std::string title = TitleLine(path);
    struct Case {
        std::string bytes;
        std::size_t titleAt;
    };
    const std::string strict = "<!doctype HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">";
    const Case cases[] = {
        {"<!DOCTYPE html>\n<html><pre>Am G</pre></html>", 15},
        {strict + "\r\n<p>G / C</p>", strict.size()},
        {" \r\n\t<!DocType html><p>G</p>", 19},
        {"<!DOCTYPE html", 0},
        {"x<!DOCTYPE html><p>G</p>", 0},
        {"<!-- c --><!DOCTYPE html><p>G</p>", 0},
        {"<!DOCTYP html><p>G</p>", 0},
        {"\xef\xbb\xbf<!DOCTYPE html><p>G</p>", 0},
        {"<html>Am</html>", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(TitlePlaceOf(c.bytes), c.titleAt);
        for (const char* type : {"HTM", "HTML"}) {
            const SongPage page = BuildSongPage(path, type, c.bytes);
            EXPECT_EQ(page.added.titleAt, c.titleAt);
            EXPECT_EQ(page.text, c.bytes.substr(0, c.titleAt) + title + c.bytes.substr(c.titleAt));
            EXPECT_EQ(StripAddedText(page.text, page.added), c.bytes);
            // Moved, the song saves as the bytes moved: nothing of the title line is left.
            CTablature moved;
            moved.SetHtml(true);
            moved.Detect(c.bytes);
            moved.Transpose(2);
            EXPECT_EQ(OpenMoveAndStrip(path, type, c.bytes, 2), moved.text);
        }
        // A text song keeps the title line and the header in front.
        const SongPage text = BuildSongPage("/s/a.txt", "TXT", c.bytes);
        EXPECT_EQ(text.added.titleAt, 0u);
        EXPECT_EQ(text.text.rfind(TitleLine("/s/a.txt") + TextSongHeaderFor(c.bytes), 0), 0u);
        // The start page is an HTML page too.
        const SongPage start = BuildStartPage("/opt/q/Start.htm", c.bytes);
        EXPECT_EQ(start.text, c.bytes.substr(0, c.titleAt) + TitleLine("/opt/q/Start.htm") + c.bytes.substr(c.titleAt));
        EXPECT_EQ(StripAddedText(start.text, start.added), c.bytes);
    }
}

TEST(SongPage, StartPageGetsTheTitleLineAndNoNormalisation) {
    const SongPage page = BuildStartPage("/opt/q/Start.htm", "<p>CMaj7</p>");
    EXPECT_EQ(page.text, TitleLine("/opt/q/Start.htm") + "<p>CMaj7</p>");
    EXPECT_EQ(StripAddedText(page.text, page.added), "<p>CMaj7</p>");
}

TEST(SongPage, ShippedStartPageLeavesNoNameAsWritten) {
    // Its example song's chords move, and nothing else on it reads as a
    // chord name: the status bar would name it on every start.
    const SongRead read = ReadSongFile(QUAVERN_SOURCE_DIR "/data/Start.htm");
    ASSERT_EQ(read.status, SongReadStatus::Ok);
    CTablature start;
    start.SetHtml(true);
    start.Detect(BuildStartPage("/opt/q/Start.htm", read.bytes).text);
    EXPECT_GT(start.OccurrenceCount(), 5);
    EXPECT_EQ(start.UntouchedNames(), std::vector<std::string>());
}

TEST(SongPage, NormalisesMaj7AfterEveryRootSpelling) {
    for (const std::string& root : rootSpellings) {
        std::string text = root + "Maj7";
        NormalizeMaj7(text);
        EXPECT_EQ(text, root + "maj7");
        // No delimiter test: inside words and twice in a row too.
        text = "x" + root + "Maj7" + root + "Maj7y";
        NormalizeMaj7(text);
        EXPECT_EQ(text, "x" + root + "maj7" + root + "maj7y");
    }
    for (const char* same : {"Maj7", "cMaj7", "HMaj7", "CM7", "Cmaj7", "CMAJ7", "CMaj", "C Maj7", "#Maj7"}) {
        std::string text = same;
        NormalizeMaj7(text);
        EXPECT_EQ(text, same);
    }
    std::string mixed = "GMaj7 (F#Maj7) BbMaj7/EMaj7";
    NormalizeMaj7(mixed);
    EXPECT_EQ(mixed, "Gmaj7 (F#maj7) Bbmaj7/Emaj7");
}

TEST(SongPage, OpeningNormalisesMaj7InTheWholePageAndSaveStillFindsTheTitleLine) {
    const std::string path = "/songs/CMaj7 live/GMaj7.txt";
    const std::string normalisedTitle = TitleLine("/songs/Cmaj7 live/Gmaj7.txt");
    for (const char* type : {"TXT", "HTM"}) {
        const SongPage page = BuildSongPage(path, type, "GMaj7 Am");
        EXPECT_EQ(page.text.substr(0, normalisedTitle.size()), normalisedTitle) << type;
        EXPECT_EQ(page.added.titleLine, normalisedTitle);
        EXPECT_NE(page.text.find("Gmaj7 Am"), std::string::npos);
        EXPECT_EQ(OpenMoveAndStrip(path, type, "GMaj7 Am", 2), "Amaj7 Bm") << type;
    }
}

TEST(SongPage, SaveRemovesExactlyWhatOpeningAdded) {
    const std::string path = "/s/Song (live).txt";
    // Songs that hold the literals opening adds: their own copies stay.
    const std::vector<std::string> songs = {
        "",
        "Am G",
        kHeader,
        kFooter,
        kHeader + kFooter,
        kHeader + "Am\n" + kFooter,
        "Am\n" + kFooter + kFooter,
        kHeader + kHeader + "G",
        TitleLine(path),
        TitleLine(path) + "Am",
        TitleLine(path) + kHeader + "C" + kFooter,
        kHeaderUtf8 + "D",
        "caf\xc3\xa9 " + kHeader + "E",
        "caf\xc3\xa9 " + kHeaderUtf8 + "E" + kFooter,
        "<title>x</title>\n<b>Am</b>",
        "\n" + TitleLine(path),
    };
    for (const std::string& song : songs) {
        for (const char* type : {"TXT", "HTM"}) {
            const SongPage page = BuildSongPage(path, type, song);
            EXPECT_EQ(StripAddedText(page.text, page.added), song) << type << " " << testing::PrintToString(song);
            for (int shift : {-6, -1, 1, 5}) {
                EXPECT_EQ(OpenMoveAndStrip(path, type, song, shift), TransposedText(song, shift))
                    << type << " by " << shift << " " << testing::PrintToString(song);
            }
        }
    }
}

TEST(SongPage, StripKeepsAHeaderOtherThanTheOneAdded) {
    // An ASCII song gets the iso-8859-1 header; its own utf-8 header stays,
    // and a UTF-8 song keeps its own iso-8859-1 header.
    const SongPage ascii = BuildSongPage("/a.txt", "TXT", kHeaderUtf8);
    EXPECT_EQ(ascii.added.header, kHeader);
    EXPECT_EQ(StripAddedText(ascii.text, ascii.added), kHeaderUtf8);
    const std::string utf8Song = kHeader + "\xc3\xa9";
    const SongPage utf8 = BuildSongPage("/a.txt", "TXT", utf8Song);
    EXPECT_EQ(utf8.added.header, kHeaderUtf8);
    EXPECT_EQ(StripAddedText(utf8.text, utf8.added), utf8Song);
}

TEST(SongPage, StripWithNothingAddedKeepsTheText) {
    const std::string text = TitleLine("/a.txt") + kHeader + "Am" + kFooter;
    EXPECT_EQ(StripAddedText(text, AddedText{}), text);
}
