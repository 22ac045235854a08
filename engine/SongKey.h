#pragma once

#include <string>

#include "chords/Chord.h"
#include "chords/NoteSpelling.h"

/// The key a song is taken to be in, guessed from its first chord: that
/// chord's root as written, minor when its base chord is minor (its suffix
/// starts with "m" but not "maj").
struct SongKey {
    NoteSpelling root;
    bool minor = false;

    /// The root followed by "m" for a minor key: "G", "Em", "Bbm".
    std::string Name() const;
};

/// The key of a song whose first chord has this root and (base) quality.
SongKey GuessKey(NoteSpelling firstRoot, ChordQuality firstQuality);

/// How a key is written: the major keys F Bb Eb Ab Db and the minor keys Dm
/// Gm Cm Fm Bbm Ebm with flats, G D A E B F# and Em Bm F#m C#m G#m with
/// sharps, C and Am with neither.
enum class KeySignature { Flats, Sharps, Neither };

/// The signature of the key on tonic, major or minor.
KeySignature SignatureOf(Pitch tonic, bool minor);
