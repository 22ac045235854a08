#pragma once

// The one pass over a text that finds the chord names a display page
// highlights, and the tags it wraps them in. The whole page and the page in
// parts both go through it, so they can never disagree on which names are
// wrapped or how.

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "engine/ChordScanner.h"
#include "render/Highlight.h"
#include "render/HighlightTags.h"

namespace chordwrap {

// The tags of one set of highlight settings. A chord's name and opening are
// built the first time the chord is met: a song uses few of the 85.
class CChordTags final {
public:
    // otherPicturePrefix: where the program put the pictures of names
    // outside the table, or empty when it made none.
    explicit CChordTags(const HighlightSettings& settings, const std::string& otherPicturePrefix = std::string())
        : m_settings(settings), m_otherPicturePrefix(otherPicturePrefix), m_closing(HighlightClosing(settings)),
          m_plainOpening(HighlightOpening("", Plain())), m_plainClosing(HighlightClosing(Plain())) {}

    const std::string& Name(int index) {
        std::string& name = m_names[static_cast<std::size_t>(index)];
        if (name.empty())
            name = theChordCatalog.GetAt(index).GetName();
        return name;
    }

    const std::string& Opening(int index) {
        const auto i = static_cast<std::size_t>(index);
        if (!m_built[i]) {
            m_openings[i] = HighlightOpening(Name(index), m_settings);
            m_built[i] = true;
        }
        return m_openings[i];
    }

    const std::string& Closing() const { return m_closing; }

    // The tags around a name outside the table: the same without the
    // pop-up, unless the program made pictures for such names.
    const std::string& OtherOpening(const std::string& name) {
        if (!HasOtherPictures())
            return m_plainOpening;
        auto [opening, added] = m_otherOpenings.try_emplace(name);
        if (added) {
            opening->second = HighlightOpening(name, m_settings);
            m_otherNames.push_back(name);
        }
        return opening->second;
    }
    const std::string& OtherClosing() const { return HasOtherPictures() ? m_closing : m_plainClosing; }

    // The pop-up lines of the names outside the table met so far.
    std::string OtherPopupLines() const { return ::OtherPopupLines(m_otherNames, m_otherPicturePrefix); }

    // The chord of this table index as a highlighted page shows it.
    void AppendWrapped(std::string& page, int index) {
        page += Opening(index);
        page += Name(index);
        page += m_closing;
    }

    // The chord name Walk reports at pos, as a highlighted page shows it.
    void AppendWrapped(std::string& page, const std::string& text, std::size_t pos, const ChordMatch& chord) {
        if (chord.bass) {
            // A bass note shows its chord's picture: the tags of the chord before it.
            page += m_lastOpening;
            page.append(text, pos, chord.length);
            page += m_lastClosing;
            return;
        }
        m_lastOpening = chord.extended ? OtherOpening(text.substr(pos, chord.length)) : Opening(chord.index);
        m_lastClosing = chord.extended ? OtherClosing() : m_closing;
        if (!chord.extended && text.compare(pos, chord.length, Name(chord.index)) == 0) {
            AppendWrapped(page, chord.index);
            return;
        }
        if (!chord.extended) {
            // A table chord written otherwise (H, Ami in German notation):
            // its own picture around the name as written.
            page += Opening(chord.index);
            page.append(text, pos, chord.length);
            page += m_closing;
            return;
        }
        const std::string name = text.substr(pos, chord.length);
        page += OtherOpening(name);
        page += name;
        page += OtherClosing();
    }

private:
    bool HasOtherPictures() const { return m_settings.infobulle && !m_otherPicturePrefix.empty(); }

    HighlightSettings Plain() const {
        HighlightSettings plain = m_settings;
        plain.infobulle = 0;
        return plain;
    }

    const HighlightSettings m_settings;
    const std::string m_otherPicturePrefix;
    const std::string m_closing;
    const std::string m_plainOpening;
    const std::string m_plainClosing;
    std::array<std::string, CChordCatalog::kSize> m_names;
    std::array<std::string, CChordCatalog::kSize> m_openings;
    std::array<bool, CChordCatalog::kSize> m_built{};
    std::map<std::string, std::string> m_otherOpenings;
    std::vector<std::string> m_otherNames;
    // The tags of the last chord wrapped, for the bass note after it.
    std::string m_lastOpening;
    std::string m_lastClosing;
};

// Walks the text once, in order: onText(offset, size) for the text before,
// between and after the chord names the rules take, empty stretches
// included, and onChord(offset, match) for each name.
template <bool kHtml, bool kAllChords, typename OnText, typename OnChord>
void WalkWith(const std::string& text, OnText& onText, OnChord& onChord, Notation notation) {
    std::size_t cursor = 0;
    auto chord = [&](std::size_t pos, const ChordMatch& match) {
        onText(cursor, pos - cursor);
        onChord(pos, match);
        cursor = pos + match.length;
    };
    chordscan::ScanWith<kHtml, kAllChords>(text.data(), text.size(), chord, notation);
    onText(cursor, text.size() - cursor);
}

template <typename OnText, typename OnChord>
void Walk(const std::string& text, const ChordRules& rules, OnText&& onText, OnChord&& onChord) {
    if (rules.chordLines || rules.chordPro) {
        std::size_t cursor = 0;
        chordscan::Scan(text.data(), text.size(), rules, [&](std::size_t pos, const ChordMatch& match) {
            // A fingering is text on the page.
            if (match.fingering)
                return;
            onText(cursor, pos - cursor);
            onChord(pos, match);
            cursor = pos + match.length;
        });
        onText(cursor, text.size() - cursor);
    } else if (!rules.html && !rules.allChords)
        WalkWith<false, false>(text, onText, onChord, rules.notation);
    else if (!rules.allChords)
        WalkWith<true, false>(text, onText, onChord, rules.notation);
    else if (!rules.html)
        WalkWith<false, true>(text, onText, onChord, rules.notation);
    else
        WalkWith<true, true>(text, onText, onChord, rules.notation);
}

} // namespace chordwrap
