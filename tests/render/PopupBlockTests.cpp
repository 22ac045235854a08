#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "engine/Tablature.h"
#include "render/Highlight.h"

namespace {

struct FixedLine {
    const char* lead;
    const char* text;
    int trailingBlanks;
};

// The style and script lines of the pop-up block: leading whitespace, text
// and the number of blanks after it.
const FixedLine kFixedLines[52] = {
    {"", "<style type=\"text/css\">", 35},                             // 1
    {"", ".infobulle {", 48},                                          // 2
    {"\t", "background-color: yellow;", 31},                           // 3
    {"\t", "border: 2px solid black;", 32},                            // 4
    {"    ", "margin: 1em;", 44},                                      // 5
    {"    ", "padding: .5em;", 42},                                    // 6
    {"    ", "visibility: hidden;", 37},                               // 7
    {"    ", "position: absolute;", 37},                               // 8
    {"", "}", 59},                                                     // 9
    {"", "</style>", 52},                                              // 10
    {"", "", 60},                                                      // 11
    {"", "<script type=\"text/javascript\">", 27},                     // 12
    {"\t", "function findPosX(obj) {", 32},                            // 13
    {"        ", "var curleft = 0;", 36},                              // 14
    {"        ", "if (obj.offsetParent) {", 29},                       // 15
    {"          ", "while (obj.offsetParent) {", 24},                  // 16
    {"            ", "curleft += obj.offsetLeft", 23},                 // 17
    {"            ", "obj = obj.offsetParent;", 25},                   // 18
    {"          ", "}", 49},                                           // 19
    {"        ", "}", 51},                                             // 20
    {"\t\t", "else if (obj.x) {curleft += obj.x;}", 17},               // 21
    {"        ", "return curleft;", 37},                               // 22
    {"\t", "}", 55},                                                   // 23
    {"", "", 60},                                                      // 24
    {"      ", "function findPosY(obj) {", 30},                        // 25
    {"        ", "var curtop = 0;", 37},                               // 26
    {"        ", "if (obj.offsetParent) {", 29},                       // 27
    {"          ", "while (obj.offsetParent) {", 24},                  // 28
    {"            ", "curtop += obj.offsetTop", 25},                   // 29
    {"            ", "obj = obj.offsetParent;", 25},                   // 30
    {"          ", "}", 49},                                           // 31
    {"        ", "} else if (obj.y) {", 33},                           // 32
    {"          ", "curtop += obj.y;", 34},                            // 33
    {"        ", "}", 51},                                             // 34
    {"        ", "return curtop;", 38},                                // 35
    {"      ", "}", 53},                                               // 36
    {"", "", 60},                                                      // 37
    {"      ", "function montreBulle(idBulle, parent) {", 15},         // 38
    {"        ", "with(document.getElementById(idBulle).style) {", 6}, // 39
    {"          ", "visibility = \"visible\"", 26},                    // 40
    {"          ", "left = findPosX(parent) + \"px\"", 18},            // 41
    {"          ", "top = (findPosY(parent)+10) + \"px\"", 14},        // 42
    {"        ", "}", 51},                                             // 43
    {"      ", "}", 53},                                               // 44
    {"", "", 60},                                                      // 45
    {"      ", "function cacheBulle(idBulle) {", 24},                  // 46
    {"        ", "with(document.getElementById(idBulle).style) {", 6}, // 47
    {"          ", "visibility = \"hidden\";", 26},                    // 48
    {"        ", "}", 51},                                             // 49
    {"      ", "}", 53},                                               // 50
    {"", "</script>", 51},                                             // 51
    {"", "", 60},                                                      // 52
};

const char* const kSuffixes[kQualityCount] = {"", "m", "7", "m7", "maj7"};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t p = text.find('\n'); p != std::string::npos; p = text.find('\n', start)) {
        lines.push_back(text.substr(start, p - start));
        start = p + 1;
    }
    lines.push_back(text.substr(start)); // what follows the last line feed
    return lines;
}

} // namespace

TEST(PopupBlock, HasTheFiftyTwoFixedLinesByteForByte) {
    const std::vector<std::string> lines = SplitLines(PopupBlock("/p/"));
    ASSERT_EQ(lines.size(), 52u + 85u + 1u);
    for (std::size_t i = 0; i < 52; ++i) {
        const FixedLine& line = kFixedLines[i];
        const std::string expected =
            std::string(line.lead) + line.text + std::string(static_cast<std::size_t>(line.trailingBlanks), ' ');
        EXPECT_EQ(lines[i], expected) << "line " << i + 1;
    }
    EXPECT_EQ(lines.back(), "") << "nothing follows the last picture line";
}

