#pragma once

#include <array>
#include <string>

/// The names of the spellings (NoteSpelling) as strings, for lists and labels.

/// Note names by pitch class 0..11.
extern const std::array<std::string, 12> sharpNoteNames;
extern const std::array<std::string, 12> flatNoteNames;

/// The 17 root spellings in table order: C, C#, Db, D, D#, Eb, E, F, F#, Gb, G, G#, Ab, A, A#, Bb, B.
extern const std::array<std::string, 17> rootSpellings;
