#pragma once

#include <array>
#include <string>

#include "chords/Chord.h"

class ISettingsStore;

/// The 85 chords the program knows, at index quality x 17 + spelling index,
/// with their fingerings and default difficulty levels.
class CChordCatalog {
public:
    static constexpr int kSpellingCount = 17;
    static constexpr int kSize = kQualityCount * kSpellingCount;

    /// Every chord with difficulty 1; the defaults apply through LoadLevels or a reset.
    CChordCatalog();

    CChord& GetAt(int index) { return chords[static_cast<std::size_t>(index)]; }
    const CChord& GetAt(int index) const { return chords[static_cast<std::size_t>(index)]; }

    /// The entry with exactly this name, or nullptr.
    CChord* Find(const std::string& name);
    const CChord* Find(const std::string& name) const;
    /// The table index of the entry with exactly this name, or -1.
    static int IndexOf(const std::string& name);

    void ResetQuality(int quality);
    void ResetAll();
    /// Copies all 85 chords of the other table; the default levels are the same in every table.
    void CopyFrom(const CChordCatalog& other);

    int GetDefaultLevel(int index) const { return defaultLevels[static_cast<std::size_t>(index)]; }

    /// Reads the 85 levels from the program's store (or the one given); a
    /// stored level outside 1..5 is fatal.
    void LoadLevels();
    void LoadLevels(const ISettingsStore& store);
    /// Writes all 85 levels to the program's store (or the one given).
    void SaveLevels();
    void SaveLevels(ISettingsStore& store) const;

    /// "ZDifficultyLevel." + quality + "." + spelling.
    static std::string LevelValueName(int quality, int spelling);

private:
    void SetDefaultLevels();

    std::array<CChord, kSize> chords;
    std::array<int, kSize> defaultLevels{};
};

/// The program-wide chord table read by detection, transposition, scoring and rendering.
extern CChordCatalog theChordCatalog;
