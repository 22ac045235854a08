#include "render/HighlightTags.h"

namespace {

std::string HexByte(int value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    if (value >= 16)
        hex += kDigits[value / 16];
    hex += kDigits[value % 16];
    if (hex.size() == 1)
        hex.insert(hex.begin(), '0');
    return hex;
}

} // namespace

std::string ColorText(int color) {
    return HexByte(color & 0xff) + HexByte((color >> 8) & 0xff) + HexByte((color >> 16) & 0xff);
}

std::string HighlightOpening(const std::string& name, const HighlightSettings& settings) {
    std::string opening;
    if (settings.useColor)
        opening += "<font color=\"#" + ColorText(settings.color) + "\">";
    if (settings.bold)
        opening += "<b>";
    if (settings.italic)
        opening += "<i>";
    if (settings.underline)
        opening += "<u>";
    if (settings.infobulle)
        opening +=
            "<span onmouseover=\"montreBulle('QV3" + name + "', this)\" onmouseout=\"cacheBulle('QV3" + name + "')\">";
    return opening;
}

std::string HighlightClosing(const HighlightSettings& settings) {
    std::string closing;
    if (settings.infobulle)
        closing += "</span>";
    if (settings.underline)
        closing += "</u>";
    if (settings.italic)
        closing += "</i>";
    if (settings.bold)
        closing += "</b>";
    if (settings.useColor)
        closing += "</font>";
    return closing;
}
