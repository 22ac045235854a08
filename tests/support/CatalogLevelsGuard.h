#pragma once

#include <array>

#include "chords/ChordCatalog.h"

/// Gives a test the program's chord table at its default levels and puts the
/// levels it found back when the test ends, so tests that change levels do
/// not leak into each other.
class CCatalogLevelsGuard final {
public:
    CCatalogLevelsGuard();
    ~CCatalogLevelsGuard();
    CCatalogLevelsGuard(const CCatalogLevelsGuard&) = delete;
    CCatalogLevelsGuard& operator=(const CCatalogLevelsGuard&) = delete;

    /// Sets the level of the entry with this name; the name must be a chord name.
    static void SetLevel(const char* name, int level);
    /// Sets every level of the table.
    static void SetAllLevels(int level);

private:
    std::array<int, CChordCatalog::kSize> m_saved{};
};
