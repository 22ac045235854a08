#include "render/Highlight.h"

#include <array>
#include <utility>

#include "chords/ChordCatalog.h"
#include "engine/ChordScanner.h"
#include "engine/Tablature.h"

std::string g_strPicturePath;

namespace {

// The fixed part of the pop-up block: 52 lines, each padded with blanks.
const char kPopupLines[] = "<style type=\"text/css\">                                   \n"
                           ".infobulle {                                                \n"
                           "\tbackground-color: yellow;                               \n"
                           "\tborder: 2px solid black;                                \n"
                           "    margin: 1em;                                            \n"
                           "    padding: .5em;                                          \n"
                           "    visibility: hidden;                                     \n"
                           "    position: absolute;                                     \n"
                           "}                                                           \n"
                           "</style>                                                    \n"
                           "                                                            \n"
                           "<script type=\"text/javascript\">                           \n"
                           "\tfunction findPosX(obj) {                                \n"
                           "        var curleft = 0;                                    \n"
                           "        if (obj.offsetParent) {                             \n"
                           "          while (obj.offsetParent) {                        \n"
                           "            curleft += obj.offsetLeft                       \n"
                           "            obj = obj.offsetParent;                         \n"
                           "          }                                                 \n"
                           "        }                                                   \n"
                           "\t\telse if (obj.x) {curleft += obj.x;}                 \n"
                           "        return curleft;                                     \n"
                           "\t}                                                       \n"
                           "                                                            \n"
                           "      function findPosY(obj) {                              \n"
                           "        var curtop = 0;                                     \n"
                           "        if (obj.offsetParent) {                             \n"
                           "          while (obj.offsetParent) {                        \n"
                           "            curtop += obj.offsetTop                         \n"
                           "            obj = obj.offsetParent;                         \n"
                           "          }                                                 \n"
                           "        } else if (obj.y) {                                 \n"
                           "          curtop += obj.y;                                  \n"
                           "        }                                                   \n"
                           "        return curtop;                                      \n"
                           "      }                                                     \n"
                           "                                                            \n"
                           "      function montreBulle(idBulle, parent) {               \n"
                           "        with(document.getElementById(idBulle).style) {      \n"
                           "          visibility = \"visible\"                          \n"
                           "          left = findPosX(parent) + \"px\"                  \n"
                           "          top = (findPosY(parent)+10) + \"px\"              \n"
                           "        }                                                   \n"
                           "      }                                                     \n"
                           "                                                            \n"
                           "      function cacheBulle(idBulle) {                        \n"
                           "        with(document.getElementById(idBulle).style) {      \n"
                           "          visibility = \"hidden\";                          \n"
                           "        }                                                   \n"
                           "      }                                                     \n"
                           "</script>                                                   \n"
                           "                                                            \n";

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

// A browser reads "#" in an image source as the start of a fragment and "?"
// as the start of a query, so those and "%" are percent-encoded there.
std::string EscapeImageSource(const std::string& source) {
    std::string escaped;
    escaped.reserve(source.size() + 8);
    for (char c : source) {
        switch (c) {
        case '%':
            escaped += "%25";
            break;
        case '#':
            escaped += "%23";
            break;
        case '?':
            escaped += "%3F";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::string ColorText(int color) {
    return HexByte(color & 0xff) + HexByte((color >> 8) & 0xff) + HexByte((color >> 16) & 0xff);
}

std::string HighlightOpening(const std::string& name, int bold, int italic, int underline, int useColor, int color,
                             int infobulle) {
    std::string opening;
    if (useColor)
        opening += "<font color=\"#" + ColorText(color) + "\">";
    if (bold)
        opening += "<b>";
    if (italic)
        opening += "<i>";
    if (underline)
        opening += "<u>";
    if (infobulle)
        opening +=
            "<span onmouseover=\"montreBulle('QV3" + name + "', this)\" onmouseout=\"cacheBulle('QV3" + name + "')\">";
    return opening;
}

std::string HighlightClosing(int bold, int italic, int underline, int useColor, int infobulle) {
    std::string closing;
    if (infobulle)
        closing += "</span>";
    if (underline)
        closing += "</u>";
    if (italic)
        closing += "</i>";
    if (bold)
        closing += "</b>";
    if (useColor)
        closing += "</font>";
    return closing;
}

std::string PopupBlock(const std::string& picturePrefix) {
    std::string block(kPopupLines, sizeof kPopupLines - 1);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const CChord& chord = theChordCatalog.GetAt(i);
        const std::string name = chord.GetName();
        // Two blanks after a natural root's quotes, one after a sharp or flat one.
        const char* separator = name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? " " : "  ";
        block += "<div id=\"QV3" + name + "\"" + separator + "class=\"infobulle\"> <img src=\"" +
                 EscapeImageSource(picturePrefix + name + ".gif") + "\"" + separator + "/> </div>\n";
    }
    return block;
}

void HighlightChords(CTablature& tablature, int bold, int italic, int underline, int useColor, int color,
                     int infobulle) {
    // One pass wraps every delimited chord name. The tags are lower-case and
    // the names inside them follow "QV3", so no name is ever found inside an
    // inserted tag: the result is the same as wrapping the names one by one.
    const std::string closing = HighlightClosing(bold, italic, underline, useColor, infobulle);
    std::array<std::string, CChordCatalog::kSize> openings;
    const std::string& text = tablature.text;
    std::string page;
    page.reserve(text.size() + text.size() / 2 + 16384);
    std::size_t cursor = 0;
    chordscan::Scan(text.data(), text.size(), [&](std::size_t pos, int index, std::size_t length) {
        std::string& opening = openings[static_cast<std::size_t>(index)];
        if (opening.empty())
            opening = HighlightOpening(theChordCatalog.GetAt(index).GetName(), bold, italic, underline, useColor, color,
                                       infobulle);
        page.append(text, cursor, pos - cursor);
        page += opening;
        page.append(text, pos, length);
        page += closing;
        cursor = pos + length;
    });
    page.append(text, cursor, std::string::npos);
    page += PopupBlock(g_strPicturePath);
    tablature.text = std::move(page);
}

void HighlightChords(CTablature& tablature, const HighlightSettings& settings) {
    HighlightChords(tablature, settings.bold, settings.italic, settings.underline, settings.useColor, settings.color,
                    settings.infobulle);
}

std::string RenderDisplayPage(const CTablature& working, bool highlighted, const HighlightSettings& settings) {
    if (!highlighted)
        return working.text;
    CTablature display; // only the text takes part in the rendering
    display.text = working.text;
    HighlightChords(display, settings);
    return std::move(display.text);
}
