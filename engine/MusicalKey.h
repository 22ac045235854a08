#pragma once

/// A key as a musician names it: its tonic and whether it is major or
/// minor. The letters it is written with are KeySpelling's business.
struct MusicalKey {
    /// Pitch class of the tonic, 0 (C) .. 11 (B).
    int tonic = 0;
    bool minor = false;

    bool operator==(const MusicalKey& other) const { return tonic == other.tonic && minor == other.minor; }
    bool operator!=(const MusicalKey& other) const { return !(*this == other); }
};

/// The same key moved by shift half-tones (any shift, negative included).
constexpr MusicalKey MovedKey(MusicalKey key, int shift) {
    return MusicalKey{((key.tonic + shift) % 12 + 12) % 12, key.minor};
}
