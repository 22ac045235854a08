#include "render/Highlight.h"

#include <filesystem>
#include <utility>

#include "chords/ChordCatalog.h"
#include "engine/Tablature.h"
#include "render/ChordWrapping.h"

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

// A browser reads "#" in an image source as the start of a fragment and "?"
// as the start of a query, so those and "%" are percent-encoded there.
std::string EscapeImageSource(const std::string& source) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(source.size() + 8);
    for (const char c : source) {
        const auto byte = static_cast<unsigned char>(c);
        // A text song's page declares iso-8859-1, so the raw bytes of a
        // folder named in UTF-8 would be read as other letters: every byte
        // above 127 is written as it stands in the file system, %XX.
        if (c == '%' || c == '#' || c == '?' || byte > 127) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 15];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

std::string PicturePrefixFor(const std::string& folder) {
    // The longest path the programs use; past it the pictures are looked
    // for beside the page.
    constexpr std::size_t kMaxPrefix = 1000;
    std::string prefix = (std::filesystem::path(folder) / "Pics/").lexically_normal().string();
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    return prefix.size() > kMaxPrefix ? std::string() : prefix;
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

std::string OtherPictureName(const std::string& name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string file;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            file += c;
        } else {
            file += '_';
            file += kHex[byte >> 4];
            file += kHex[byte & 15];
        }
    }
    return file + ".gif";
}

std::string OtherPopupLines(const std::vector<std::string>& names, const std::string& picturePrefix) {
    std::string lines;
    for (const std::string& name : names) {
        lines += "<div id=\"QV3" + name + "\" class=\"infobulle\"> <img src=\"" +
                 EscapeImageSource(picturePrefix + OtherPictureName(name)) + "\" /> </div>\n";
    }
    return lines;
}

// The block depends only on the picture prefix, which a program forms once at start-up.
const std::string& CachedPopupBlock(const std::string& picturePrefix) {
    thread_local std::string prefix;
    thread_local std::string block;
    if (block.empty() || prefix != picturePrefix) {
        block = PopupBlock(picturePrefix);
        prefix = picturePrefix;
    }
    return block;
}

// One pass wraps every chord name. The tags are lower-case and the names
// inside them follow "QV3", so no name is ever found inside an inserted tag:
// the result is the same as wrapping the names one by one.
std::string HighlightedPage(const std::string& text, const ChordRules& rules, const HighlightSettings& s,
                            const std::string& picturePrefix, const std::string& otherPicturePrefix) {
    chordwrap::CChordTags tags(s, otherPicturePrefix);
    const std::string& block = CachedPopupBlock(picturePrefix);
    std::string page;
    page.reserve(text.size() + text.size() / 2 + block.size());
    chordwrap::Walk(
        text, rules, [&](std::size_t offset, std::size_t size) { page.append(text, offset, size); },
        [&](std::size_t pos, const ChordMatch& chord) { tags.AppendWrapped(page, text, pos, chord); });
    page += block;
    page += tags.OtherPopupLines();
    return page;
}

void HighlightChords(CTablature& tablature, const HighlightSettings& settings, const std::string& picturePrefix) {
    tablature.text = HighlightedPage(tablature.text, tablature.Rules(), settings, picturePrefix);
}

std::string RenderDisplayPage(const CTablature& working, bool highlighted, const HighlightSettings& settings,
                              const std::string& picturePrefix) {
    return highlighted ? HighlightedPage(working.text, working.Rules(), settings, picturePrefix) : working.text;
}
