#include "chords/ChordCatalog.h"

#include <unordered_map>

#include "base/SettingsStore.h"
#include "chords/NoteSpelling.h"
#include "chords/TableNames.h"

namespace {

// The root and its spelling come from the entry's place: NoteSpelling::AtIndex(index % 17).
struct Entry {
    int defaultLevel;
    std::array<int, 6> frets;
    const char* position;
};

// Quality-major order: the 17 spellings of the major chords, then minor,
// seventh, minor seventh and major seventh.
const Entry kEntries[CChordCatalog::kSize] = {
    {1, {0, 1, 0, 2, 3, -1}, "1"},  // C
    {4, {1, 2, 1, 3, -1, -1}, "1"}, // C#
    {4, {1, 2, 1, 3, -1, -1}, "1"}, // Db
    {2, {2, 3, 2, 0, -1, -1}, "1"}, // D
    {4, {1, 2, 1, 3, -1, -1}, "3"}, // D#
    {4, {1, 2, 1, 3, -1, -1}, "3"}, // Eb
    {1, {0, 0, 1, 2, 2, 0}, "1"},   // E
    {4, {1, 1, 2, 3, 3, 1}, "1"},   // F
    {4, {2, 2, 3, 4, 4, 2}, "1"},   // F#
    {4, {2, 2, 3, 4, 4, 2}, "1"},   // Gb
    {3, {3, 0, 0, 0, 2, 3}, "1"},   // G
    {4, {1, 1, 2, 3, 3, 1}, "4"},   // G#
    {4, {1, 1, 2, 3, 3, 1}, "4"},   // Ab
    {2, {0, 2, 2, 2, 0, -1}, "1"},  // A
    {5, {1, 3, 3, 3, 1, -1}, "1"},  // A#
    {5, {1, 3, 3, 3, 1, -1}, "1"},  // Bb
    {5, {2, 4, 4, 4, 2, -1}, "1"},  // B
    {4, {1, 2, 3, 3, 1, -1}, "3"},  // Cm
    {3, {0, 2, 1, 2, -1, -1}, "1"}, // C#m
    {3, {0, 2, 1, 2, -1, -1}, "1"}, // Dbm
    {2, {1, 3, 2, 0, -1, -1}, "1"}, // Dm
    {4, {2, 4, 3, 4, -1, -1}, "1"}, // D#m
    {4, {2, 4, 3, 4, -1, -1}, "1"}, // Ebm
    {1, {0, 0, 0, 2, 2, 0}, "1"},   // Em
    {4, {1, 1, 1, 3, 3, 1}, "1"},   // Fm
    {4, {2, 2, 2, 4, 4, 2}, "1"},   // F#m
    {4, {2, 2, 2, 4, 4, 2}, "1"},   // Gbm
    {4, {1, 1, 1, 3, 3, 1}, "3"},   // Gm
    {4, {1, 1, 1, 3, 3, 1}, "4"},   // G#m
    {4, {1, 1, 1, 3, 3, 1}, "4"},   // Abm
    {1, {0, 1, 2, 2, 0, -1}, "1"},  // Am
    {4, {1, 2, 3, 3, 1, -1}, "1"},  // A#m
    {4, {1, 2, 3, 3, 1, -1}, "1"},  // Bbm
    {4, {2, 3, 4, 4, 2, -1}, "1"},  // Bm
    {3, {0, 1, 3, 2, 3, 0}, "1"},   // C7
    {4, {4, 2, 4, 3, -1, -1}, "1"}, // C#7
    {4, {4, 2, 4, 3, -1, -1}, "1"}, // Db7
    {3, {2, 1, 2, 0, -1, -1}, "1"}, // D7
    {4, {3, 2, 3, 1, -1, -1}, "1"}, // D#7
    {4, {3, 2, 3, 1, -1, -1}, "1"}, // Eb7
    {3, {0, 3, 1, 2, 2, 0}, "1"},   // E7
    {4, {1, 1, 2, 1, 3, 1}, "1"},   // F7
    {2, {0, 2, 3, 4, -1, -1}, "1"}, // F#7
    {2, {0, 2, 3, 4, -1, -1}, "1"}, // Gb7
    {3, {1, 0, 0, 0, 2, 3}, "1"},   // G7
    {3, {2, 1, 1, 1, -1, -1}, "1"}, // G#7
    {3, {2, 1, 1, 1, -1, -1}, "1"}, // Ab7
    {1, {0, 2, 0, 2, 0, -1}, "1"},  // A7
    {3, {2, 1, 1, 1, -1, -1}, "3"}, // A#7
    {3, {2, 1, 1, 1, -1, -1}, "3"}, // Bb7
    {5, {2, 0, 2, 1, 2, 0}, "1"},   // B7
    {4, {1, 2, 1, 3, 1, -1}, "3"},  // Cm7
    {5, {4, 2, 4, 2, -1, -1}, "1"}, // C#m7
    {5, {4, 2, 4, 2, -1, -1}, "1"}, // Dbm7
    {2, {1, 1, 2, 0, -1, -1}, "1"}, // Dm7
    {5, {2, 2, 3, 1, -1, -1}, "1"}, // D#m7
    {5, {2, 2, 3, 1, -1, -1}, "1"}, // Ebm7
    {3, {0, 3, 0, 2, 2, 0}, "1"},   // Em7
    {4, {1, 1, 1, 1, 3, 1}, "1"},   // Fm7
    {2, {2, 2, 2, 2, -1, -1}, "1"}, // F#m7
    {2, {2, 2, 2, 2, -1, -1}, "1"}, // Gbm7
    {4, {1, 1, 1, 1, 3, 1}, "3"},   // Gm7
    {2, {1, 1, 1, 1, -1, -1}, "4"}, // G#m7
    {2, {1, 1, 1, 1, -1, -1}, "4"}, // Abm7
    {3, {3, 1, 2, 2, 0, -1}, "1"},  // Am7
    {4, {1, 2, 1, 3, 1, -1}, "1"},  // A#m7
    {4, {1, 2, 1, 3, 1, -1}, "1"},  // Bbm7
    {4, {1, 2, 1, 3, 1, -1}, "2"},  // Bm7
    {2, {0, 0, 0, 2, 3, -1}, "1"},  // Cmaj7
    {5, {1, 1, 1, 3, 4, -1}, "1"},  // C#maj7
    {5, {1, 1, 1, 3, 4, -1}, "1"},  // Dbmaj7
    {2, {2, 2, 2, 0, -1, -1}, "1"}, // Dmaj7
    {5, {3, 3, 3, 1, -1, -1}, "1"}, // D#maj7
    {5, {3, 3, 3, 1, -1, -1}, "1"}, // Ebmaj7
    {3, {-1, 0, 1, 1, 2, 0}, "1"},  // Emaj7
    {4, {0, 1, 2, 3, 3, -1}, "1"},  // Fmaj7
    {4, {1, 2, 3, 4, -1, -1}, "1"}, // F#maj7
    {4, {1, 2, 3, 4, -1, -1}, "1"}, // Gbmaj7
    {4, {1, 2, 3, 4, -1, -1}, "2"}, // Gmaj7
    {4, {3, 1, 1, 1, -1, -1}, "1"}, // G#maj7
    {4, {3, 1, 1, 1, -1, -1}, "1"}, // Abmaj7
    {3, {0, 2, 1, 2, 0, -1}, "1"},  // Amaj7
    {5, {-1, 3, 2, 3, 1, -1}, "1"}, // A#maj7
    {5, {-1, 3, 2, 3, 1, -1}, "1"}, // Bbmaj7
    {5, {-1, 4, 3, 4, 2, -1}, "1"}, // Bmaj7
};

const std::unordered_map<std::string, int>& NameIndex() {
    static const std::unordered_map<std::string, int> index = [] {
        std::unordered_map<std::string, int> map;
        for (int i = 0; i < CChordCatalog::kSize; ++i)
            map.emplace(kTableNames[i], i);
        return map;
    }();
    return index;
}

} // namespace

