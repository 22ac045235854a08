// Detection, transposition and the easiest search on any text.
//
// Input: one byte for the shift (-6..+6) and, in its top bit, whether the
// song is HTML, one byte choosing the difficulty levels (0 = the defaults),
// then the song text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "fuzz/FuzzSupport.h"

using namespace fuzzsupport;

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

// The tablature holds exactly what detection of its text must give, and
// said nothing: there is no limit to report.
void CheckDetected(const CTablature& tablature, int messages) {
    const Expected expected = ExpectedDetection(tablature.text, tablature.IsHtml());
    FUZZ_CHECK(messages == 0);
    FUZZ_CHECK(tablature.OccurrenceCount() == static_cast<int>(expected.kept.size()));
    for (int i = 0; i < tablature.OccurrenceCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        const CChord& entry = theChordCatalog.GetAt(expected.kept[k].index);
        FUZZ_CHECK(tablature.PositionAt(i) == expected.kept[k].pos);
        FUZZ_CHECK(tablature.ChordAt(i).GetName() == entry.GetName());
        FUZZ_CHECK(tablature.ChordAt(i).difficulty == entry.difficulty);
        FUZZ_CHECK(tablature.ChordAt(i).frets == entry.frets);
        // Stated directly as well: a delimited chord name at its position, ascending.
        const std::string name = tablature.ChordAt(i).GetName();
        FUZZ_CHECK(tablature.text.compare(expected.kept[k].pos, name.size(), name) == 0);
        FUZZ_CHECK(StandsAlone(tablature.text, expected.kept[k].pos, name.size()));
        FUZZ_CHECK(i == 0 || tablature.PositionAt(i - 1) < tablature.PositionAt(i));
    }
    FUZZ_CHECK(tablature.distinctCount == static_cast<int>(expected.distinct.size()));
    for (int i = 0; i < tablature.distinctCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        FUZZ_CHECK(tablature.distinctChords[k].GetName() == theChordCatalog.GetAt(expected.distinct[k]).GetName());
    }
    FUZZ_CHECK(tablature.GetScore() == expected.score);
}

// The text the loaded song must read after moving its detected chords.
std::string MovedText(const CTablature& loaded, int shift) {
    std::string moved;
    std::size_t cursor = 0;
    for (int i = 0; i < loaded.OccurrenceCount(); ++i) {
        const std::size_t pos = loaded.PositionAt(i);
        FUZZ_CHECK(pos >= cursor);
        moved.append(loaded.text, cursor, pos - cursor);
        moved += TransposeChord(loaded.ChordAt(i), shift).GetName();
        cursor = pos + loaded.ChordAt(i).GetName().size();
    }
    moved.append(loaded.text, cursor, std::string::npos);
    return moved;
}

bool SameContent(const CTablature& a, const CTablature& b) {
    if (a.text != b.text || a.OccurrenceCount() != b.OccurrenceCount() || a.score != b.score ||
        a.distinctCount != b.distinctCount)
        return false;
    for (int i = 0; i < a.OccurrenceCount(); ++i) {
        if (a.PositionAt(i) != b.PositionAt(i) || a.ChordAt(i).GetName() != b.ChordAt(i).GetName())
            return false;
    }
    for (int i = 0; i < a.distinctCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (a.distinctChords[k].GetName() != b.distinctChords[k].GetName())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput)
        return -1;
    CCountingSink& sink = Sink();
    CInputReader input(data, size);
    const std::uint8_t shiftByte = input.Byte();
    const int shift = (shiftByte & 0x7f) % 13 - 6;
    const bool html = (shiftByte & 0x80) != 0;
    ChooseLevels(input.Byte());
    const std::string text = input.Rest();

    CTablature loaded;
    loaded.SetHtml(html);
    loaded.Detect(text);
    FUZZ_CHECK(loaded.text == text);
    CheckDetected(loaded, sink.Take());

    // Every byte outside the detected chord names stays; the detection after
    // the move describes the new text.
    auto moved = std::make_unique<CTablature>(loaded);
    moved->Transpose(shift);
    FUZZ_CHECK(moved->text == MovedText(loaded, shift));
    CheckDetected(*moved, sink.Take());

    // A move by 0 changes nothing.
    auto unmoved = std::make_unique<CTablature>(loaded);
    unmoved->Transpose(0);
    sink.Take();
    FUZZ_CHECK(SameContent(*unmoved, loaded));

    // The easiest search: each of the 13 shifts tried from the loaded song,
    // in the order 0, -1, +1 ... -6, +6, the first lowest score winning.
    int bestShift = 0;
    int bestScore = 0;
    for (int trial = 0; trial < 13; ++trial) {
        const int s = trial == 0 ? 0 : (trial % 2 == 1 ? -(trial + 1) / 2 : trial / 2);
        auto tried = std::make_unique<CTablature>(loaded);
        tried->Transpose(s);
        if (trial == 0 || tried->GetScore() < bestScore) {
            bestScore = tried->GetScore();
            bestShift = s;
        }
    }
    auto chosen = std::make_unique<CTablature>(loaded);
    chosen->Transpose(bestShift);
    sink.Take();

    auto easiest = std::make_unique<CTablature>(loaded);
    const int found = easiest->FindEasiest();
    FUZZ_CHECK(sink.Take() == 0);
    FUZZ_CHECK(found >= -6 && found <= 5);
    FUZZ_CHECK(found == bestShift);
    FUZZ_CHECK(SameContent(*easiest, *chosen));
    return 0;
}
