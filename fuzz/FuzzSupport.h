#pragma once

// What the fuzz targets share: a check that stops the run, a message sink
// that only counts, and an independent finder of delimited chord names.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "chords/ChordCatalog.h"

namespace fuzzsupport {

/// Stops the run with a message so libFuzzer records the input as a crash.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n", file, line, what);
    std::fflush(stderr);
    __builtin_trap();
}

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::fuzzsupport::Fail(#condition, __FILE__, __LINE__);                                                       \
    } while (false)

/// Counts the messages the core shows; a fatal one stops the run.
class CCountingSink final : public IMessageSink {
public:
    void ShowMessage(const std::string&) override { ++messages; }
    void ShowFatal(const std::string& text) override { Fail(text.c_str(), __FILE__, __LINE__); }

    int Take() {
        const int n = messages;
        messages = 0;
        return n;
    }

    int messages = 0;
};

/// Installs one counting sink for the whole run and returns it.
inline CCountingSink& Sink() {
    static CCountingSink* sink = [] {
        auto* s = new CCountingSink;
        SetMessageSink(s);
        return s;
    }();
    return *sink;
}

/// Reads the input front to back; what is missing reads as zero.
class CInputReader {
public:
    CInputReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::string Bytes(std::size_t n) {
        n = std::min(n, m_size - m_pos);
        std::string out(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return out;
    }
    std::string Rest() { return Bytes(m_size - m_pos); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

/// The delimiters, written out again here so the checks do not lean on the
/// engine's own tables.
inline bool IsLeft(char c) {
    return c == '[' || c == '(' || c == '{' || c == ' ' || c == '\n' || c == '\r' || c == '>' || c == '/' || c == '\t';
}
inline bool IsRight(char c) {
    return c == ']' || c == ')' || c == '}' || c == ' ' || c == '\n' || c == '\r' || c == '<' || c == '/' || c == '\t';
}

inline bool StandsAlone(const std::string& text, std::size_t pos, std::size_t len) {
    if (pos > 0 && !IsLeft(text[pos - 1]))
        return false;
    return pos + len >= text.size() || IsRight(text[pos + len]);
}

/// Whether pos lies inside a tag of an HTML song: the last "<" before it
/// comes after the last ">".
inline bool InsideTag(const std::string& text, std::size_t pos) {
    if (pos == 0)
        return false;
    const std::size_t open = text.rfind('<', pos - 1);
    const std::size_t close = text.rfind('>', pos - 1);
    return open != std::string::npos && (close == std::string::npos || close < open);
}

/// One delimited chord name of a text.
struct Hit {
    std::size_t pos;
    int index; // in the chord table
    bool operator<(const Hit& other) const { return pos < other.pos; }
};

/// Every delimited chord name of the text, name by name in table order, each
/// name's hits in text order (a hit's search goes on after it); in an HTML
/// song none inside a tag.
inline std::vector<std::vector<Hit>> HitsByName(const std::string& text, bool html = false) {
    std::vector<std::vector<Hit>> byName(CChordCatalog::kSize);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const std::string name = theChordCatalog.GetAt(i).GetName();
        std::size_t p = text.find(name);
        while (p != std::string::npos) {
            if (StandsAlone(text, p, name.size()) && !(html && InsideTag(text, p))) {
                byName[static_cast<std::size_t>(i)].push_back({p, i});
                p = text.find(name, p + name.size());
            } else {
                p = text.find(name, p + 1);
            }
        }
    }
    return byName;
}

/// Every delimited chord name of the text, in text order.
inline std::vector<Hit> AllHits(const std::string& text, bool html = false) {
    std::vector<Hit> all;
    for (const auto& hits : HitsByName(text, html))
        all.insert(all.end(), hits.begin(), hits.end());
    std::sort(all.begin(), all.end());
    return all;
}

/// What detection must keep of a text: every occurrence, sorted; the
/// distinct chords (first spelling in table order); the score at the
/// current levels.
struct Expected {
    std::vector<Hit> kept;
    std::vector<int> distinct;
    int score = 0;
};

inline Expected ExpectedDetection(const std::string& text, bool html) {
    Expected e;
    const auto byName = HitsByName(text, html);
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const auto& hits = byName[static_cast<std::size_t>(i)];
        e.kept.insert(e.kept.end(), hits.begin(), hits.end());
        if (hits.empty())
            continue;
        const CChord& chord = theChordCatalog.GetAt(i);
        bool seen = false;
        for (int d : e.distinct) {
            const CChord& other = theChordCatalog.GetAt(d);
            seen = seen || (other.root == chord.root && other.suffix == chord.suffix);
        }
        if (!seen)
            e.distinct.push_back(i);
    }
    std::sort(e.kept.begin(), e.kept.end());
    for (int d : e.distinct)
        e.score += theChordCatalog.GetAt(d).GetDifficulty();
    return e;
}

/// Puts the default levels, or a mix of levels chosen by the selector, in the chord table.
inline void ChooseLevels(std::uint8_t selector) {
    static bool defaultsSet = false;
    if (selector == 0) {
        if (!defaultsSet) {
            theChordCatalog.ResetAll();
            defaultsSet = true;
        }
        return;
    }
    defaultsSet = false;
    std::uint32_t state = 0x9e3779b9u * selector;
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        state = state * 1664525u + 1013904223u;
        theChordCatalog.GetAt(i).SetDifficulty(1 + static_cast<int>((state >> 16) % 5));
    }
}

} // namespace fuzzsupport
