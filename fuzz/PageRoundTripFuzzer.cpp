// Opening then saving any file under any path gives the file's bytes back.
//
// Input: one byte choosing the file type (text, HTML or none) and the shift,
// one byte for the length of the path (at most 200), the path (made absolute,
// NUL bytes dropped), then the file's bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/Tablature.h"
#include "fuzz/FuzzSupport.h"
#include "render/SongPage.h"

using namespace fuzzsupport;

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;
constexpr std::size_t kMaxPath = 200;
const char* const kFileTypes[] = {"TXT", "HTM", ""};

std::string MakePath(std::string bytes) {
    std::string path;
    for (char c : bytes) {
        if (c != '\0')
            path += c;
    }
    if (path.empty() || path[0] != '/')
        path.insert(path.begin(), '/');
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput)
        return -1;
    CCountingSink& sink = Sink();
    ChooseLevels(0);
    CInputReader input(data, size);
    const std::uint8_t choice = input.Byte();
    const std::string fileType = kFileTypes[choice % 3];
    const int shift = choice / 3 % 13 - 6;
    const std::string path = MakePath(input.Bytes(input.Byte() % (kMaxPath + 1)));
    const std::string bytes = input.Rest();

    std::string expected = bytes;
    NormalizeMaj7(expected);

    const SongPage page = BuildSongPage(path, fileType, bytes);
    std::string titleLine = TitleLine(path);
    NormalizeMaj7(titleLine);
    FUZZ_CHECK(page.added.titleLine == titleLine);
    const bool html = IsHtmlType(fileType);
    if (html) {
        FUZZ_CHECK(page.added.header.empty() && page.added.footer.empty());
        FUZZ_CHECK(page.added.titleAt == TitlePlaceOf(bytes));
    } else {
        FUZZ_CHECK(page.added.header == TextSongHeaderFor(bytes));
        FUZZ_CHECK(page.added.footer == kTextSongFooter);
        FUZZ_CHECK(page.added.titleAt == 0);
    }
    const std::size_t at = page.added.titleAt;
    FUZZ_CHECK(page.text == expected.substr(0, at) + page.added.titleLine + page.added.header + expected.substr(at) +
                                page.added.footer);
    FUZZ_CHECK(StripAddedText(page.text, page.added) == expected);

    // Opened: no chord in the title line, and a move by 0 saves the same bytes.
    auto opened = std::make_unique<CTablature>();
    opened->SetHtml(html);
    opened->Detect(page.text);
    for (int i = 0; i < opened->OccurrenceCount(); ++i) {
        const std::size_t pos = opened->PositionAt(i);
        FUZZ_CHECK(pos < at || pos >= at + page.added.titleLine.size());
    }
    auto unmoved = std::make_unique<CTablature>(*opened);
    unmoved->Transpose(0);
    FUZZ_CHECK(StripAddedText(unmoved->text, page.added) == expected);

    // What opening added holds no chord and makes none with the song's
    // bytes, so a moved page saves exactly the moved song.
    auto moved = std::make_unique<CTablature>(*opened);
    moved->Transpose(shift);
    auto song = std::make_unique<CTablature>();
    song->SetHtml(html);
    song->Detect(expected);
    song->Transpose(shift);
    FUZZ_CHECK(StripAddedText(moved->text, page.added) == song->text);
    sink.Take();
    return 0;
}
