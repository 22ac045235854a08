#pragma once

// The one pass over a text that finds the chord names a display page
// highlights, and the tags it wraps them in. The whole page and the page in
// parts both go through it, so they can never disagree on which names are
// wrapped or how.

#include <array>
#include <cstddef>
#include <string>

#include "chords/ChordCatalog.h"
#include "engine/ChordScanner.h"
#include "render/Highlight.h"

namespace chordwrap {

// The tags of one set of highlight settings. A chord's name and opening are
// built the first time the chord is met: a song uses few of the 85.
class CChordTags final {
public:
    explicit CChordTags(const HighlightSettings& settings)
        : m_settings(settings), m_closing(HighlightClosing(settings)), m_plainOpening(HighlightOpening("", Plain())),
          m_plainClosing(HighlightClosing(Plain())) {}

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
    // pop-up, as no picture of it exists.
    const std::string& PlainOpening() const { return m_plainOpening; }
    const std::string& PlainClosing() const { return m_plainClosing; }

    // The chord of this table index as a highlighted page shows it.
    void AppendWrapped(std::string& page, int index) {
        page += Opening(index);
        page += Name(index);
        page += m_closing;
    }

    // The chord name Walk reports at pos, as a highlighted page shows it.
    void AppendWrapped(std::string& page, const std::string& text, std::size_t pos, const ChordMatch& chord) {
        if (!chord.extended) {
            AppendWrapped(page, chord.index);
            return;
        }
        page += m_plainOpening;
        page.append(text, pos, chord.length);
        page += m_plainClosing;
    }

private:
    HighlightSettings Plain() const {
        HighlightSettings plain = m_settings;
        plain.infobulle = 0;
        return plain;
    }

    const HighlightSettings m_settings;
    const std::string m_closing;
    const std::string m_plainOpening;
    const std::string m_plainClosing;
    std::array<std::string, CChordCatalog::kSize> m_names;
    std::array<std::string, CChordCatalog::kSize> m_openings;
    std::array<bool, CChordCatalog::kSize> m_built{};
};

// Walks the text once, in order: onText(offset, size) for the text before,
// between and after the chord names the rules take, empty stretches
// included, and onChord(offset, match) for each name.
template <bool kHtml, bool kAllChords, typename OnText, typename OnChord>
void WalkWith(const std::string& text, OnText& onText, OnChord& onChord) {
    std::size_t cursor = 0;
    auto chord = [&](std::size_t pos, const ChordMatch& match) {
        onText(cursor, pos - cursor);
        onChord(pos, match);
        cursor = pos + match.length;
    };
    chordscan::ScanWith<kHtml, kAllChords>(text.data(), text.size(), chord);
    onText(cursor, text.size() - cursor);
}

template <typename OnText, typename OnChord>
void Walk(const std::string& text, const ChordRules& rules, OnText&& onText, OnChord&& onChord) {
    if (!rules.html && !rules.allChords)
        WalkWith<false, false>(text, onText, onChord);
    else if (!rules.allChords)
        WalkWith<true, false>(text, onText, onChord);
    else if (!rules.html)
        WalkWith<false, true>(text, onText, onChord);
    else
        WalkWith<true, true>(text, onText, onChord);
}

} // namespace chordwrap
