#include "render/DisplayPageBuilder.h"

#include "render/ChordProPage.h"
#include "render/PartedPage.h"

std::string BuildDisplayPage(const CTablature& working, const AddedText& added, const HighlightSettings* highlight,
                             const std::string& picturePrefix, const std::string& otherPicturePrefix) {
    // A ChordPro song is shown from its own page, made from its source.
    if (working.IsChordPro())
        return ChordProPage(working, highlight, picturePrefix, otherPicturePrefix);
    std::string page;
    if (BuildPartedDisplayPage(working.text, added, highlight, page, picturePrefix, working.Rules(),
                               otherPicturePrefix))
        return page;
    return highlight ? HighlightedPage(working.text, working.Rules(), *highlight, picturePrefix, otherPicturePrefix)
                     : working.text;
}
