// The highlighted rendering of any text.
//
// The same text as a text song and inside an HTML song's <pre> block or
// body, shown in parts: the parts decoded as the page's script decodes them give the
// whole page, tags included, and no part holds a byte that would end it
// early.
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
#include "render/HighlightTags.h"
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
    const std::string prefix = kPicturePrefixes[(flags >> 5) % (sizeof kPicturePrefixes / sizeof kPicturePrefixes[0])];
    const std::string text = input.Rest();

    CTablature working;
    working.Detect(text);
    const std::string page = RenderDisplayPage(working, true, settings, prefix);
    FUZZ_CHECK(RenderDisplayPage(working, false, settings, prefix) == text);

    // Take the tags away where the chord names stand: what is left is the
    // working text, then the pop-up block. Every chord name is wrapped.
    const std::string closing = HighlightClosing(settings);
    std::size_t cursor = 0; // in the text
    std::size_t at = 0;     // in the page
    for (const Hit& hit : AllHits(text)) {
        const std::string name = theChordCatalog.GetAt(hit.index).GetName();
        const std::string opening = HighlightOpening(name, settings);
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
    FUZZ_CHECK(page.compare(at, std::string::npos, PopupBlock(prefix)) == 0);

    // As a text song and as the preformatted block or the body of an HTML song, shown
    // in parts: once every part is content, the page is the whole page.
    const SongPage songs[] = {BuildSongPage("/songs/book.txt", "TXT", text),
                              BuildSongPage("/songs/book.htm", "HTM", "<html><PRE>\n" + text + "</pre></html>"),
                              BuildSongPage("/songs/book.htm", "HTM", "<html><body>\n" + text + "</body></html>")};
    // (A text naming the part element itself would be taken for a part.)
    for (const SongPage& song : songs) {
        if (text.find("x-quavern-part") != std::string::npos)
            break;
        CTablature songWorking;
        songWorking.SetHtml(song.added.header.empty());
        songWorking.Detect(song.text);
        for (const bool highlighted : {true, false}) {
            const partedpage::PartedPieces pieces = partedpage::Split(PartedDisplayPage(
                song.text, song.added, highlighted ? &settings : nullptr, prefix, songWorking.Rules()));
            for (const std::string& raw : pieces.raw) {
                FUZZ_CHECK(raw.find('<') == std::string::npos);
                FUZZ_CHECK(raw.find('\0') == std::string::npos);
            }
            FUZZ_CHECK(partedpage::Reassemble(pieces, settings) ==
                       RenderDisplayPage(songWorking, highlighted, settings, prefix));
        }
    }

    // The same page as wrapping the names one by one in table order.
    if (text.size() <= kMaxRewrittenText) {
        std::string rewritten = text;
        for (int i = 0; i < CChordCatalog::kSize; ++i) {
            const std::string name = theChordCatalog.GetAt(i).GetName();
            CTablature::ReplaceChordWord(rewritten, name, HighlightOpening(name, settings) + name + closing);
        }
        rewritten += PopupBlock(prefix);
        FUZZ_CHECK(rewritten == page);
    }
    return 0;
}
