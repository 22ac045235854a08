#include "cli/Json.h"

#include "base/TextHelpers.h"

std::string JsonString(const std::string& bytes) {
    std::string json = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\b':
            json += "\\b";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                json += "\\u00";
                json += kHexLower[byte >> 4];
                json += kHexLower[byte & 0xf];
            } else {
                json += c;
            }
        }
    }
    json += '"';
    return json;
}
