#include "cli/CliSettings.h"

#include <filesystem>

#include "chords/SettingsStore.h"

CliSettings ReadCliSettings(const ISettingsStore& store) {
    const auto get = [&store](const char* name, int defaultValue) {
        return store.GetInt(kSettingsSection, name, defaultValue);
    };
    CliSettings settings;
    HighlightSettings& h = settings.highlight;
    h.bold = get("BOLD", 1);
    h.italic = get("ITALIC", 0);
    h.underline = get("UNDERLINE", 0);
    h.useColor = get("USECOLOR", 1);
    h.infobulle = get("INFOBULLE", 1);
    const int red = get("RED", 0) & 0xff;
    const int green = get("GREEN", 0) & 0xff;
    const int blue = get("BLUE", 255) & 0xff;
    h.color = (blue << 16) | (green << 8) | red;
    settings.highlighted = get("AREHIGHLIGHTED", 1) != 0;
    return settings;
}

std::string PicturePrefixFor(const std::string& currentFolder) {
    constexpr std::size_t kMaxPrefix = 1000;
    std::string prefix = (std::filesystem::path(currentFolder) / "Pics/").lexically_normal().string();
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    return prefix.size() > kMaxPrefix ? std::string() : prefix;
}
