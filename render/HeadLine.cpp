#include "render/HeadLine.h"

#include <cctype>
#include <string_view>

#include "base/TextHelpers.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The position right after the opening tag "<name" (any case, followed by a
// blank, "/" or ">") that starts at or after from; npos when there is none.
std::size_t AfterTag(const std::string& html, std::string_view name, std::size_t from = 0) {
    for (std::size_t p = html.find('<', from); p != std::string::npos; p = html.find('<', p + 1)) {
        std::size_t q = p + 1;
        std::size_t k = 0;
        while (k < name.size() && q < html.size() &&
               std::tolower(static_cast<unsigned char>(html[q])) == static_cast<unsigned char>(name[k])) {
            ++k;
            ++q;
        }
        if (k < name.size() || q == html.size())
            continue;
        const char next = html[q];
        if (next != '>' && next != '/' && !std::isspace(static_cast<unsigned char>(next)))
            continue;
        // The tag ends at the first ">" outside its quoted attribute values.
        char quote = 0;
        for (; q < html.size(); ++q) {
            const char c = html[q];
            if (quote)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                return q + 1;
        }
        return std::string::npos;
    }
    return std::string::npos;
}

} // namespace

std::string WithHeadLine(const std::string& song, bool html, const std::string& line) {
    if (line.empty())
        return song;
    const std::size_t start = song.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 ? kByteOrderMark.size() : 0;
    std::string result = song;
    if (!html) {
        const std::size_t firstEnd = song.find('\n', start);
        const bool crlf = firstEnd != std::string::npos && firstEnd > start && song[firstEnd - 1] == '\r';
        result.insert(start, line + (crlf ? "\r\n" : "\n"));
        return result;
    }
    std::size_t at = AfterTag(song, "body");
    if (at == std::string::npos) {
        at = AfterTag(song, "!doctype");
        if (at == std::string::npos)
            at = start;
    }
    result.insert(at, "\n<p>" + HtmlEscaped(line) + "</p>\n");
    return result;
}
