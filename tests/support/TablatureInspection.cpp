#include "tests/support/TablatureInspection.h"

#include "engine/Tablature.h"

std::vector<Occurrence> OccurrencesOf(const CTablature& tablature) {
    std::vector<Occurrence> list;
    for (int i = 0; i < tablature.count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        list.emplace_back(tablature.occurrences[slot].GetName(), tablature.positions[slot]);
    }
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
