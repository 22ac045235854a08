#include "document/ContentSwap.h"

#include <algorithm>
#include <cctype>

#include "document/ContentSwapScript.h"

namespace {

// word is lower case.
bool ContainsNoCase(const std::string& text, const std::string& word) {
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char c, char w) { return std::tolower(static_cast<unsigned char>(c)) == w; }) != text.end();
}

} // namespace

bool CanSwapContent(const QByteArray& page, const std::string& song) {
    return !page.contains("text/x-quavern-part") && !ContainsNoCase(song, "<script") && !ContainsNoCase(song, "onload");
}

QString SwapContentScript(const QByteArray& page) {
    return QLatin1String(kContentSwapScript) + QLatin1String("('") + QLatin1String(page.toBase64()) +
           QLatin1String("')");
}
