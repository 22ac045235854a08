#include "engine/SongOptions.h"

namespace {

const char* const kSpellingNames[] = {"as-written", "sharps", "flats", "key"};

} // namespace

const char* SpellingName(Spelling spelling) {
    return kSpellingNames[static_cast<int>(spelling)];
}

std::optional<Spelling> SpellingOfName(const std::string& name) {
    for (int i = 0; i < 4; ++i) {
        if (name == kSpellingNames[i])
            return static_cast<Spelling>(i);
    }
    return std::nullopt;
}

Spelling SpellingOfValue(int value) {
    return value >= 0 && value <= 3 ? static_cast<Spelling>(value) : Spelling::AsWritten;
}
