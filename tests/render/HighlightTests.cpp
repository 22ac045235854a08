#include <gtest/gtest.h>

#include <string>

#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/HighlightTags.h"

namespace {

const std::string kPrefix = "/home/me/Quavern/Pics/";

// The page text of a working song highlighted with the given flags.
std::string Highlighted(const std::string& text, int bold, int italic, int underline, int useColor, int color,
                        int infobulle, bool html = false) {
    CTablature tablature;
    tablature.SetHtml(html);
    tablature.Detect(text);
    HighlightChords(tablature, {bold, italic, underline, useColor, infobulle, color}, kPrefix);
    const std::string block = PopupBlock(kPrefix);
    EXPECT_GE(tablature.text.size(), block.size());
    EXPECT_EQ(tablature.text.substr(tablature.text.size() - block.size()), block);
    return tablature.text.substr(0, tablature.text.size() - block.size());
}

std::string BoldOnly(const std::string& text) {
    return Highlighted(text, 1, 0, 0, 0, 0, 0);
}

} // namespace

TEST(Highlight, ColorTextIsRedGreenBlueInTwoLowerCaseDigitsEach) {
    const std::pair<int, const char*> cases[] = {
        {0xff0000, "0000ff"}, {5 | 0 << 8 | 200 << 16, "0500c8"},
        {0x0080ff, "ff8000"}, {0, "000000"},
        {0xffffff, "ffffff"}, {0xabcdef, "efcdab"},
        {0x0a0b0c, "0c0b0a"}, {0x7f000000 | 0x010203, "030201"},
        {0x00ab00, "00ab00"},
    };
    for (const auto& [color, text] : cases)
        EXPECT_EQ(ColorText(color), text) << std::hex << color;
}

TEST(Highlight, DefaultSettingsWrapAmAsTheReferencePageDoes) {
    const HighlightSettings defaults;
    EXPECT_EQ(Highlighted("Am", defaults.bold, defaults.italic, defaults.underline, defaults.useColor, defaults.color,
                          defaults.infobulle),
              "<font color=\"#0000ff\"><b><span onmouseover=\"montreBulle('QV3Am', this)\" "
              "onmouseout=\"cacheBulle('QV3Am')\">Am</span></b></font>");
}

TEST(Highlight, NestsTheTagsOfTheFlagsInAFixedOrder) {
    struct Case {
        int bold, italic, underline, useColor, infobulle;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, "G"},
        {1, 0, 0, 0, 0, "<b>G</b>"},
        {0, 1, 0, 0, 0, "<i>G</i>"},
        {0, 0, 1, 0, 0, "<u>G</u>"},
        {0, 0, 0, 1, 0, "<font color=\"#ff8000\">G</font>"},
        {0, 0, 0, 0, 1, "<span onmouseover=\"montreBulle('QV3G', this)\" onmouseout=\"cacheBulle('QV3G')\">G</span>"},
        {0, 1, 1, 0, 0, "<i><u>G</u></i>"},
        {1, 0, 1, 1, 0, "<font color=\"#ff8000\"><b><u>G</u></b></font>"},
        {1, 1, 1, 1, 1,
         "<font color=\"#ff8000\"><b><i><u><span onmouseover=\"montreBulle('QV3G', this)\" "
         "onmouseout=\"cacheBulle('QV3G')\">G</span></u></i></b></font>"},
        // Any non-zero value turns a flag on.
        {7, -1, 0, 2, 0, "<font color=\"#ff8000\"><b><i>G</i></b></font>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Highlighted("G", c.bold, c.italic, c.underline, c.useColor, 0x0080ff, c.infobulle), c.expected)
            << c.bold << c.italic << c.underline << c.useColor << c.infobulle;
    }
}

