#include "chords/ChordNotation.h"

namespace {

const char* const kNotationNames[] = {"as-written", "german"};

} // namespace

const char* NotationName(Notation notation) {
    return kNotationNames[static_cast<int>(notation)];
}

bool NotationOfName(std::string_view name, Notation& notation) {
    for (int i = 0; i < chordnotation::kNotationCount; ++i) {
        if (name == kNotationNames[i]) {
            notation = static_cast<Notation>(i);
            return true;
        }
    }
    return false;
}

Notation NotationOfValue(int value) {
    return value == static_cast<int>(Notation::German) ? Notation::German : Notation::AsWritten;
}