TEST(PopupBlock, MatchesTheTwoPictureLineExamples) {
    const std::vector<std::string> lines = SplitLines(PopupBlock("D:/Music/Tool/Pics/"));
    ASSERT_EQ(lines.size(), 138u);
    EXPECT_EQ(lines[52], "<div id=\"QV3C\"  class=\"infobulle\"> <img src=\"D:/Music/Tool/Pics/C.gif\"  /> </div>");
    // "#" is written "%23" in the image source, or the browser would load "Pics/C".
    EXPECT_EQ(lines[52 + 52],
              "<div id=\"QV3C#m7\" class=\"infobulle\"> <img src=\"D:/Music/Tool/Pics/C%23m7.gif\" /> </div>");
}

TEST(PopupBlock, HasOnePictureLinePerChordInTableOrderWithItsSeparator) {
    const std::string prefix = "/home/me/Quavern/Pics/";
    const std::vector<std::string> lines = SplitLines(PopupBlock(prefix));
    ASSERT_EQ(lines.size(), 138u);
    for (int q = 0; q < kQualityCount; ++q) {
        for (int s = 0; s < 17; ++s) {
            const std::string root = rootSpellings[static_cast<std::size_t>(s)];
            const std::string name = root + kSuffixes[q];
            // Two blanks after a natural root, one after a sharp or flat one.
            const std::string separator = root.size() == 1 ? "  " : " ";
            std::string source = prefix + name + ".gif";
            if (root.size() == 2 && root[1] == '#')
                source.replace(prefix.size() + 1, 1, "%23");
            const std::string expected = "<div id=\"QV3" + name + "\"" + separator +
                                         "class=\"infobulle\"> <img src=\"" + source + "\"" + separator + "/> </div>";
            EXPECT_EQ(lines[52u + static_cast<std::size_t>(q * 17 + s)], expected) << name;
        }
    }
}

TEST(PopupBlock, EmptyPrefixGivesBareFileNames) {
    const std::vector<std::string> lines = SplitLines(PopupBlock(""));
    EXPECT_EQ(lines[52], "<div id=\"QV3C\"  class=\"infobulle\"> <img src=\"C.gif\"  /> </div>");
    EXPECT_EQ(lines[53], "<div id=\"QV3C#\" class=\"infobulle\"> <img src=\"C%23.gif\" /> </div>");
    EXPECT_EQ(lines[54], "<div id=\"QV3Db\" class=\"infobulle\"> <img src=\"Db.gif\" /> </div>");
    EXPECT_EQ(lines[136], "<div id=\"QV3Bmaj7\"  class=\"infobulle\"> <img src=\"Bmaj7.gif\"  /> </div>");
}

TEST(PopupBlock, EscapesPercentHashAndQuestionMarkInTheImageSourceOnly) {
    const std::vector<std::string> lines = SplitLines(PopupBlock("/tmp/50% off #1?/a b/Pics/"));
    EXPECT_EQ(lines[52 + 52], "<div id=\"QV3C#m7\" class=\"infobulle\"> <img "
                              "src=\"/tmp/50%25 off %231%3F/a b/Pics/C%23m7.gif\" /> </div>");
    EXPECT_EQ(lines[52 + 30],
              "<div id=\"QV3Am\"  class=\"infobulle\"> <img src=\"/tmp/50%25 off %231%3F/a b/Pics/Am.gif\"  /> </div>");
    // An already-escaped looking prefix is escaped again, not left alone.
    EXPECT_EQ(SplitLines(PopupBlock("%23/"))[52],
              "<div id=\"QV3C\"  class=\"infobulle\"> <img src=\"%2523/C.gif\"  /> </div>");
}

TEST(PopupBlock, IsAppendedAfterAllChordsWhateverTheFlags) {
    const std::string block = PopupBlock("/pics/");
    for (int flags = 0; flags < 32; ++flags) {
        CTablature tablature;
        tablature.Detect("x Am");
        HighlightChords(tablature, {flags & 1, flags & 2, flags & 4, flags & 8, flags & 16, 0x123456}, "/pics/");
        ASSERT_GE(tablature.text.size(), block.size());
        EXPECT_EQ(tablature.text.substr(tablature.text.size() - block.size()), block) << flags;
        EXPECT_EQ(tablature.text.find("<style"), tablature.text.size() - block.size()) << flags;
    }
}

TEST(PopupBlock, PicturePrefixIsThePicsFolderOrNothingPastAThousandBytes) {
    const std::string longest = "/" + std::string(993, 'x'); // its prefix takes exactly 1000 bytes
    const std::pair<std::string, std::string> cases[] = {
        {"/home/me/Quavern", "/home/me/Quavern/Pics/"},
        {"/home/me/Quavern/", "/home/me/Quavern/Pics/"},
        {"/", "/Pics/"},
        {"/a/./b/../c", "/a/c/Pics/"},
        {"/Capo (G)/C#m7 [A]", "/Capo (G)/C#m7 [A]/Pics/"},
        {longest, longest + "/Pics/"},
        {longest + "x", ""},
        {longest + "/..", "/Pics/"}, // judged once the path is normal
    };
    for (const auto& [folder, prefix] : cases)
        EXPECT_EQ(PicturePrefixFor(folder), prefix) << folder.size() << ": " << folder.substr(0, 40);
}
