#include "engine/RewriteChords.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "engine/ChordLine.h"
#include "engine/KeepColumns.h"

std::string RewriteChords(const std::string& text, std::vector<ChordOccurrence>& occurrences, const TableMoves& moves,
                          bool keepColumns, ChordCounts& counts, int shift, const ChordRules& rules,
                          const std::vector<std::uint8_t>* targets) {
    const Notation notation = rules.notation;
    // A moved name is at most one byte longer than the old one; a fingering
    // grows by its separators and a digit a string.
    std::size_t room = occurrences.size();
    for (const ChordOccurrence& occurrence : occurrences)
        room += occurrence.fingering ? 12 : 0;
    std::string result(text.size() + room, '\0');
    // Frets go the short way: down 3 rather than up 9.
    const int frets = ((shift % 12) + 12) % 12 > 6 ? ((shift % 12) + 12) % 12 - 12 : ((shift % 12) + 12) % 12;
    char* const begin = result.data();
    char* out = begin;
    const char* in = text.data();
    std::size_t cursor = 0;
    auto copy = [&out](const char* bytes, std::size_t size) {
        std::memcpy(out, bytes, size);
        out += size;
    };
    counts.fill(0);
    // Where each name stood, for the column rule. Kept from call to call.
    thread_local std::vector<NameBefore> before;
    before.clear();
    if (keepColumns)
        before.reserve(occurrences.size());
    for (ChordOccurrence& occurrence : occurrences) {
        const std::size_t position = occurrence.position;
        if (keepColumns)
            before.push_back({occurrence.position, occurrence.length});
        copy(in + cursor, position - cursor);
        const auto newPosition = static_cast<std::uint32_t>(out - begin);
        const std::uint8_t target =
            targets ? (*targets)[static_cast<std::size_t>(&occurrence - occurrences.data())] : moves[occurrence.index];
        const std::size_t oldSize = occurrence.NameLength(text);
        std::size_t newSize = 0;
        if (occurrence.fingering) {
            std::string moved = MoveFingering(std::string_view(text).substr(position, oldSize), frets);
            if (moved.empty())
                moved.assign(text, position, oldSize);
            newSize = moved.size();
            copy(moved.data(), newSize);
            occurrence.position = newPosition;
            occurrence.length = static_cast<std::uint16_t>(newSize);
            cursor = position + oldSize;
            continue;
        } else if (notation != Notation::AsWritten && target == occurrence.index) {
            copy(in + position, oldSize);
            newSize = oldSize;
            counts[target] += occurrence.extended || occurrence.bass ? 0 : 1;
        } else if (occurrence.bass) {
            // A note: its major chord's root.
            const std::string_view name = chordnotation::RootName(NoteSpelling::AtIndex(target), notation);
            newSize = name.size();
            copy(name.data(), newSize);
            if (occurrence.lowerCase)
                out[-static_cast<std::ptrdiff_t>(newSize)] += 'a' - 'A';
        } else if (!occurrence.extended && notation == Notation::AsWritten) {
            const std::string_view name = kTableNames[target];
            newSize = name.size();
            copy(name.data(), newSize);
            ++counts[target];
            occurrence.longRoot = NoteSpelling::AtIndex(target % NoteSpelling::kCount).Length() == 2;
        } else {
            // The root moves and the suffix stays as written.
            const std::size_t oldRoot = occurrence.RootLength();
            const std::string_view newRoot =
                chordnotation::RootName(NoteSpelling::AtIndex(target % NoteSpelling::kCount), notation);
            copy(newRoot.data(), newRoot.size());
            copy(in + position + oldRoot, oldSize - oldRoot);
            newSize = oldSize - oldRoot + newRoot.size();
            counts[target] += occurrence.extended ? 0 : 1;
            occurrence.longRoot = newRoot.size() == 2;
        }
        occurrence.position = newPosition;
        occurrence.index = target;
        occurrence.length = static_cast<std::uint16_t>(newSize);
        cursor = position + oldSize;
    }
    copy(in + cursor, text.size() - cursor);
    result.resize(static_cast<std::size_t>(out - begin));
    if (keepColumns)
        return KeepColumns(text, result, before, occurrences, rules);
    return result;
}