CChordCatalog theChordCatalog;

CChordCatalog::CChordCatalog() {
    for (int i = 0; i < kSize; ++i) {
        const Entry& e = kEntries[i];
        const NoteSpelling root = NoteSpelling::AtIndex(i % kSpellingCount);
        CChord& chord = GetAt(i);
        chord.Set(root.GetPitch().Value(), root.IsFlat() ? 'b' : '#', SuffixOfQuality(i / kSpellingCount), 1);
        chord.SetFingering(e.position, e.frets[0], e.frets[1], e.frets[2], e.frets[3], e.frets[4], e.frets[5]);
    }
    SetDefaultLevels();
}

void CChordCatalog::SetDefaultLevels() {
    for (int i = 0; i < kSize; ++i)
        defaultLevels[static_cast<std::size_t>(i)] = kEntries[i].defaultLevel;
}

int CChordCatalog::IndexOf(const std::string& name) {
    const auto& index = NameIndex();
    auto it = index.find(name);
    return it == index.end() ? -1 : it->second;
}

CChord* CChordCatalog::Find(const std::string& name) {
    int i = IndexOf(name);
    return i < 0 ? nullptr : &GetAt(i);
}

const CChord* CChordCatalog::Find(const std::string& name) const {
    int i = IndexOf(name);
    return i < 0 ? nullptr : &GetAt(i);
}

void CChordCatalog::ResetQuality(int quality) {
    for (int s = 0; s < kSpellingCount; ++s) {
        int i = quality * kSpellingCount + s;
        GetAt(i).SetDifficulty(GetDefaultLevel(i));
    }
}

void CChordCatalog::ResetAll() {
    for (int q = 0; q < kQualityCount; ++q)
        ResetQuality(q);
}

void CChordCatalog::CopyFrom(const CChordCatalog& other) {
    chords = other.chords;
}

std::string CChordCatalog::LevelValueName(int quality, int spelling) {
    return "ZDifficultyLevel." + std::to_string(quality) + "." + std::to_string(spelling);
}

void CChordCatalog::LoadLevels() {
    LoadLevels(GetProfileStore());
}

void CChordCatalog::LoadLevels(const ISettingsStore& store) {
    for (int q = 0; q < kQualityCount; ++q) {
        for (int s = 0; s < kSpellingCount; ++s) {
            int i = q * kSpellingCount + s;
            GetAt(i).SetDifficulty(store.GetInt(kSettingsSection, LevelValueName(q, s), GetDefaultLevel(i)));
        }
    }
}

void CChordCatalog::SaveLevels() {
    SaveLevels(GetProfileStore());
}

void CChordCatalog::SaveLevels(ISettingsStore& store) const {
    for (int q = 0; q < kQualityCount; ++q) {
        for (int s = 0; s < kSpellingCount; ++s)
            store.WriteInt(kSettingsSection, LevelValueName(q, s), GetAt(q * kSpellingCount + s).GetDifficulty());
    }
}
