#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "tests/support/TestFiles.h"

namespace {

// The style and script lines that open the pop-up block, byte for byte;
// each line of the file ends with a "|" that is not part of it.
std::vector<std::string> FixedLines() {
    std::vector<std::string> lines = ReadExpectedLines(QUAVERN_EXPECTED_DIR "/popup-block-fixed.txt");
    for (std::string& line : lines) {
        if (line.empty() || line.back() != '|')
            throw std::runtime_error("a fixed line without its end mark: " + line);
        line.pop_back();
    }
    return lines;
}

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
    const std::vector<std::string> fixed = FixedLines();
    ASSERT_EQ(fixed.size(), 52u);
    for (std::size_t i = 0; i < 52; ++i)
        EXPECT_EQ(lines[i], fixed[i]) << "line " << i + 1;
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

TEST(PopupBlock, EscapesPercentHashQuestionMarkAndHighBytesInTheImageSourceOnly) {
    const std::vector<std::string> lines = SplitLines(PopupBlock("/tmp/50% off #1?/a b/Pics/"));
    EXPECT_EQ(lines[52 + 52], "<div id=\"QV3C#m7\" class=\"infobulle\"> <img "
                              "src=\"/tmp/50%25 off %231%3F/a b/Pics/C%23m7.gif\" /> </div>");
    EXPECT_EQ(lines[52 + 30],
              "<div id=\"QV3Am\"  class=\"infobulle\"> <img src=\"/tmp/50%25 off %231%3F/a b/Pics/Am.gif\"  /> </div>");
    // An already-escaped looking prefix is escaped again, not left alone.
    EXPECT_EQ(SplitLines(PopupBlock("%23/"))[52],
              "<div id=\"QV3C\"  class=\"infobulle\"> <img src=\"%2523/C.gif\"  /> </div>");
    // A folder named in UTF-8 ("zo\xc3\xab") reaches the browser byte for byte
    // whatever the page's character set; the id keeps the plain name.
    EXPECT_EQ(SplitLines(PopupBlock("/home/zo\xc3\xab/Pics/"))[52],
              "<div id=\"QV3C\"  class=\"infobulle\"> <img src=\"/home/zo%C3%AB/Pics/C.gif\"  /> </div>");
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
