#pragma once

// Takes a page in parts apart again and decodes its parts as the page's
// script does, for the tests and the fuzz target of the parted page.

#include <cstddef>
#include <string>
#include <vector>

#include "render/HighlightTags.h"

namespace partedpage {

inline const std::string kPartStart = "<script type=\"text/x-quavern-part\">";
inline const std::string kPartEnd = "</script>";

// A parted page taken apart again: what stands before the first part, the
// raw text of every part, and what follows the last placeholder.
struct PartedPieces {
    std::string before;
    std::vector<std::string> raw;
    std::string after;
};

inline PartedPieces Split(const std::string& page) {
    PartedPieces pieces;
    std::size_t at = page.find(kPartStart);
    if (at == std::string::npos) {
        pieces.before = page;
        return pieces;
    }
    pieces.before = page.substr(0, at);
    std::size_t rest = at;
    while (at != std::string::npos && at == rest) {
        const std::size_t start = at + kPartStart.size();
        const std::size_t end = page.find(kPartEnd, start);
        pieces.raw.push_back(page.substr(start, end - start));
        const std::size_t placeholderEnd = page.find("</div>", end) + 6;
        rest = placeholderEnd;
        at = page.find(kPartStart, placeholderEnd);
    }
    pieces.after = page.substr(rest);
    return pieces;
}

// What the part script makes of a part: escapes undone, each marked chord
// name wrapped in the tags the whole page uses.
inline std::string Decode(const std::string& raw, const HighlightSettings& s) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%') {
            text += static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else if (raw[i] == '\x02') {
            const std::size_t end = raw.find('\x03', i);
            const std::string name = raw.substr(i + 1, end - i - 1);
            text += HighlightOpening(name, s) + name + HighlightClosing(s);
            i = end;
        } else {
            text += raw[i];
        }
    }
    return text;
}

// The page as the browser holds it once every part is content, written
// back as one text: what stands before the parts, the decoded parts, then
// the rest without the scripts the parted page adds. It is the whole page.
inline std::string Reassemble(const PartedPieces& pieces, const HighlightSettings& s) {
    std::string page = pieces.before;
    for (const std::string& raw : pieces.raw)
        page += Decode(raw, s);
    std::string after = pieces.after;
    const std::string script = "<script type=\"text/javascript\">";
    while (after.compare(0, script.size(), script) == 0)
        after.erase(0, after.find("</script>") + 9);
    return page + after;
}

} // namespace partedpage
