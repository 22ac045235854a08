#include "tests/support/TablatureInspection.h"

#include "engine/Tablature.h"

std::vector<Occurrence> OccurrencesOf(const CTablature& tablature) {
    std::vector<Occurrence> list;
    for (int i = 0; i < tablature.OccurrenceCount(); ++i)
        list.emplace_back(tablature.ChordAt(i).GetName(), static_cast<int>(tablature.PositionAt(i)));
    return list;
}

std::vector<std::string> DistinctNamesOf(const CTablature& tablature) {
    std::vector<std::string> names;
    for (int i = 0; i < tablature.distinctCount; ++i)
        names.push_back(tablature.distinctChords[static_cast<std::size_t>(i)].GetName());
    return names;
}

std::string TransposedText(const std::string& text, int shift) {
    CTablature tablature;
    tablature.Detect(text);
    tablature.Transpose(shift);
    return tablature.text;
}
