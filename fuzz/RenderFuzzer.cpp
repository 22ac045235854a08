// The highlighted rendering of any text.
//
// The same text as a large text song shown in parts: the parts decoded
// as the page's script decodes them give the whole page's song, tags
// included, and no part holds a byte that would end it early.
//
// Input: one byte of flags (bold, italic, underline, colour, pop-ups, and
// three bits choosing the picture prefix), three bytes of colour, then the
// working text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "fuzz/FuzzSupport.h"
#include "render/Highlight.h"
#include "render/PartedPage.h"
#include "render/SongPage.h"
#include "tests/support/PartedPagePieces.h"

using namespace fuzzsupport;

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;
// Above this the name-by-name rewriting takes too long for a fuzzing run.
constexpr std::size_t kMaxRewrittenText = 16 * 1024;

const char* const kPicturePrefixes[] = {
    "",      "/opt/quavern/Pics/",  "/home/me/Songs #1/100% (live)?/Pics/",
    "Pics/", "/tmp/C/Am/ G /Pics/", "/x/<b>Am</b>/Pics/",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput)
        return -1;
    Sink();
    ChooseLevels(0);
    CInputReader input(data, size);
    const std::uint8_t flags = input.Byte();
    HighlightSettings settings;
    settings.bold = flags & 1;
    settings.italic = flags & 2;
    settings.underline = flags & 4;
    settings.useColor = flags & 8;
    settings.infobulle = flags & 16;
    const int red = input.Byte();
    const int green = input.Byte();
    const int blue = input.Byte();
    settings.color = red | green << 8 | blue << 16;
    g_strPicturePath = kPicturePrefixes[(flags >> 5) % (sizeof kPicturePrefixes / sizeof kPicturePrefixes[0])];
    const std::string text = input.Rest();

    CTablature working;
    working.Detect(text);
    const std::string page = RenderDisplayPage(working, true, settings);
    FUZZ_CHECK(RenderDisplayPage(working, false, settings) == text);

    // Take the tags away where the chord names stand: what is left is the
    // working text, then the pop-up block. Every chord name is wrapped, also
    // beyond the occurrences a tablature keeps.
    const std::string closing =
        HighlightClosing(settings.bold, settings.italic, settings.underline, settings.useColor, settings.infobulle);
    std::size_t cursor = 0; // in the text
    std::size_t at = 0;     // in the page
    for (const Hit& hit : AllHits(text)) {
        const std::string name = theChordCatalog.GetAt(hit.index).GetName();
        const std::string opening = HighlightOpening(name, settings.bold, settings.italic, settings.underline,
                                                     settings.useColor, settings.color, settings.infobulle);
        const std::size_t between = hit.pos - cursor;
        FUZZ_CHECK(page.compare(at, between, text, cursor, between) == 0);
        at += between;
        FUZZ_CHECK(page.compare(at, opening.size(), opening) == 0);
        at += opening.size();
        FUZZ_CHECK(page.compare(at, name.size(), name) == 0);
        at += name.size();
        FUZZ_CHECK(page.compare(at, closing.size(), closing) == 0);
        at += closing.size();
        cursor = hit.pos + name.size();
    }
    const std::size_t rest = text.size() - cursor;
    FUZZ_CHECK(page.size() >= at + rest);
    FUZZ_CHECK(page.compare(at, rest, text, cursor, rest) == 0);
    at += rest;
    FUZZ_CHECK(page.compare(at, std::string::npos, PopupBlock(g_strPicturePath)) == 0);

    // As a text song shown in parts.
    const SongPage song = BuildSongPage("/songs/book.txt", "TXT", text);
    CTablature songWorking;
    songWorking.Detect(song.text);
    const std::string whole = RenderDisplayPage(songWorking, true, settings);
    const std::size_t bodyStart = song.added.titleLine.size() + song.added.header.size();
    const std::size_t bodyEnd = whole.size() - PopupBlock(g_strPicturePath).size() - song.added.footer.size();
    for (const bool highlighted : {true, false}) {
        const partedpage::PartedPieces pieces =
            partedpage::Split(PartedDisplayPage(song.text, song.added, highlighted ? &settings : nullptr));
        std::string decoded;
        for (const std::string& raw : pieces.raw) {
            FUZZ_CHECK(raw.find('<') == std::string::npos);
            FUZZ_CHECK(raw.find('\0') == std::string::npos);
            decoded += partedpage::Decode(raw, settings);
        }
        if (highlighted)
            FUZZ_CHECK(decoded == whole.substr(bodyStart, bodyEnd - bodyStart));
        else
            FUZZ_CHECK(decoded == song.text.substr(bodyStart, song.text.size() - song.added.footer.size() - bodyStart));
        // An empty song has no part at all.
        if (!pieces.raw.empty())
            FUZZ_CHECK(pieces.before == song.text.substr(0, bodyStart));
        else
            FUZZ_CHECK(text.empty());
    }

    // The same page as wrapping the names one by one in table order.
    if (text.size() <= kMaxRewrittenText) {
        std::string rewritten = text;
        for (int i = 0; i < CChordCatalog::kSize; ++i) {
            const std::string name = theChordCatalog.GetAt(i).GetName();
            CTablature::ReplaceChordWord(rewritten, name,
                                         HighlightOpening(name, settings.bold, settings.italic, settings.underline,
                                                          settings.useColor, settings.color, settings.infobulle) +
                                             name + closing);
        }
        rewritten += PopupBlock(g_strPicturePath);
        FUZZ_CHECK(rewritten == page);
    }
    return 0;
}
