#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "chords/Chord.h"
#include "chords/NoteSpelling.h"

/// The names of the 85 chord-table entries, at index quality x 17 + root
/// spelling, made from the spellings and the suffixes at compile time: moving
/// a song copies their bytes without building strings.
class TableNames final {
public:
    static constexpr int kSize = kQualityCount * NoteSpelling::kCount;

    constexpr TableNames() {
        for (int i = 0; i < kSize; ++i) {
            const std::string_view root = NoteSpelling::AtIndex(i % NoteSpelling::kCount).Name();
            const std::string_view suffix = kQualitySuffixes[i / NoteSpelling::kCount];
            auto& bytes = m_bytes[static_cast<std::size_t>(i)];
            std::size_t n = 0;
            for (const char c : root)
                bytes[n++] = c;
            for (const char c : suffix)
                bytes[n++] = c;
            m_size[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n);
            m_longRoot[static_cast<std::size_t>(i)] = root.size() == 2;
        }
    }

    /// The bytes kept for each name, the rest of them zeros: a name can be
    /// copied as all of them.
    static constexpr std::size_t kBytes = 8;

    constexpr std::string_view operator[](int index) const {
        const auto i = static_cast<std::size_t>(index);
        return {m_bytes[i].data(), m_size[i]};
    }

    /// Whether the name's root takes two bytes (a sharp or a flat).
    constexpr bool LongRoot(int index) const { return m_longRoot[static_cast<std::size_t>(index)]; }

private:
    std::array<std::array<char, kBytes>, kSize> m_bytes{};
    std::array<std::uint8_t, kSize> m_size{};
    std::array<bool, kSize> m_longRoot{};
};

inline constexpr TableNames kTableNames;
