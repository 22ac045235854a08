#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Small byte-string helpers the layers share. Songs are bytes of any
// encoding, so case is only ever folded for ASCII letters.

/// Whether text holds prefix at from.
inline bool StartsWithAt(std::string_view text, std::size_t from, std::string_view prefix) {
    return from <= text.size() && text.size() - from >= prefix.size() && text.compare(from, prefix.size(), prefix) == 0;
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return StartsWithAt(text, 0, prefix);
}

inline bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

/// Where the line that goes on at from ends: its first "\r" or "\n", npos
/// when it runs to the end of text. One pass over the line, not one search
/// of the pair a byte.
inline std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    if (from >= text.size())
        return std::string_view::npos;
    const void* newline = std::memchr(text.data() + from, '\n', text.size() - from);
    const std::size_t end =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - text.data()) : text.size();
    const void* carriage = std::memchr(text.data() + from, '\r', end - from);
    if (carriage)
        return static_cast<std::size_t>(static_cast<const char*>(carriage) - text.data());
    return newline ? end : std::string_view::npos;
}

/// The ASCII letter in lower case; every other byte as it is.
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// Where the first lowerWord (written in lower case) stands in text, in any
/// case, starting at from and beginning before to; npos when nowhere.
inline std::size_t FindNoCase(std::string_view text, std::string_view lowerWord, std::size_t from = 0,
                              std::size_t to = std::string_view::npos) {
    if (lowerWord.empty())
        return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t at = from; at < text.size() && at < to && text.size() - at >= lowerWord.size(); ++at) {
        std::size_t i = 0;
        while (i < lowerWord.size() && LowerAscii(text[at + i]) == lowerWord[i])
            ++i;
        if (i == lowerWord.size())
            return at;
    }
    return std::string_view::npos;
}

inline bool ContainsNoCase(std::string_view text, std::string_view lowerWord) {
    return FindNoCase(text, lowerWord) != std::string_view::npos;
}

/// The digits of hexadecimal numbers, for %XX and \u00XX escapes.
inline constexpr char kHexUpper[] = "0123456789ABCDEF";
inline constexpr char kHexLower[] = "0123456789abcdef";

/// Appends text with the characters that mean something in HTML (& < > " ')
/// written as entities, so that it shows as it is in an element or a
/// quoted attribute.
inline void AppendHtmlEscaped(std::string& html, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            html += c;
        }
    }
}

inline std::string HtmlEscaped(std::string_view text) {
    std::string html;
    AppendHtmlEscaped(html, text);
    return html;
}
