#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/PartedPage.h"
#include "render/SongPage.h"
#include "tests/support/PartedPagePieces.h"
#include "tests/support/RecordingMessageSink.h"

using namespace partedpage;

namespace {

const std::string kPrefix = "/opt/quavern/Pics/";

// A large text song with everything the raw parts must survive: the escaped
// bytes, tags, a script end, CRLF and LF, chords next to them, and one line
// longer than the longest part.
std::string HostileSongBytes() {
    std::mt19937 random(11);
    const std::vector<std::string> pieces = {
        "Am ",       "C#m7 ",     "Bbmaj7 ",      "(G) ",       "[Ebm7]",
        "Am<",       ">Dm ",      "%41 ",         "100% ",      "<b>F</b> ",
        "</script>", "<!-- ",     "\r\n",         "\n",         std::string(1, '\0'),
        "\x02",      "\x03G\x03", "caf\xc3\xa9 ", "\xe9t\xe9 ", "lyrics go here ",
        "Cadd9 ",    "E# ",       "&amp; ",       "Bm7b5 ",     "(Em(add9))"};
    std::string song = "Am intro\n";
    while (song.size() < 400 * 1024)
        song += pieces[random() % pieces.size()];
    song += std::string(300 * 1024, 'x') + " G\n";
    while (song.size() < 900 * 1024)
        song += pieces[random() % pieces.size()];
    return song + "last Am";
}

struct PartedPageTest : ::testing::Test {
    CRecordingMessageSink messages; // a songbook of any size says nothing
    void TearDown() override { EXPECT_TRUE(messages.Messages().empty()); }
};

TEST_F(PartedPageTest, SmallPagesAndPagesWithNothingToCutAreShownWhole) {
    const std::string small(1000, 'a');
    const std::string large(kPartedPageBytes, 'a');
    const SongPage smallText = BuildSongPage("/s/small.txt", "TXT", small);
    const SongPage largeText = BuildSongPage("/s/large.txt", "TXT", large);
    const SongPage largeHtml = BuildSongPage("/s/large.htm", "HTM", large);
    EXPECT_FALSE(UsesPartedPage(smallText.text, smallText.added));
    EXPECT_TRUE(UsesPartedPage(largeText.text, largeText.added));
    EXPECT_FALSE(UsesPartedPage(largeHtml.text, largeHtml.added)) << "an HTML song cannot be cut anywhere";
    // A text that no longer holds what opening added is shown whole.
    EXPECT_FALSE(UsesPartedPage(largeText.text.substr(0, largeText.text.size() - 3), largeText.added));
    EXPECT_FALSE(UsesPartedPage(largeText.text.substr(5), largeText.added));
    // The program's one call decides the same way and builds the same page.
    std::string page = "untouched";
    EXPECT_FALSE(BuildPartedDisplayPage(smallText.text, smallText.added, nullptr, page, kPrefix));
    EXPECT_EQ(page, "untouched");
    ASSERT_TRUE(BuildPartedDisplayPage(largeText.text, largeText.added, nullptr, page, kPrefix));
    EXPECT_EQ(page, PartedDisplayPage(largeText.text, largeText.added, nullptr, kPrefix));
}

TEST_F(PartedPageTest, PlainPartsGiveBackEveryByteOfTheSong) {
    const std::string song = HostileSongBytes();
    const SongPage page = BuildSongPage("/songs/book.txt", "TXT", song);
    const std::string parted = PartedDisplayPage(page.text, page.added, nullptr, kPrefix);
    const PartedPieces pieces = Split(parted);

    EXPECT_EQ(pieces.before, page.added.titleLine + page.added.header);
    ASSERT_GE(pieces.after.size(), page.added.footer.size());
    EXPECT_EQ(pieces.after.substr(pieces.after.size() - page.added.footer.size()), page.added.footer)
        << "a plain page ends with the footer";
    ASSERT_GT(pieces.raw.size(), 8u);
    std::string decoded;
    for (const std::string& raw : pieces.raw) {
        EXPECT_EQ(raw.find('<'), std::string::npos) << "the parser would end the part early";
        EXPECT_EQ(raw.find('\0'), std::string::npos);
        EXPECT_EQ(raw.find('\x02'), std::string::npos) << "no chord marks on a plain page";
        EXPECT_LE(raw.size(), 3 * 256 * 1024u);
        decoded += Decode(raw, HighlightSettings());
    }
    EXPECT_EQ(decoded, song);
    // Parts end at line ends, except where one line is longer than a part.
    int cutInsideALine = 0;
    for (std::size_t i = 0; i + 1 < pieces.raw.size(); ++i)
        cutInsideALine += pieces.raw[i].back() != '\n';
    EXPECT_EQ(cutInsideALine, 1);
}

TEST_F(PartedPageTest, HighlightedPartsHoldTheTagsOfTheWholePage) {
    HighlightSettings italicRed;
    italicRed.italic = 1;
    italicRed.underline = 1;
    italicRed.color = 0x0000ff;
    for (const HighlightSettings& settings : {HighlightSettings(), italicRed}) {
        // With every chord name the names outside the table carry their tags in the parts.
        const bool allChords = settings.italic != 0;
        const SongPage page = BuildSongPage("/songs/Am (live).txt", "TXT", HostileSongBytes());
        CTablature song;
        song.SetOptions(SongOptions{allChords, Spelling::AsWritten, false});
        song.Detect(page.text);
        song.Transpose(3);
        const std::string parted = PartedDisplayPage(song.text, page.added, &settings, kPrefix, song.Rules());
        CTablature whole = song;
        HighlightChords(whole, settings, kPrefix);

        const PartedPieces pieces = Split(parted);
        const std::string block = CachedPopupBlock(kPrefix);
        const std::size_t bodyStart = page.added.titleLine.size() + page.added.header.size();
        const std::size_t bodyEnd = whole.text.size() - block.size() - page.added.footer.size();
        EXPECT_EQ(pieces.before, whole.text.substr(0, bodyStart));
        std::string decoded;
        for (const std::string& raw : pieces.raw) {
            EXPECT_EQ(raw.find('<'), std::string::npos);
            decoded += Decode(raw, settings);
        }
        EXPECT_EQ(decoded, whole.text.substr(bodyStart, bodyEnd - bodyStart));
        EXPECT_EQ(pieces.after.substr(pieces.after.size() - page.added.footer.size() - block.size()),
                  page.added.footer + block)
            << "the pop-up block follows the footer as on the whole page";
        EXPECT_NE(pieces.after.find("var qvOpen"), std::string::npos);
        EXPECT_EQ(decoded.find("<i><u>Dm7b5</u></i>") != std::string::npos, allChords);
    }
}

TEST_F(PartedPageTest, ChordsAtTheEdgesOfTheSongAreInTheParts) {
    std::string song = "Am";
    while (song.size() < kPartedPageBytes)
        song += "\nla la la G";
    song += "\nEm";
    const SongPage page = BuildSongPage("/songs/edges.txt", "TXT", song);
    const HighlightSettings settings;
    const PartedPieces pieces = Split(PartedDisplayPage(page.text, page.added, &settings, kPrefix));
    ASSERT_FALSE(pieces.raw.empty());
    EXPECT_EQ(pieces.raw.front().substr(0, 4), "\x02"
                                               "Am\x03");
    const std::string& last = pieces.raw.back();
    EXPECT_EQ(last.substr(last.size() - 4), "\x02"
                                            "Em\x03");
    EXPECT_EQ(pieces.before, page.added.titleLine + page.added.header);
}

// An HTML songbook: a heading and a closing line around one large
// preformatted block with tags of its own.
std::string HtmlSongbook(const std::string& blockOpening, const std::string& extra) {
    std::string block;
    while (block.size() < 600 * 1024)
        block += "Am   <b>G</b>   C#m7\r\n  the river runs, 100% <i>slow</i> &amp; Bbmaj7 <a href=\"/E7/\">E7</a>\r\n";
    return "<html><head><title>Book</title></head><body><h1>Songs in Am</h1>\n<p>a short\n<pre>C G</pre>\n" +
           blockOpening + "\n" + block + extra + "</PRE>\n<p>End in G</p></body></html>";
}

TEST_F(PartedPageTest, HtmlSongIsPartedInItsLargestPreformattedBlock) {
    const std::string path = "/songs/book.htm";
    for (const std::string opening : {"<pre>", "<PRE class=\"tab\">", "<pre\n>"}) {
        // The first book declares its type, so its title line stands after the declaration.
        const std::string declaration = opening == "<pre>" ? "<!DOCTYPE html>\n" : "";
        const SongPage page = BuildSongPage(path, "HTM", declaration + HtmlSongbook(opening, ""));
        EXPECT_EQ(page.added.titleAt, declaration.empty() ? 0u : 15u);
        ASSERT_TRUE(UsesPartedPage(page.text, page.added)) << opening;
        std::size_t start = 0;
        std::size_t end = 0;
        ASSERT_TRUE(PartedRange(page.text, page.added, start, end));
        EXPECT_EQ(page.text.substr(start - 1, 2), ">\n");
        EXPECT_EQ(page.text.substr(end, 6), "</PRE>");

        CTablature song;
        song.SetHtml(true);
        song.Detect(page.text);
        song.Transpose(-2);
        EXPECT_NE(song.text.find("<a href=\"/E7/\">D7</a>"), std::string::npos) << "links are markup";
        const HighlightSettings settings;
        const PartedPieces pieces = Split(PartedDisplayPage(song.text, page.added, &settings, kPrefix, song.Rules()));
        EXPECT_GT(pieces.raw.size(), 8u);
        const std::string whole = RenderDisplayPage(song, true, settings, kPrefix);
        EXPECT_EQ(Reassemble(pieces, settings), whole)
            << "the parted page is the whole page with the block moved into parts";
        EXPECT_EQ(whole.find("href=\"/<font"), std::string::npos);
        EXPECT_EQ(Reassemble(Split(PartedDisplayPage(song.text, page.added, nullptr, kPrefix, song.Rules())), settings),
                  song.text);
    }
    // Shown whole: a block a part could end inside of, no block, a block too small.
    for (const std::string& extra :
         {std::string("<!-- note\n -->"), std::string("<script>x()</script>"), std::string("<STYLE>b{}</STYLE>")}) {
        const SongPage page = BuildSongPage(path, "HTM", HtmlSongbook("<pre>", extra));
        EXPECT_FALSE(UsesPartedPage(page.text, page.added)) << extra;
    }
    std::string lines;
    while (lines.size() < 600 * 1024)
        lines += "<p>Am G C</p>\n";
    EXPECT_FALSE(UsesPartedPage(BuildSongPage(path, "HTM", lines).text, AddedText{}));
    EXPECT_FALSE(UsesPartedPage(BuildSongPage(path, "HTM", lines + "<pre>Am</pre>").text, AddedText{}));
}

TEST_F(PartedPageTest, HtmlSongWithoutPreformattedBlockIsCutOnlyWhereItsLinesBreak) {
    // Lines ended by <br>, a section in <b> across lines, and paragraphs.
    std::string body;
    for (int verse = 0; body.size() < 600 * 1024; ++verse) {
        body += "<p><i>Verse " + std::to_string(verse) + "</i></p>\n";
        body += "Am &nbsp; G &nbsp; C#m7<br>\n  the river runs<BR/>\n";
        body += "<b>Bbmaj7 &nbsp; F\n  held across<br>\n  two lines</b><br>\n";
        body += "E7 and a line that flows\n  on into the next one<br>\n";
    }
    const std::string html = "<html><head><title>Book</title></head>\n<BODY bgcolor=white>\n" + body + "</body></html>";
    const SongPage page = BuildSongPage("/songs/book.htm", "HTM", html);
    ASSERT_TRUE(UsesPartedPage(page.text, page.added));
    CTablature song;
    song.Detect(page.text);
    const HighlightSettings settings;
    const PartedPieces pieces = Split(PartedDisplayPage(song.text, page.added, &settings, kPrefix));
    ASSERT_GT(pieces.raw.size(), 8u);
    EXPECT_EQ(Reassemble(pieces, settings), RenderDisplayPage(song, true, settings, kPrefix));
    for (std::size_t i = 0; i + 1 < pieces.raw.size(); ++i) {
        const std::string end = Decode(pieces.raw[i].substr(pieces.raw[i].size() - 40), settings);
        const bool afterBreak =
            end.size() >= 5 && (end.substr(end.size() - 5) == "<br>\n" || end.substr(end.size() - 6) == "<BR/>\n" ||
                                end.substr(end.size() - 5) == "</p>\n");
        EXPECT_TRUE(afterBreak) << "part " << i << " ends with \"" << end << "\"";
        EXPECT_EQ(end.find("held across<br>\n"), std::string::npos) << "cut inside <b>";
    }

    // Shown whole: a body inside one element, and lines that do not break.
    const std::string wrapped = "<html><body><font face=\"courier\">\n" + body + "</font></body></html>";
    EXPECT_FALSE(UsesPartedPage(BuildSongPage("/songs/a.htm", "HTM", wrapped).text, AddedText{}));
    std::string flowing;
    while (flowing.size() < 600 * 1024)
        flowing += "Am G and words that flow on\n";
    EXPECT_FALSE(UsesPartedPage("<html><body>" + flowing + "</body></html>", AddedText{}));
}

std::vector<int> LineCounts(const std::string& page) {
    std::vector<int> counts;
    const std::string key = "data-lines=\"";
    for (std::size_t at = page.find(key); at != std::string::npos; at = page.find(key, at + 1))
        counts.push_back(std::stoi(page.substr(at + key.size())));
    return counts;
}

TEST_F(PartedPageTest, PlaceholdersCountTheLinesTheBrowserShows) {
    // LF, CR LF and lone CR (old Mac files) all end lines, and the line end
    // right after "<pre>" shows no line, as on the whole page.
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        std::string song = end;
        int lines = 0;
        while (song.size() < 600 * 1024) {
            song += "Am  G  la la la" + end;
            ++lines;
        }
        song += "last";
        ++lines;
        const SongPage page = BuildSongPage("/songs/lines.txt", "TXT", song);
        const std::string parted = PartedDisplayPage(page.text, page.added, nullptr, kPrefix);
        const std::vector<int> counts = LineCounts(parted);
        ASSERT_GT(counts.size(), 4u);
        int total = 0;
        for (int count : counts)
            total += count;
        EXPECT_EQ(total, lines) << "line ends of " << end.size() << " bytes";
        const PartedPieces pieces = Split(parted);
        for (std::size_t i = 0; i + 1 < pieces.raw.size(); ++i)
            EXPECT_EQ(pieces.raw[i].substr(pieces.raw[i].size() - end.size()), end) << "part " << i;
    }
}

} // namespace
