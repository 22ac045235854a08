#include "engine/RewriteChords.h"

#include <cstddef>
#include <cstring>

#include "engine/KeepColumns.h"
#include "engine/NameWriter.h"

std::string RewriteChords(const std::string& text, std::vector<ChordOccurrence>& occurrences, const TableMoves& moves,
                          bool keepColumns, ChordCounts& counts, int shift, const ChordRules& rules,
                          CKeyedTargets* keyed, std::vector<std::string>* leftAsWritten, bool ownFamilies,
                          std::vector<std::uint32_t>* others) {
    counts.fill(0);
    CNameWriter writer(text, moves, keyed, rules.notation, shift, counts, ownFamilies && Pitch::Wrap(shift) != 0);
    if (others)
        others->clear();
    writer.ListOthers(others);
    writer.HoldLegends(occurrences, leftAsWritten);
    if (keepColumns)
        return KeepColumns(text, writer, occurrences, rules);
    std::string result(text.size() + writer.Growth(occurrences), '\0');
    char* const begin = result.data();
    char* out = begin;
    std::size_t cursor = 0;
    for (std::size_t k = 0; k < occurrences.size(); ++k) {
        ChordOccurrence& occurrence = occurrences[k];
        const std::size_t position = occurrence.position;
        const std::size_t oldSize = occurrence.NameLength(text);
        std::memcpy(out, text.data() + cursor, position - cursor);
        out += position - cursor;
        const auto newPosition = static_cast<std::uint32_t>(out - begin);
        out += writer.Write(occurrences, k, out);
        occurrence.position = newPosition;
        cursor = position + oldSize;
    }
    std::memcpy(out, text.data() + cursor, text.size() - cursor);
    out += text.size() - cursor;
    result.resize(static_cast<std::size_t>(out - begin));
    return result;
}
