#include "chords/NoteNames.h"

#include "chords/NoteSpelling.h"

namespace {

std::array<std::string, 12> FamilyNames(bool flat) {
    std::array<std::string, 12> names;
    for (int p = 0; p < Pitch::kCount; ++p)
        names[static_cast<std::size_t>(p)] = NoteSpelling::InFamily(Pitch(p), flat).Name();
    return names;
}

} // namespace

const std::array<std::string, 12> sharpNoteNames = FamilyNames(false);
const std::array<std::string, 12> flatNoteNames = FamilyNames(true);
const std::array<std::string, 17> rootSpellings = [] {
    std::array<std::string, 17> names;
    for (int i = 0; i < NoteSpelling::kCount; ++i)
        names[static_cast<std::size_t>(i)] = NoteSpelling::AtIndex(i).Name();
    return names;
}();
