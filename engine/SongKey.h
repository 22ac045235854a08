#pragma once

#include <string>

#include "chords/NoteSpelling.h"
#include "engine/KeySpelling.h"
#include "engine/MusicalKey.h"

/// The key a song is in, as the key finder hears it, with the side of the
/// signature its writer spells with: what names the key and spells the
/// song's notes as the scale degrees they are in it.
struct SongKey {
    MusicalKey key;
    /// The side the writer spells the keys of six with (F# or Gb, D#m or
    /// Ebm): that of the song's own key, or, for a song in C, A minor or a
    /// key of six, the side most of its names are written on.
    SignatureSide side = SignatureSide::Natural;

    /// The tonic followed by "m" for a minor key: "G", "Em", "Bbm", "F#".
    std::string Name() const;
    /// The key moved by shift half-tones, written by the same writer.
    SongKey Moved(int shift) const { return SongKey{MovedKey(key, shift), side}; }
    /// The spelling of a chord root of pitch class 0..11 as its scale degree
    /// in the key, among the chord table's 17: Cb is written B, E# F.
    NoteSpelling Root(int pitch, bool diminished = false) const;
    /// The spelling of the bass note of pitch class 0..11 under a chord
    /// whose root has pitch class rootPitch, among the table's 17.
    NoteSpelling Bass(int pitch, int rootPitch, bool diminished = false) const;
};
