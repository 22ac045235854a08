#include "cli/CliSettings.h"

#include <filesystem>

CliSettings ReadCliSettings(const ISettingsStore& store) {
    const DisplaySettings stored = ReadDisplaySettings(store);
    CliSettings settings;
    settings.highlight = stored.highlight;
    settings.highlighted = stored.highlighted != 0;
    return settings;
}

std::string PicturePrefixFor(const std::string& currentFolder) {
    constexpr std::size_t kMaxPrefix = 1000;
    std::string prefix = (std::filesystem::path(currentFolder) / "Pics/").lexically_normal().string();
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    return prefix.size() > kMaxPrefix ? std::string() : prefix;
}
