#include "render/DisplayPageBuilder.h"

#include "render/PartedPage.h"

std::string BuildDisplayPage(const CTablature& working, const AddedText& added, const HighlightSettings* highlight,
                             const std::string& picturePrefix) {
    std::string page;
    if (BuildPartedDisplayPage(working.text, added, highlight, page, picturePrefix, working.Rules()))
        return page;
    return highlight ? RenderDisplayPage(working, true, *highlight, picturePrefix) : working.text;
}
