#include "render/ChordProPage.h"

#include <string>

#include <gtest/gtest.h>

#include "engine/Tablature.h"
#include "render/DisplayPageBuilder.h"
#include "render/HighlightTags.h"

namespace {

const char kSong[] = "{title: A <Night> & Day}\n{st: Trad.}\n{key: Am}\n{capo: 2}\n# A hidden note\n"
                     "{c: Slowly <b>}\nA [Am]man [G/B]walks [*<riff>]\n{soc}\n[C]Oh <script>x</script>\n{eoc}\n"
                     "{sot}\ne|--[3]--|\n{eot}\n";

CTablature Song(int shift) {
    CTablature song;
    song.SetChordPro(true);
    song.Detect(kSong);
    song.Transpose(shift);
    return song;
}

// The page of a ChordPro song: its parts where a guitarist looks for them,
// its text escaped, its chords (and only those) in the tags of every song.
TEST(ChordProPage, ShowsTheSongAsAGuitaristReadsIt) {
    HighlightSettings settings;
    const std::string highlighted = BuildDisplayPage(Song(2), AddedText(), &settings, "/pics/");
    const std::string plain = BuildDisplayPage(Song(0), AddedText(), nullptr, "/pics/");
    const auto chord = [&](const std::string& name) { return HighlightOpening(name, settings) + name; };
    const struct {
        const std::string& page;
        std::string part;
        bool present;
    } kCases[] = {
        {highlighted, "<title>A &lt;Night&gt; &amp; Day</title>", true},
        {highlighted, "<h1 class=\"cp-title\">A &lt;Night&gt; &amp; Day</h1>", true},
        {highlighted, "<h2 class=\"cp-subtitle\">Trad.</h2>", true},
        {highlighted, "Key: " + chord("Bm"), true},
        {highlighted, "Capo: 2", true},
        {highlighted, "<i>Slowly &lt;b&gt;</i>", true},
        {highlighted, "<span class=\"cp-lyrics\">A </span>", true},
        {highlighted, "<span class=\"cp-chord\">" + chord("Bm"), true},
        {highlighted, "<span class=\"cp-lyrics\">man </span>", true},
        {highlighted, chord("A") + HighlightClosing(settings) + "/", true},
        {highlighted, "<i>&lt;riff&gt;</i>", true},
        {highlighted, "<div class=\"cp-chorus\">\n<div class=\"cp-line\">", true},
        {highlighted, "Oh &lt;script&gt;x&lt;/script&gt;", true},
        {highlighted, "<pre class=\"cp-tab\">e|--[3]--|\n</pre>", true},
        {highlighted, "class=\"infobulle\"", true},
        {highlighted, "hidden note", false},
        {highlighted, "<script>x", false},
        {highlighted, "<b>}", false},
        {plain, "<span class=\"cp-chord\">Am</span>", true},
        {plain, "Key: Am</span>", true},
        {plain, "onmouseover", false},
        {plain, "infobulle", false},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.page.find(c.part) != std::string::npos, c.present) << c.part;
}

// Odd sources give a whole page all the same.
TEST(ChordProPage, ReadsOddSourcesWhole) {
    for (const char* source : {"", "{", "[", "]]][[[", "{soc}\n{soc}\n", "{eoc}", "{sot}", "{:}\n{key:}\n{key: [}",
                               "[G", "\r\r\n\n", "{title}", "[]x[*]"}) {
        CTablature song;
        song.SetChordPro(true);
        song.Detect(source);
        const std::string page = ChordProPage(song, nullptr, "");
        EXPECT_EQ(page.rfind("</body></html>\n"), page.size() - 15) << source;
    }
}

} // namespace