TEST(Highlight, WrapsEveryDelimitedChordUnderItsOwnName) {
    const std::pair<const char*, const char*> cases[] = {
        {"Am G", "<b>Am</b> <b>G</b>"},
        {"Am7", "<b>Am7</b>"},
        {"Am/E", "<b>Am</b>/<b>E</b>"},
        {"(Am) [Em] {D}", "(<b>Am</b>) [<b>Em</b>] {<b>D</b>}"},
        {"'Am' Am, Am. Am", "'Am' Am, Am. <b>Am</b>"},
        {"Cmaj7 CM7", "<b>Cmaj7</b> CM7"},
        {"C Cm C# Cmaj7", "<b>C</b> <b>Cm</b> <b>C#</b> <b>Cmaj7</b>"},
        {"<td>F#m</td><td>x</td>", "<td><b>F#m</b></td><td>x</td>"},
        {"A man\r\n\tDb C#", "<b>A</b> man\r\n\t<b>Db</b> <b>C#</b>"},
        {"no chords, Hm.", "no chords, Hm."},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(BoldOnly(text), expected) << '"' << text << '"';
}

TEST(Highlight, FindsNoChordInsideAnEarlierReplacement) {
    // With pop-ups on, every chord name appears again in its attributes after
    // "QV3"; none of them may be wrapped a second time.
    const std::string page = Highlighted("C Am A C7", 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(page, "<span onmouseover=\"montreBulle('QV3C', this)\" onmouseout=\"cacheBulle('QV3C')\">C</span> "
                    "<span onmouseover=\"montreBulle('QV3Am', this)\" onmouseout=\"cacheBulle('QV3Am')\">Am</span> "
                    "<span onmouseover=\"montreBulle('QV3A', this)\" onmouseout=\"cacheBulle('QV3A')\">A</span> "
                    "<span onmouseover=\"montreBulle('QV3C7', this)\" onmouseout=\"cacheBulle('QV3C7')\">C7</span>");
}

TEST(Highlight, LeavesTheMarkupOfHtmlSongsAlone) {
    struct Case {
        const char* text;
        const char* html;
        const char* lexical;
    };
    const Case cases[] = {
        {"<a href=\"chords/G/index.html\">G</a>", "<a href=\"chords/G/index.html\"><b>G</b></a>",
         "<a href=\"chords/<b>G</b>/index.html\"><b>G</b></a>"},
        {"<!-- Am --><td>Am</td>", "<!-- Am --><td><b>Am</b></td>", "<!-- <b>Am</b> --><td><b>Am</b></td>"},
        {"<img alt=\"x (C)\" src=C.gif> C", "<img alt=\"x (C)\" src=C.gif> <b>C</b>",
         "<img alt=\"x (<b>C</b>)\" src=C.gif> <b>C</b>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Highlighted(c.text, 1, 0, 0, 0, 0, 0, true), c.html) << c.text;
        EXPECT_EQ(Highlighted(c.text, 1, 0, 0, 0, 0, 0, false), c.lexical) << c.text;
    }
    // The display page follows the working song's rule.
    CTablature working;
    working.SetHtml(true);
    working.Detect(cases[0].text);
    EXPECT_EQ(RenderDisplayPage(working, true, {1, 0, 0, 0, 0, 0}, kPrefix),
              std::string(cases[0].html) + PopupBlock(kPrefix));
}

TEST(Highlight, NamesOutsideTheTableGetTheTagsWithoutAPopup) {
    CTablature song;
    song.SetOptions(SongOptions{true, Spelling::AsWritten, false});
    song.Detect("Asus4 G (Em(add9))");
    const HighlightSettings settings;
    const std::string page = RenderDisplayPage(song, true, settings, kPrefix);
    EXPECT_EQ(page, "<font color=\"#0000ff\"><b>Asus4</b></font> " + HighlightOpening("G", settings) + "G" +
                        HighlightClosing(settings) + " (<font color=\"#0000ff\"><b>Em(add9)</b></font>)" +
                        PopupBlock(kPrefix));
    // Every pop-up of the page names a picture the block holds.
    for (std::size_t at = page.find("montreBulle('"); at != std::string::npos;
         at = page.find("montreBulle('", at + 1)) {
        const std::string id = page.substr(at + 13, page.find('\'', at + 13) - at - 13);
        EXPECT_NE(page.find("<div id=\"" + id + "\""), std::string::npos) << id;
    }
    // Without the option they stay plain text.
    CTablature tableOnly;
    tableOnly.Detect(song.text);
    EXPECT_EQ(RenderDisplayPage(tableOnly, true, {1, 0, 0, 0, 0, 0}, kPrefix),
              "Asus4 <b>G</b> (Em(add9))" + PopupBlock(kPrefix));
}

TEST(Highlight, GermanNamesKeepTheirTextAndShowTheTablesPicture) {
    CTablature song;
    SongOptions options;
    options.notation = Notation::German;
    song.SetOptions(options);
    song.Detect("H B Ami");
    const HighlightSettings settings;
    const auto wrapped = [&](const char* table, const char* written) {
        return HighlightOpening(table, settings) + written + HighlightClosing(settings);
    };
    EXPECT_EQ(RenderDisplayPage(song, true, settings, kPrefix),
              wrapped("B", "H") + " " + wrapped("Bb", "B") + " " + wrapped("Am", "Ami") + PopupBlock(kPrefix));
}

TEST(Highlight, AllFlagsOffLeaveTheTextAndAppendTheBlock) {
    const std::string text = "Intro: Am G\n<b>C</b> (F)\n";
    CTablature tablature;
    tablature.Detect(text);
    HighlightChords(tablature, {0, 0, 0, 0, 0, 0xff0000}, kPrefix);
    EXPECT_EQ(tablature.text, text + PopupBlock(kPrefix));
}

TEST(Highlight, SongWithoutChordsGetsTheWholeBlock) {
    CTablature tablature;
    tablature.Detect("la la la");
    HighlightChords(tablature, HighlightSettings{}, kPrefix);
    const std::string block = PopupBlock(kPrefix);
    EXPECT_EQ(tablature.text, "la la la" + block);
    int lineFeeds = 0;
    for (char c : block)
        lineFeeds += c == '\n';
    EXPECT_EQ(lineFeeds, 52 + 85);
}

TEST(Highlight, DisplayPageNeverAccumulatesHighlighting) {
    CTablature working;
    working.Detect("Am G C");
    const HighlightSettings settings;
    const std::string first = RenderDisplayPage(working, true, settings, kPrefix);
    const std::string second = RenderDisplayPage(working, true, settings, kPrefix);
    EXPECT_EQ(first, second);
    EXPECT_EQ(working.text, "Am G C") << "the working song is left alone";
    CTablature copy = working;
    HighlightChords(copy, settings, kPrefix);
    EXPECT_EQ(first, copy.text);
    EXPECT_EQ(RenderDisplayPage(working, false, settings, kPrefix), "Am G C");
}
